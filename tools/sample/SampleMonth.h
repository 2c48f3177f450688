#pragma once

#include "stats/MonthChartData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>
#include <functional>

// A month of twelve rides, two of them on the same day, with heights and
// pulses that fill each chart: what the chart tests and the screenshots draw.
QVector<ChartRide> sampleChartMonth();

// One point of a GPX track, its numbers written as the caller wants them.
struct GpxPoint
{
    QString latitude;
    QString longitude;
    QString elevation;
    QDateTime time;
};

// A GPX file of one track of this activity type ("cycling", "running") with
// `count` points, point(i) giving the i-th.
QByteArray gpxTrack(const char* type, int count, const std::function<GpxPoint(int)>& point);
