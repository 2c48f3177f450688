// The odometer chain of the main window: the recomputation of a year's
// readings and the command that sets the year's first reading.
#include "app/TfrmBase.h"

#include "base/MessageCatalogue.h"
#include "records/TfrmEditODO.h"
#include "records/TfrmWork.h"
#include "records/YearOdometer.h"
#include "stats/Figures.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/RideFilter.h"
#include "base/RydexError.h"
#include "store/TData.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MessageDialog.h"

#include <QLabel>
#include <QLineEdit>

namespace {
// Keeps the progress window up from the first step to the last, however the
// recomputation ends.
class ProgressShown
{
public:
    explicit ProgressShown(TfrmWork* window) : m_window(window)
    {
        if (m_window)
            m_window->showWorking();
    }
    ~ProgressShown()
    {
        if (m_window)
            m_window->hideWorking();
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    TfrmWork* m_window;
};

} // namespace

void TfrmBase::UpdateTotal()
{
    UpdateTotal(QDate());
}

void TfrmBase::UpdateTotal(const QDate& savedOn)
{
    ensureWindows();
    if (!m_data)
        return;
    ADOTable* table = m_data->table();
    WorkProgressBar* bar = m_progress ? m_progress->Progress : nullptr;

    const ProgressShown shown(m_progress);
    if (!table->isOpen())
        m_data->open();
    const ControlsDetached detached(table);
    const auto progress = [bar](int position, int maximum) {
        if (!bar)
            return;
        if (position == 0)
            bar->setMaximum(maximum);
        bar->setPosition(position);
    };
    // A ride saved into another year leaves the year shown and joins that
    // one: both chains change, and both are written or neither.
    const bool otherYear = savedOn.isValid() && savedOn.year() != m_year;
    ADOConnection* connection = table->connection();
    YearOdometer shownYear;
    YearOdometer savedYear;
    connection->begin();
    try {
        shownYear = recomputeYearOdometerAfterSave(*table, m_cyclistName, m_year,
                                                   otherYear ? QDate() : savedOn, progress);
        if (otherYear)
            savedYear = recomputeYearOdometerAfterSave(*table, m_cyclistName, savedOn.year(),
                                                       savedOn, progress);
        connection->commit();
    } catch (...) {
        connection->rollback();
        throw;
    }
    lblKMCelkem->setText(odoTotalText(shownYear.total, QLocale()));
    if (shownYear.firstReadingToCheck || savedYear.firstReadingToCheck) {
        MessageDialog check(QStringLiteral("msgDlgCheckFirstODO"), nullptr);
        check.setCaption(Msg::text(Msg::Warning));
        check.setIconType(MessageDialog::Warning);
        check.setText(Msg::format(Msg::FirstReadingToCheck, {QString::number(savedOn.year())}));
        check.execute();
    }
}

void TfrmBase::EditODO()
{
    if (!m_data)
        return;
    ADOTable* table = m_data->table();
    if (!table->isOpen())
        m_data->open();
    const RideFilter saved = table->rideFilter();
    bool stored = false;
    try {
        table->setFilter(RideFilter::year(m_cyclistName, m_year));
        if (!table->findFirst()) {
            mdgDlgNoRecord->execute();
        } else {
            table->edit();
            TfrmEditODO dialog(
                table, [this] { UpdateTotal(); }, this);
            dialog.edtFirstODO->setEnabled(true);
            DialogPresenter::current().execModal(dialog);
            dialog.FormClose();
            stored = dialog.saved();
        }
    } catch (...) {
        table->cancel();
        try {
            table->setFilter(saved);
        } catch (const RydexError&) {
            // The first failure is the one to report.
        }
        throw;
    }
    table->setFilter(saved);
    if (stored) {
        MonthKM();
        emit monthViewChanged();
    }
}
