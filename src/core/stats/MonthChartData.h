#pragma once

#include "base/Fixed4.h"
#include "prefs/CyclistPreferences.h"

#include <QLocale>
#include <QString>
#include <QTime>
#include <QVector>
#include <array>

// The four quantities of the month chart, in the order of the chart tabs.
enum ChartSeriesIndex : int {
    TimeSeries = 0,
    DstSeries = 1,
    PulseSeries = 2,
    AltitudeSeries = 3,
    ChartSeriesCount = CyclistPreferences::chartCount
};

// What the month chart needs of one ride. An empty field is given as 0 (a
// null time for the duration).
struct ChartRide
{
    int day = 0;
    QTime time;
    Fixed4 dst;
    int pulse = 0;
    int alt = 0;
};

// One plotted point: the day of the month, the value and the text of its label.
struct ChartPoint
{
    int day = 0;
    double y = 0.0;
    QString label;

    bool operator==(const ChartPoint&) const = default;
};

using ChartSeriesData = std::array<QVector<ChartPoint>, ChartSeriesCount>;

// One point per ride in every series, in the order of the rides. Durations are
// plotted as a fraction of a day and labelled with their share of the month's
// total ("#0.# %"; a month whose rides all last 0 labels every point "0 %");
// the other series carry their value and label it "#,##0.###". Milliseconds of
// a duration are dropped, as in the month's hours.
ChartSeriesData buildChartSeries(const QVector<ChartRide>& rides, const QLocale& locale);
