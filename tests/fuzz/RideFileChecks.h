#pragma once

// What every ride read from any bytes must be: the file's word and each
// ride's agree, numbers are numbers, and a ride that passes the field
// check holds values its record can store.

#include "FuzzSupport.h"

#include "import/ImportedRide.h"
#include "import/RideFieldValues.h"

#include <cmath>

namespace Fuzz {

inline bool finiteOrEmpty(const std::optional<double>& v)
{
    return !v || std::isfinite(*v);
}

inline void checkRides(RideFileContents contents)
{
    FUZZ_CHECK(contents.problem == RideProblem::None || !contents.detail.isEmpty(),
               QStringLiteral("a problem without a reason"));
    for (ImportedRide& ride : contents.rides) {
        FUZZ_CHECK(finiteOrEmpty(ride.timerSeconds) && finiteOrEmpty(ride.distanceMetres) &&
                       finiteOrEmpty(ride.elevationGain) && finiteOrEmpty(ride.maxAltitude) &&
                       finiteOrEmpty(ride.avgTemperature),
                   QStringLiteral("a value that is no number"));
        RideFieldValues::checkFits(ride);
        if (ride.problem != RideProblem::None)
            continue;
        // What would be stored: a day, a duration that fits, a distance
        // that is no less than nothing.
        FUZZ_CHECK(RideFieldValues::localDay(ride).isValid(), ride.start.toString(Qt::ISODate));
        if (ride.timerSeconds)
            FUZZ_CHECK(RideFieldValues::ridingTime(*ride.timerSeconds).has_value(),
                       QString::number(*ride.timerSeconds));
        if (ride.distanceMetres)
            FUZZ_CHECK(*ride.distanceMetres >= 0, QString::number(*ride.distanceMetres));
    }
}

} // namespace Fuzz
