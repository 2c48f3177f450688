#pragma once

#include "store/Fixed4.h"

#include <QString>
#include <functional>

class ADOTable;

// Told the size of the walk (position 0 of maximum) and then each reading
// written, for a progress display.
using OdometerProgress = std::function<void(int position, int maximum)>;

// Rewrites the odometer readings of a cyclist's year in the ride table and
// answers the reading after the year's last ride.
//
// The year's rides are read inside the transaction that rewrites them, so a
// ride another copy of the program saves meanwhile waits for the end of it
// and is never overwritten with a reading computed before it was saved.
// Every reading is written in that one transaction: a refusal or a crash
// half-way leaves the year's chain as it was, never half old and half new;
// the rows in memory are then read again, and the error goes on to the
// caller. Either way the table's filter is the one it had before, and the
// caller keeps the bound controls detached around the call.
Fixed4 recomputeYearOdometer(ADOTable& table, const QString& cyclist, int year,
                             const OdometerProgress& progress = {});
