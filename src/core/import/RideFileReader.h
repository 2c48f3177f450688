#pragma once

#include "ImportedRide.h"
#include "RideFileBytes.h"

#include <QString>

// The rides in a FIT, GPX or TCX file (or its .gz form), the format known by
// the file's name. A file that cannot be read gives its reason.
RideFileContents readRideFile(const QString& path, const RideFileLimits& limits = {});
