// The odometer chain of the main window: the recomputation of a year's
// readings and the command that sets the year's first reading.
#include "app/TfrmBase.h"

#include "records/TfrmEditODO.h"
#include "records/TfrmWork.h"
#include "records/YearOdometer.h"
#include "stats/Figures.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/RideFilter.h"
#include "store/RydexError.h"
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
    ensureWindows();
    if (!m_data)
        return;
    ADOTable* table = m_data->table();
    WorkProgressBar* bar = m_progress ? m_progress->Progress : nullptr;

    const ProgressShown shown(m_progress);
    if (!table->isOpen())
        m_data->open();
    const ControlsDetached detached(table);
    const Fixed4 total =
        recomputeYearOdometer(*table, m_cyclistName, m_year, [bar](int position, int maximum) {
            if (!bar)
                return;
            if (position == 0)
                bar->setMaximum(maximum);
            bar->setPosition(position);
        });
    lblKMCelkem->setText(odoTotalText(total, QLocale()));
}

void TfrmBase::EditODO()
{
    if (!m_data)
        return;
    ADOTable* table = m_data->table();
    if (!table->isOpen())
        m_data->open();
    const QString saved = table->filter();
    bool stored = false;
    try {
        table->setFilter(RideFilter::yearText(m_cyclistName, m_year));
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
