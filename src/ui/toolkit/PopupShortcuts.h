#pragma once

#include <QObject>
#include <QPointer>

class QAbstractScrollArea;
class QKeyEvent;
class QMenu;

// A control's popup menu answers its own shortcuts while the control has the
// focus, ahead of the main menu's items with the same keys. For a
// ShortcutOverride event this says whether the popup claims the key; for a
// KeyPress it triggers the enabled item that claims it.
bool popupClaimsKey(const QMenu* popup, const QKeyEvent* event);
bool triggerPopupShortcut(QMenu* popup, const QKeyEvent* event);

// The popup menu of a scrolling control: shown where the user asks for a
// context menu (in place of the control's own menu, none without a popup)
// and answering its shortcuts as above. Owned by the control it serves.
class ControlPopup : public QObject
{
public:
    explicit ControlPopup(QAbstractScrollArea* control);

    void setMenu(QMenu* menu) { m_menu = menu; }
    QMenu* menu() const { return m_menu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QMenu> m_menu;
};
