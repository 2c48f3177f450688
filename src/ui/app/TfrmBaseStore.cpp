// Where the rides are kept: opening the store chosen, the "Database..."
// command that changes it, and the month view following what other
// computers write to a server.
#include "app/TfrmBase.h"

#include "app/StoreOpening.h"
#include "app/TfrmDatabase.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "settings/StoreChoice.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/TData.h"
#include "toolkit/DialogPresenter.h"

#include <QApplication>
#include <QTimer>

namespace {
// A change elsewhere is shown this long after it arrived, so that a burst
// of them (another computer's import) is read once.
constexpr int gatherChanges = 50;
// How often a change waiting for the user to finish a dialog looks again.
constexpr int waitForDialog = 250;
} // namespace

void TfrmBase::openStore()
{
    if (!m_data)
        throw RydexError(Msg::text(Msg::StoreClosed), RydexError::Kind::Store);
    m_opening->open(*m_data->connection());
    m_data->open();
}

void TfrmBase::mnuDatabaseClick()
{
    if (!m_data)
        return;
    TfrmDatabase dialog(this, *m_opening, StoreLocation::file(m_env.filePath),
                        m_data->connection()->location(), StoreChoice::serverText(m_programKey));
    dialog.useStore = [this](const StoreLocation& location) { return useStore(location); };
    dialog.copyRides = [this](const StoreLocation& server) { return copyRides(server); };
    DialogPresenter::current().execModal(dialog);
}

bool TfrmBase::useStore(const StoreLocation& location)
{
    ensureWindows();
    const StoreLocation previous = m_data->connection()->location();
    leaveMonthView(Leaving::StoreChange);
    try {
        if (!ADOConnection::engineAvailable(location))
            throw RydexError(
                Msg::text(location.isServer() ? Msg::ServerDriverMissing : Msg::StoreDriverMissing),
                RydexError::Kind::Store);
        m_data->setLocation(location);
        openStore();
        // Kept only once the store opened: a choice that does not work is
        // not the one the next start finds.
        StoreChoice::write(m_programKey, location);
    } catch (const RydexError& e) {
        m_data->setLocation(previous);
        AktualizaceMenu();
        DialogPresenter::current().showError(
            Msg::format(Msg::DatabaseNotUsed, {previous.shown(), location.shown(), e.text()}));
        return false;
    }
    m_env.store = location;
    reportStoreNotices();
    // The cyclists are this installation's; the store is closed again until
    // one of them signs in, as after start-up.
    AktualizaceMenu();
    return true;
}

void TfrmBase::ridesChangedElsewhere(const QString& cyclist)
{
    if (!signedIn() || cyclist != m_cyclistName)
        return;
    if (!m_changedElsewhere->isActive())
        m_changedElsewhere->start(gatherChanges);
}

void TfrmBase::showChangesFromElsewhere()
{
    if (!signedIn() || !m_data || !m_data->table()->isOpen())
        return;
    ADOTable* table = m_data->table();
    // A dialog open (the record dialog above all) or a ride pending: the
    // rows under it stay as they are. The version check protects the ride
    // being edited, and its Save tells the user if another computer changed
    // it; the month view follows once the dialog is closed.
    if (QApplication::activeModalWidget() || table->state() != ADOTable::State::Browse) {
        m_changedElsewhere->start(waitForDialog);
        return;
    }
    const int current = table->recordCount() > 0 ? table->value(RideField::id).toInt() : -1;
    guarded([this, current] {
        showRide(QDate(m_year, monthShown(), 1), current);
        emit monthViewChanged();
        emit ridesWritten();
    });
}
