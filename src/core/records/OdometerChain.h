#pragma once

#include "store/Fixed4.h"

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
OdometerChain computeOdometerChain(const QVector<ChainRide>& rides);
