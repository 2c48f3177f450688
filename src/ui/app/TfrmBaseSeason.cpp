// The season command of the main window: the season window of the signed-in
// cyclist beside the month view, following what is written to the rides.
#include "app/TfrmBase.h"

#include "stats/TfrmSeason.h"
#include "store/TData.h"

TfrmSeason* TfrmBase::seasonWindow() const
{
    return m_season;
}

void TfrmBase::mnuSeasonClick()
{
    guarded([this] { openSeason(); });
}

void TfrmBase::toolBtnSeasonClick()
{
    guarded([this] { openSeason(); });
}

void TfrmBase::openSeason()
{
    if (m_season) {
        m_season->raise();
        m_season->activateWindow();
        return;
    }
    if (!m_data || !signedIn())
        return;
    auto* window = new TfrmSeason(m_data->table(), m_cyclistName, m_year, this);
    // Made for one showing: closed, it is gone, and the command makes a new
    // one on the rides as they are then.
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_season = window;
    connect(window, &TfrmSeason::rideChosen, this, &TfrmBase::showSeasonRide);
    connect(this, &TfrmBase::ridesWritten, window, &TfrmSeason::readRides);
    window->show();
}

void TfrmBase::showSeasonRide(const QDate& day, int rideId)
{
    guarded([this, &day, rideId] { showRide(day, rideId); });
    emit monthViewChanged();
}
