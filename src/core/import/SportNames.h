#pragma once

#include "ImportedRide.h"

#include <QString>

// The sport a GPX track's type or a TCX activity's Sport attribute names
// ("Biking", "cycling", "Running", ...), in any letter case.
RideSport sportFromName(const QString& name);
