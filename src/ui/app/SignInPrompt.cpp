#include "app/SignInPrompt.h"

#include "app/TfrmBase.h"
#include "base/MessageCatalogue.h"
#include "toolkit/CaptionText.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"

#include <QInputDialog>
#include <QMenu>

bool askToSignIn(TfrmBase& window)
{
    const QStringList cyclists = window.cyclistList();
    MessageDialog message(QStringLiteral("msgDlgImportSignIn"), nullptr);
    message.setCaption(Msg::text(Msg::Information));
    message.setIconType(MessageDialog::Information);
    message.setButton1Caption(Msg::text(Msg::OK));
    if (cyclists.isEmpty()) {
        const QString command = captionAsRead(window.mnuRydex->caption()) + QStringLiteral(" › ") +
                                captionAsRead(window.mnuNewCyclist->caption());
        message.setText(Msg::format(Msg::ImportNoCyclist, {command}));
        message.execute();
        return false;
    }
    message.setText(Msg::text(Msg::ImportSignInFirst));
    message.execute();

    // The cyclists as the sign-in menu lists them, under its caption.
    QInputDialog chooser(&window);
    chooser.setObjectName(QStringLiteral("SignInPrompt"));
    chooser.setWindowTitle(captionAsRead(window.mnuLogin->caption()));
    chooser.setLabelText(Msg::text(Msg::ImportSignInCyclist));
    chooser.setComboBoxItems(cyclists);
    chooser.setComboBoxEditable(false);
    chooser.setOkButtonText(Msg::text(Msg::OK));
    chooser.setCancelButtonText(Msg::text(Msg::Cancel));
    if (DialogPresenter::current().execModal(chooser) != QDialog::Accepted)
        return false;
    // Signed in through the cyclist's menu item, exactly as from the menu.
    const int index = cyclists.indexOf(chooser.textValue());
    const QList<QAction*> items = window.mnuLogin->submenu()->actions();
    for (QAction* action : items) {
        auto* item = qobject_cast<MenuItem*>(action);
        if (item && index >= 0 && item->tag() == index) {
            item->trigger();
            break;
        }
    }
    return window.signedIn();
}
