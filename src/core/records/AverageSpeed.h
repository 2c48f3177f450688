#pragma once

#include "base/Fixed4.h"

#include <QTime>

// The average speed in km/h of a ride of `distance` kilometres that took
// `duration` (a time of day; its milliseconds are dropped), rounded to two
// decimals, halves away from zero.
//
// The speed is worked out exactly on the distance's ten-thousandths: the
// program this follows divided binary doubles, whose last bit could tip a
// speed that ends in an exact half either way. Apart from such halves the
// results are the same.
//
// Throws RydexError when the duration is 0:00:00 (or no time at all): there
// is nothing to divide by.
Fixed4 averageSpeed(const QTime& duration, Fixed4 distance);

// The field `avs` holds five digits, two of them after the decimal point.
inline constexpr Fixed4 largestAverageSpeed = Fixed4::fromUnits(9'999'900);
// Throws RydexError, naming the speed and the limit, when a speed (up or
// down) does not fit the field: a typing slip in the distance or the duration
// is refused rather than stored as a speed no ride has.
void checkAverageSpeedFits(Fixed4 speed);
