// The main window's commands that open the cyclists' dialogs.
#include "app/TfrmBase.h"

#include "settings/TfrmNewUser.h"
#include "settings/TfrmSettings.h"
#include "toolkit/DialogPresenter.h"

void TfrmBase::mnuOptionsClick()
{
    leaveMonthView(Leaving::CyclistDialog);
    ensureWindows();
    if (m_settings)
        DialogPresenter::current().execModal(*m_settings);
}

void TfrmBase::openNewCyclistDialog()
{
    leaveMonthView(Leaving::CyclistDialog);
    ensureWindows();
    if (m_newUser)
        DialogPresenter::current().execModal(*m_newUser);
}
