#include "stats/SeasonMonths.h"

#include <cmath>

namespace {
RideFigures figuresOf(const SeasonRide& ride)
{
    return RideFigures{
        ride.seconds / 3600, ride.seconds / 60 % 60, ride.seconds % 60, ride.dst, ride.alt,
        ride.pulse};
}

QVector<RideFigures> figuresOf(std::span<const SeasonRide> rides)
{
    QVector<RideFigures> figures;
    figures.reserve(qsizetype(rides.size()));
    for (const SeasonRide& ride : rides)
        figures.append(figuresOf(ride));
    return figures;
}

std::optional<double> change(qint64 km, qint64 before)
{
    if (before <= 0)
        return std::nullopt;
    return 100.0 * (double(km) - double(before)) / double(before);
}

SeasonMonthRow rowOf(const QVector<SeasonRide>& rides, int month, const QDate& first,
                     const QDate& last, const QDate& yearBefore, const QDate& yearBeforeLast)
{
    const std::span<const SeasonRide> these = ridesBetween(rides, first, last);
    SeasonMonthRow row;
    row.month = month;
    row.rides = int(these.size());
    row.figures = computeMonthFigures(figuresOf(these));
    if (yearBefore.isValid())
        row.changePercent =
            change(row.figures.km, kilometresOf(ridesBetween(rides, yearBefore, yearBeforeLast)));
    return row;
}
} // namespace

QVector<SeasonMonthRow> seasonMonths(const QVector<SeasonRide>& rides, int year)
{
    // A year the calendar does not hold (0) still gives its thirteen rows,
    // all empty: an invalid day selects no ride.
    QVector<SeasonMonthRow> rows;
    rows.reserve(13);
    for (int month = 1; month <= 12; ++month) {
        const QDate first(year, month, 1);
        const QDate before(year - 1, month, 1);
        rows.append(rowOf(rides, month, first, first.addMonths(1).addDays(-1), before,
                          before.isValid() ? before.addMonths(1).addDays(-1) : QDate()));
    }
    const QDate before(year - 1, 1, 1);
    rows.append(
        rowOf(rides, 0, QDate(year, 1, 1), QDate(year, 12, 31), before, QDate(year - 1, 12, 31)));
    return rows;
}

QString changePercentText(const std::optional<double>& percent, const QLocale& locale)
{
    if (!percent || !std::isfinite(*percent))
        return {};
    // Rounded once, halves away from zero, so the sign agrees with the digits.
    const double tenths = std::round(std::fabs(*percent) * 10.0);
    const QString sign = *percent < 0 && tenths != 0 ? QString(QChar(0x2212)) : QStringLiteral("+");
    return sign + locale.toString(tenths / 10.0, 'f', 1) + QStringLiteral(" %");
}
