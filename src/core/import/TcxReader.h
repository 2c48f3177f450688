#pragma once

#include "ImportedRide.h"

#include <QByteArray>

// The activities of a TCX file, one ride each: the laps' totals (time,
// distance, heart rate) as the device wrote them, the rest from the track
// points, the sport from the Sport attribute. A course is a route, not a ride.
RideFileContents readTcx(const QByteArray& data);
