#pragma once

#include <optional>

#include <QtGlobal>

// One sample of a recorded ride, from any of the formats. Unrecorded values
// stay empty.
struct TrackPoint
{
    qint64 msecsUtc = 0;
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::optional<double> altitude;       // metres
    std::optional<double> distanceMetres; // cumulative, as the device counted it
    std::optional<double> speed;          // metres per second
    std::optional<int> heartRate;
    std::optional<double> temperature; // °C
    bool pauseBefore = false;          // the device's timer was stopped since the previous point
};
