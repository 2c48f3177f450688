#pragma once

#include "base/Fixed4.h"

#include <QDate>
#include <QString>
#include <functional>

class ADOTable;

// Told the size of the walk (position 0 of maximum) and then the place of
// each reading about to be written, for a progress display.
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

struct YearOdometer
{
    Fixed4 total;
    // See OdometerChain: the reading of the ride after the first is kept, and
    // the user should check the year's first reading.
    bool firstReadingToCheck = false;
};

// The same, run after a ride was saved on savedOn: when that ride, with no
// reading of its own, became the first of the year ahead of the ride that
// held the base, the reading entered for that ride is kept (see
// computeOdometerChain). An invalid savedOn recomputes as above.
YearOdometer recomputeYearOdometerAfterSave(ADOTable& table, const QString& cyclist, int year,
                                            const QDate& savedOn,
                                            const OdometerProgress& progress = {});
