// The import command of the main window: the import window for the signed-in
// cyclist, and the month view brought to the rides it stored.
#include "app/TfrmBase.h"

#include "base/MessageCatalogue.h"
#include "records/TfrmImport.h"
#include "stats/MonthChartView.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/DataSource.h"
#include "store/TData.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/TabControl.h"

#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>

void TfrmBase::mnuImportClick()
{
    importFiles({});
}

void TfrmBase::toolBtnImportClick()
{
    importFiles({});
}

void TfrmBase::importFiles(const QStringList& paths)
{
    guarded([this, &paths] {
        // Files handed over while the window is up join it rather than
        // opening a second one over it.
        if (m_import) {
            if (!paths.isEmpty())
                m_import->readFiles(paths);
            m_import->raise();
            m_import->activateWindow();
            return;
        }
        if (!m_data || !signedIn())
            return;
        QVector<RideRow> imported;
        {
            // Storing recomputes the odometer chains through the table; the
            // grid and the note follow it once, when the month is shown.
            const ControlsDetached detached(m_data->table());
            TfrmImport window(m_data->table(), m_cyclistName, cyclistPreferences(),
                              m_data->source()->valueLists(), this);
            m_import = &window;
            if (!paths.isEmpty())
                window.readFiles(paths);
            DialogPresenter::current().execModal(window);
            imported = window.importedRides();
            if (!imported.isEmpty())
                showImportedRides(imported);
        }
        if (!imported.isEmpty()) {
            emit monthViewChanged();
            emit ridesWritten();
        }
    });
}

void TfrmBase::showImportedRides(const QVector<RideRow>& rides)
{
    // The latest ride by its day; of one day, the one stored last.
    const RideRow* latest = nullptr;
    for (const RideRow& ride : rides) {
        const QDateTime day = ride[fieldIndex(RideField::date)].toDateTime();
        if (!latest || day > (*latest)[fieldIndex(RideField::date)].toDateTime() ||
            (day == (*latest)[fieldIndex(RideField::date)].toDateTime() &&
             ride[fieldIndex(RideField::id)].toInt() > (*latest)[fieldIndex(RideField::id)].toInt()))
            latest = &ride;
    }
    if (!latest)
        return;
    // Sets kept from before hold none of the new rides.
    m_data->table()->forgetCachedSets();
    showRide((*latest)[fieldIndex(RideField::date)].toDateTime().date(),
             (*latest)[fieldIndex(RideField::id)].toInt());
    StatusBar->showMessage(Msg::format(Msg::ImportDone, {QString::number(rides.size())}));
}

void TfrmBase::showRide(const QDate& day, int rideId)
{
    if (!m_data || !signedIn() || !day.isValid())
        return;
    ADOTable* table = m_data->table();
    {
        const MonthChartView::Batch batch(Graf);
        const ControlsDetached detached(table);
        if (day.year() != m_year) {
            m_year = day.year();
            setYearText();
            // Stored as a change of year stores it, once the year is shown.
            m_yearToStore = {cyclistPreferences(), m_year};
            m_yearStore->start();
        }
        if (Mesice->tabIndex() != day.month() - 1) {
            const QSignalBlocker block(Mesice);
            Mesice->setTabIndex(day.month() - 1);
        }
        const RideFilter before = table->rideFilter();
        setMonthFilter();
        if (table->rideFilter() == before)
            table->refresh();
        RefreshChart();
        YearKM();
        MonthKM();
        YearHours();
        // The figures walked the table; the ride is made current last.
        for (int i = 0; i < table->recordCount(); ++i) {
            if (table->rowAt(i)[fieldIndex(RideField::id)].toInt() == rideId) {
                table->setCurrentIndex(i);
                break;
            }
        }
    }
}
