#pragma once

#include "base/Fixed4.h"

#include <QDate>
#include <QVector>
#include <QtGlobal>
#include <span>

class ADOTable;

// What the season window needs of one ride. An empty field is given as 0.
struct SeasonRide
{
    int id = 0;
    QDate day;
    // The riding time in whole seconds (milliseconds dropped, as the
    // figures drop them).
    int seconds = 0;
    Fixed4 dst;
    int alt = 0;
    int pulse = 0;

    bool operator==(const SeasonRide&) const = default;
};

// The kilometres of a set of rides, everywhere in the season window: each
// ride's distance rounded to a whole kilometre, halves to the even
// neighbour, then summed, as the month view's figures count them, so a month
// of the season reads as the month view does.
qint64 wholeKilometres(const SeasonRide& ride);
// sum + km; beyond 64 bits throws RydexError (Range), as the month figures
// do: a store written by another tool may hold distances at their ends.
qint64 addKilometres(qint64 sum, qint64 km);
// The whole kilometres of a set of rides, each counted as wholeKilometres().
qint64 kilometresOf(std::span<const SeasonRide> rides);

// The rides from `first` to `last`, both included, of rides in day order;
// none when either day is invalid.
std::span<const SeasonRide> ridesBetween(const QVector<SeasonRide>& rides, const QDate& first,
                                         const QDate& last);

// All rides of a cyclist, by day and, within a day, by id; read through the
// table without changing the set it shows or its current row.
QVector<SeasonRide> readSeasonRides(ADOTable& table, const QString& cyclist);
