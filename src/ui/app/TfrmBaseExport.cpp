// The export command of the main window: the signed-in cyclist's rides
// written for spreadsheets.
#include "app/TfrmBase.h"

#include "base/MessageCatalogue.h"
#include "records/TfrmExport.h"
#include "store/TData.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/TabControl.h"

#include <QDir>
#include <QStatusBar>

void TfrmBase::mnuExportClick()
{
    if (!m_data || !signedIn())
        return;
    TfrmExport window(m_data->table(), m_cyclistName, m_year, monthShown(),
                      Mesice->tabCaption(Mesice->tabIndex()), this);
    window.countRides();
    if (DialogPresenter::current().execModal(window) != QDialog::Accepted)
        return;
    StatusBar->showMessage(
        Msg::format(Msg::ExportDone, {QLocale().toString(window.writtenRides()),
                                      QDir::toNativeSeparators(window.writtenFile())}));
}
