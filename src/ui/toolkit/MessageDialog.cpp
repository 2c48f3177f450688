#include "toolkit/MessageDialog.h"

#include "toolkit/DialogPresenter.h"

MessageDialog::MessageDialog(const QString& name, QObject* owner) : QObject(owner)
{
    // Language files and the theme manager find the dialog by this name.
    setObjectName(name);
}

bool MessageDialog::execute()
{
    return DialogPresenter::current().showMessage(*this);
}
