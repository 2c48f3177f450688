#include "stats/MonthChartData.h"

#include "stats/DurationTotal.h"
#include "stats/Figures.h"

namespace {
constexpr double secondsPerDay = 24 * 60 * 60;

qint64 wholeSeconds(const QTime& time)
{
    if (!time.isValid())
        return 0;
    return qint64(time.hour()) * 3600 + time.minute() * 60 + time.second();
}
} // namespace

ChartSeriesData buildChartSeries(const QVector<ChartRide>& rides, const QLocale& locale)
{
    DurationTotal total;
    for (const ChartRide& ride : rides)
        total.add(ride.time);
    const qint64 totalSeconds = total.totalSeconds();

    ChartSeriesData series;
    for (QVector<ChartPoint>& points : series)
        points.reserve(rides.size());
    for (const ChartRide& ride : rides) {
        const qint64 seconds = wholeSeconds(ride.time);
        series[TimeSeries].append({ride.day, double(seconds) / secondsPerDay,
                                   durationShareLabel(seconds, totalSeconds, locale)});
        const double dst = ride.dst.toDouble();
        series[DstSeries].append({ride.day, dst, valueLabel(dst, locale)});
        series[PulseSeries].append({ride.day, double(ride.pulse), valueLabel(ride.pulse, locale)});
        series[AltitudeSeries].append({ride.day, double(ride.alt), valueLabel(ride.alt, locale)});
    }
    return series;
}
