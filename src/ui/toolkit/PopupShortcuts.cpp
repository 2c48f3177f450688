#include "toolkit/PopupShortcuts.h"

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
