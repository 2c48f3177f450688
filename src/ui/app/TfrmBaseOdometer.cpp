// The odometer chain of the main window: the recomputation of a year's
// readings and the command that sets the year's first reading.
#include "app/TfrmBase.h"

#include "records/OdometerChain.h"
#include "records/TfrmEditODO.h"
#include "records/TfrmWork.h"
#include "stats/Figures.h"
#include "store/ADOConnection.h"
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
std::optional<Fixed4> fixedOrEmpty(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.value<Fixed4>();
}

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
    if (!m_data)
        return;
    ADOTable* table = m_data->table();
    ADOConnection* connection = m_data->connection();
    WorkProgressBar* bar = m_progress ? m_progress->Progress : nullptr;

    const ProgressShown shown(m_progress);
    if (!table->isOpen())
        m_data->open();
    const QString saved = table->filter();
    const ControlsDetached detached(table);
    const QString year = RideFilter::yearText(m_cyclistName, m_year);

    // The year's rides are read inside the transaction that rewrites them, so
    // a ride another copy of the program saves meanwhile waits for the end of
    // it and is never overwritten with a reading computed before it was
    // saved. Every reading of the year is written in that one transaction: a
    // refusal or a crash half-way leaves the year's chain as it was, never
    // half old and half new.
    OdometerChain chain;
    try {
        connection->begin();
        if (table->filter() == year)
            table->refresh();
        else
            table->setFilter(year);

        QVector<ChainRide> rides;
        rides.reserve(table->recordCount());
        for (const RideRow& row : table->rows())
            rides.append({fixedOrEmpty(row[fieldIndex(RideField::odo)]),
                          fixedOrEmpty(row[fieldIndex(RideField::dst)])});
        chain = computeOdometerChain(rides);
        const int n = int(rides.size());

        table->first();
        table->next();
        if (bar) {
            bar->setMaximum(n);
            bar->setPosition(0);
        }
        for (int k = 2; k <= n; ++k) {
            table->edit();
            table->setValue(RideField::odo, QVariant::fromValue(chain.readings.at(k - 2)));
            if (bar)
                bar->setPosition(k - 1);
            table->post();
            table->next();
        }
        connection->commit();
    } catch (...) {
        connection->rollback();
        // Nothing of this run is kept: the rows in memory are read again so
        // they match the store, and the month view comes back.
        try {
            table->cancel();
            table->refresh();
            table->setFilter(saved);
        } catch (const RydexError&) {
            // The refusal that got us here is what the user needs to see.
        }
        throw;
    }

    table->setFilter(saved);
    lblKMCelkem->setText(odoTotalText(chain.total, QLocale()));
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
