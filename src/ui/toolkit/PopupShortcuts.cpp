#include "toolkit/PopupShortcuts.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {
QAction* findItem(const QMenu* menu, const QKeySequence& keys)
{
    if (!menu || !menu->isEnabled())
        return nullptr;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        if (QMenu* sub = a->menu()) {
            if (!a->isEnabled())
                continue;
            if (QAction* found = findItem(sub, keys))
                return found;
            continue;
        }
        if (!a->shortcut().isEmpty() && a->shortcut().matches(keys) == QKeySequence::ExactMatch)
            return a;
    }
    return nullptr;
}

QKeySequence sequenceOf(const QKeyEvent* event)
{
    return QKeySequence(event->keyCombination());
}
} // namespace

bool popupClaimsKey(const QMenu* popup, const QKeyEvent* event)
{
    return findItem(popup, sequenceOf(event)) != nullptr;
}

bool triggerPopupShortcut(QMenu* popup, const QKeyEvent* event)
{
    QAction* item = findItem(popup, sequenceOf(event));
    if (!item)
        return false;
    if (item->isEnabled())
        item->trigger();
    return true;
}

ControlPopup::ControlPopup(QAbstractScrollArea* control) : QObject(control)
{
    // The keys come to the control, which holds the focus; a click asks its
    // viewport for the menu.
    control->installEventFilter(this);
    control->viewport()->installEventFilter(this);
}

bool ControlPopup::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (popupClaimsKey(m_menu, static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (triggerPopupShortcut(m_menu, static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::ContextMenu:
        // A click on the frame itself is no request of the control's.
        if (watched == parent() &&
            static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Keyboard)
            break;
        if (m_menu)
            m_menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
