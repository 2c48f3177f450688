#pragma once

#include "ImportedRide.h"

#include <QByteArray>

// The tracks of a GPX 1.0 or 1.1 file, one ride each (tracks less than an
// hour apart are one ride that paused), with heart rate and
// temperature from Garmin's track-point extensions (v1 and v2, known by
// their namespace, whatever prefix the file gives them). A route, a file of
// single points, or a track without times is listed with that reason.
RideFileContents readGpx(const QByteArray& data);
