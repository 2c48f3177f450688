#pragma once

#include "base/Fixed4.h"

#include <QVector>
#include <optional>

// What the odometer chain needs of one ride of the year: its reading and its
// distance, either of them possibly empty.
struct ChainRide
{
    std::optional<Fixed4> odo;
    std::optional<Fixed4> dst;
};

// The readings of one cyclist's year, derived from the first ride's reading
// (the base the user typed) and the distances of the later rides.
struct OdometerChain
{
    // A base to store in the first ride, when it takes one over (see below).
    std::optional<Fixed4> base;
    // The first ride came before the ride whose reading the user entered, and
    // that reading is less than that ride's own distance: no base leads to
    // it. The reading is kept as it is; the user should check the first one.
    bool firstReadingToCheck = false;
    // The readings of rides 2..n, in order; empty for a year of one ride or none.
    QVector<Fixed4> readings;
    // The reading after the last ride: the last derived one, the base for a
    // year of one ride, 0 for a year without rides.
    Fixed4 total;
};

// Takes the year's rides in the order of the ride table (by date, then id).
// The base is the first ride's reading rounded to two decimals (empty counts
// as 0); every later reading adds that ride's distance rounded to two
// decimals. The first ride's own distance is never added: its reading is
// already the count after that ride.
//
// The sum is exact. Summing the same rounded values in binary floating point
// and storing the result to four decimals gives the very same readings for
// any realistic year, since the error stays far below half a ten-thousandth;
// exact arithmetic simply makes that hold for every input.
//
// newFirstRide: the first ride was just stored ahead of the ride that held
// the year's base. That ride keeps the reading the user entered for it: the
// new first ride gets the base that leads to it, the reading less that
// ride's distance (both rounded to two decimals). When that would be
// negative, the reading stays as it is and the chain goes on from it.
OdometerChain computeOdometerChain(const QVector<ChainRide>& rides, bool newFirstRide = false);
