#pragma once

class QKeyEvent;
class QMenu;

// A control's popup menu answers its own shortcuts while the control has the
// focus, ahead of the main menu's items with the same keys. For a
// ShortcutOverride event this says whether the popup claims the key; for a
// KeyPress it triggers the enabled item that claims it.
bool popupClaimsKey(const QMenu* popup, const QKeyEvent* event);
bool triggerPopupShortcut(QMenu* popup, const QKeyEvent* event);
