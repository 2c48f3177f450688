#pragma once

#include "stats/SeasonRide.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVector>

// One ISO week (Monday to Sunday) of a season.
struct SeasonWeek
{
    int week = 0; // 1..53
    QDate monday;
    qint64 km = 0;      // whole kilometres, as wholeKilometres() counts
    qint64 seconds = 0; // riding time
    int rides = 0;
    int firstRideId = 0; // 0 without a ride
    QDate firstRideDay;  // invalid without a ride

    double hours() const { return double(seconds) / 3600.0; }
    bool operator==(const SeasonWeek&) const = default;
};

// Every week of the ISO week-numbering year `year` (52 or 53 of them, empty
// weeks included), in order: week 1 is the week holding 4 January, so the
// first days of January may belong to the last week of the year before and
// the last days of December to week 1 of the next. `rides` are in day order.
// A year the calendar does not hold (0: there is no year 0 between 1 BC and
// AD 1) has no weeks.
QVector<SeasonWeek> seasonWeeks(const QVector<SeasonRide>& rides, int year);

// The label of a week's bar: its Monday in the locale's short date form.
QString weekLabel(const SeasonWeek& week, const QLocale& locale);
