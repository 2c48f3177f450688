#pragma once

#include "ImportedRide.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

// What a ride from a file puts into the fields the record dialog fills.
namespace RideFieldValues {

// The calendar day on which the ride started where it was ridden: by the
// file's own local offset when it gives one, otherwise by the system's time
// zone at that instant.
QDate localDay(const ImportedRide& ride);

// The riding time to the nearest second; nothing when it does not fit the
// duration field, which holds at most 23:59:59.
std::optional<QTime> ridingTime(double seconds);

// The record dialog's temperature band that holds `celsius`, lower bound
// included; empty outside every band and in the gap from 30 to 35 °C.
QString temperatureBand(double celsius);

// The kind ("druh") the record dialog offers for a sport; empty for others.
QString kindText(RideSport sport);
// The type of training ("typ"): the trainer for indoor cycling, and for a
// bike ride that covered no distance.
QString typeText(const ImportedRide& ride);

// Marks `ride` as not importable when one of its values does not fit its
// field: a ride longer than 23:59:59, none at all, an elevation beyond the
// 16-bit field, a heart rate beyond its field, a speed beyond the average
// speed's five digits. Nothing is cut to fit.
void checkFits(ImportedRide& ride);

} // namespace RideFieldValues
