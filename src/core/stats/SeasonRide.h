#pragma once

#include "store/Fixed4.h"

#include <QDate>
#include <QVector>
#include <QtGlobal>

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

// All rides of a cyclist, by day and, within a day, by id; read through the
// table without changing the set it shows or its current row.
QVector<SeasonRide> readSeasonRides(ADOTable& table, const QString& cyclist);
