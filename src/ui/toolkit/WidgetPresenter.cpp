#include "toolkit/WidgetPresenter.h"

#include "base/AppIdentity.h"
#include "base/MessageCatalogue.h"
#include "toolkit/MessageBoxWindow.h"
#include "toolkit/MessageDialog.h"

#include <QApplication>
#include <QDialog>
#include <QThread>

namespace {
int runBox(const QString& caption, const QString& text, MessageDialog::IconType icon,
           const QStringList& buttons)
{
    Q_ASSERT(QThread::currentThread() == qApp->thread());
    QWidget* over = QApplication::activeModalWidget();
    if (!over)
        over = QApplication::activeWindow();
    // Owned by the window it stands over while it is up, and deleted by exec()
    // itself when it closes; deleting it here instead would go wrong if that
    // window went away in the meantime.
    auto* box = new MessageBoxWindow(caption, text, icon, buttons, over);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box->exec();
}
} // namespace

bool WidgetPresenter::showMessage(MessageDialog& dialog)
{
    QStringList buttons{dialog.button1Caption()};
    if (dialog.buttonCount() > 1)
        buttons << dialog.button2Caption();
    return runBox(dialog.caption(), dialog.text(), dialog.iconType(), buttons) ==
           MessageDialog::Button1;
}

void WidgetPresenter::showError(const QString& text)
{
    runBox(QString::fromUtf8(AppIdentity::title), standardErrorText(text), MessageDialog::Stop,
           {Msg::text(Msg::OK)});
}

int WidgetPresenter::execModal(QDialog& window)
{
    return window.exec();
}
