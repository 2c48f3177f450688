#pragma once

#include "ImportedRide.h"
#include "TrackPoint.h"

#include <QList>

// The totals a ride file does not state, worked out from its track points.
//
// A pause: the interval between two points is not riding time when the
// device's timer was stopped in it, when the speed over it is below
// `pauseSpeedKmh`, or, when the points give no distance or speed at all
// (an indoor ride without a sensor), when it is longer than
// `pauseGapSeconds`.
//
// Elevation gain counts a climb only once the altitude has risen
// `climbThresholdMetres` above the lowest point since the last descent, so
// that the noise of a barometer or of GPS on the flat adds nothing. A missing
// altitude, or a run of exact zeros (what a device without a fix writes), is
// unknown, not sea level.
namespace TrackTotals {
inline constexpr double pauseSpeedKmh = 2.0;
inline constexpr double pauseGapSeconds = 30.0;
inline constexpr double climbThresholdMetres = 5.0;

double ridingSeconds(const QList<TrackPoint>& points);
std::optional<double> distanceMetres(const QList<TrackPoint>& points);
// Weighted by the riding time each reading stands for; readings of 0 ignored.
std::optional<int> averageHeartRate(const QList<TrackPoint>& points);
std::optional<int> maximumHeartRate(const QList<TrackPoint>& points);
std::optional<double> elevationGain(const QList<TrackPoint>& points);
std::optional<double> maximumAltitude(const QList<TrackPoint>& points);
std::optional<double> averageTemperature(const QList<TrackPoint>& points);

// Fills each empty field of `ride` that the points can give; what the file
// stated stays.
void fillMissing(ImportedRide& ride, const QList<TrackPoint>& points);
// The same for a track of a GPX or TCX file, whose points must all carry a
// time: without them there is no day and no duration, and the ride says so.
void completeFromTrack(ImportedRide& ride, const QList<TrackPoint>& points, bool allTimed);
} // namespace TrackTotals
