#include "TrackTotals.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

double greatCircleMetres(const TrackPoint& a, const TrackPoint& b)
{
    constexpr double earthRadius = 6371008.8;
    const double la1 = qDegreesToRadians(*a.latitude);
    const double la2 = qDegreesToRadians(*b.latitude);
    const double dLat = la2 - la1;
    const double dLon = qDegreesToRadians(*b.longitude - *a.longitude);
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(la1) * std::cos(la2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * earthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

// The distance covered between two consecutive points, when they tell it.
std::optional<double> stepMetres(const TrackPoint& a, const TrackPoint& b)
{
    if (a.distanceMetres && b.distanceMetres)
        return std::max(0.0, *b.distanceMetres - *a.distanceMetres);
    if (a.latitude && a.longitude && b.latitude && b.longitude)
        return greatCircleMetres(a, b);
    return std::nullopt;
}

double stepSeconds(const TrackPoint& a, const TrackPoint& b)
{
    return std::max<qint64>(0, b.msecsUtc - a.msecsUtc) / 1000.0;
}

bool moving(const TrackPoint& a, const TrackPoint& b)
{
    if (b.pauseBefore)
        return false;
    const double seconds = stepSeconds(a, b);
    if (seconds <= 0)
        return false;
    const double minimumSpeed = TrackTotals::pauseSpeedKmh / 3.6;
    if (const auto metres = stepMetres(a, b))
        return *metres / seconds >= minimumSpeed;
    if (b.speed)
        return *b.speed >= minimumSpeed;
    return seconds <= TrackTotals::pauseGapSeconds;
}

// A time-weighted mean of `value` over the riding intervals; each reading
// stands for the interval that follows it.
template <typename Value>
std::optional<double> weightedMean(const QList<TrackPoint>& points, Value value)
{
    double sum = 0;
    double weight = 0;
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const auto v = value(points[i]);
        if (!v || !moving(points[i], points[i + 1]))
            continue;
        const double seconds = stepSeconds(points[i], points[i + 1]);
        sum += *v * seconds;
        weight += seconds;
    }
    if (weight > 0)
        return sum / weight;
    // Too few points to weigh: the plain mean of what there is.
    int count = 0;
    for (const auto& p : points) {
        if (const auto v = value(p)) {
            sum += *v;
            ++count;
        }
    }
    return count ? std::optional<double>(sum / count) : std::nullopt;
}

std::optional<double> heartRate(const TrackPoint& p)
{
    return p.heartRate && *p.heartRate > 0 ? std::optional<double>(*p.heartRate) : std::nullopt;
}

// The altitudes worth believing, in order: a zero next to another zero, or
// alone between points well above or below sea level, is a missing fix.
QList<double> knownAltitudes(const QList<TrackPoint>& points)
{
    QList<double> known;
    const auto isZero = [&](qsizetype i) {
        return i >= 0 && i < points.size() && points[i].altitude && *points[i].altitude == 0.0;
    };
    const auto far = [&](qsizetype i) {
        return i < 0 || i >= points.size() || !points[i].altitude ||
               std::abs(*points[i].altitude) > TrackTotals::climbThresholdMetres;
    };
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (!points[i].altitude)
            continue;
        if (isZero(i) && (isZero(i - 1) || isZero(i + 1) || (far(i - 1) && far(i + 1))))
            continue;
        known.append(*points[i].altitude);
    }
    return known;
}

} // namespace

namespace TrackTotals {

double ridingSeconds(const QList<TrackPoint>& points)
{
    double total = 0;
    for (qsizetype i = 0; i + 1 < points.size(); ++i)
        if (moving(points[i], points[i + 1]))
            total += stepSeconds(points[i], points[i + 1]);
    return total;
}

std::optional<double> distanceMetres(const QList<TrackPoint>& points)
{
    // The device's own count, where it kept one, even across points without it.
    std::optional<double> first;
    std::optional<double> last;
    for (const auto& p : points) {
        if (p.distanceMetres) {
            first = first.value_or(*p.distanceMetres);
            last = p.distanceMetres;
        }
    }
    if (first)
        return std::max(0.0, *last - *first);
    std::optional<double> total;
    for (qsizetype i = 0; i + 1 < points.size(); ++i)
        if (const auto metres = stepMetres(points[i], points[i + 1]))
            total = total.value_or(0) + *metres;
    return total;
}

std::optional<int> averageHeartRate(const QList<TrackPoint>& points)
{
    const auto mean = weightedMean(points, heartRate);
    return mean ? std::optional<int>(qRound(*mean)) : std::nullopt;
}

std::optional<int> maximumHeartRate(const QList<TrackPoint>& points)
{
    std::optional<int> best;
    for (const auto& p : points)
        if (p.heartRate && *p.heartRate > 0)
            best = std::max(best.value_or(0), *p.heartRate);
    return best;
}

std::optional<double> elevationGain(const QList<TrackPoint>& points)
{
    const QList<double> altitudes = knownAltitudes(points);
    if (altitudes.isEmpty())
        return std::nullopt;
    double gain = 0;
    double reference = altitudes.first();
    bool climbing = false;
    for (const double a : altitudes) {
        if (a > reference + climbThresholdMetres || (climbing && a > reference)) {
            gain += a - reference;
            reference = a;
            climbing = true;
        } else if (a < reference - climbThresholdMetres || (!climbing && a < reference)) {
            reference = a;
            climbing = false;
        }
    }
    return gain;
}

std::optional<double> maximumAltitude(const QList<TrackPoint>& points)
{
    const QList<double> altitudes = knownAltitudes(points);
    if (altitudes.isEmpty())
        return std::nullopt;
    return *std::max_element(altitudes.cbegin(), altitudes.cend());
}

std::optional<double> averageTemperature(const QList<TrackPoint>& points)
{
    return weightedMean(points, [](const TrackPoint& p) { return p.temperature; });
}

void fillMissing(ImportedRide& ride, const QList<TrackPoint>& points)
{
    if (points.isEmpty())
        return;
    if (!ride.start.isValid())
        ride.start = QDateTime::fromMSecsSinceEpoch(points.first().msecsUtc, Qt::UTC);
    if (!ride.timerSeconds && points.size() > 1)
        ride.timerSeconds = ridingSeconds(points);
    if (!ride.distanceMetres)
        ride.distanceMetres = distanceMetres(points);
    if (!ride.avgHeartRate)
        ride.avgHeartRate = averageHeartRate(points);
    if (!ride.maxHeartRate)
        ride.maxHeartRate = maximumHeartRate(points);
    if (!ride.elevationGain)
        ride.elevationGain = elevationGain(points);
    if (!ride.maxAltitude)
        ride.maxAltitude = maximumAltitude(points);
    if (!ride.avgTemperature)
        ride.avgTemperature = averageTemperature(points);
}

void completeFromTrack(ImportedRide& ride, const QList<TrackPoint>& points, bool allTimed)
{
    if (points.isEmpty() || !allTimed) {
        ride.problem = RideProblem::NoTimes;
        ride.detail = QStringLiteral("track points without times");
        return;
    }
    fillMissing(ride, points);
}

} // namespace TrackTotals
