#include "stats/SeasonWeeks.h"

namespace {
// The Monday of ISO week 1 of `year`: the week that holds 4 January.
QDate firstMonday(int year)
{
    const QDate fourth(year, 1, 4);
    return fourth.isValid() ? fourth.addDays(1 - fourth.dayOfWeek()) : QDate();
}
} // namespace

QVector<SeasonWeek> seasonWeeks(const QVector<SeasonRide>& rides, int year)
{
    const QDate start = firstMonday(year);
    const QDate next = firstMonday(year + 1);
    if (!start.isValid() || !next.isValid())
        return {};
    const int count = int(start.daysTo(next) / 7);
    QVector<SeasonWeek> weeks(count);
    for (int i = 0; i < count; ++i) {
        weeks[i].week = i + 1;
        weeks[i].monday = start.addDays(7 * i);
    }
    for (const SeasonRide& ride : ridesBetween(rides, start, next.addDays(-1))) {
        SeasonWeek& week = weeks[int(start.daysTo(ride.day) / 7)];
        week.km = addKilometres(week.km, wholeKilometres(ride));
        week.seconds += ride.seconds;
        if (week.rides++ == 0) {
            week.firstRideId = ride.id;
            week.firstRideDay = ride.day;
        }
    }
    return weeks;
}

QString weekLabel(const SeasonWeek& week, const QLocale& locale)
{
    return locale.toString(week.monday, QLocale::ShortFormat);
}
