#include "stats/Figures.h"

#include "base/MessageCatalogue.h"
#include "base/PictureFormat.h"
#include "base/RydexError.h"
#include "stats/DurationTotal.h"

#include <cmath>

MonthFigures computeMonthFigures(const QVector<RideFigures>& rides)
{
    DurationTotal duration;
    qint64 km = 0;
    qint64 alt = 0;
    qint64 pulseSum = 0;
    qint64 ridesWithPulse = 0;
    for (const RideFigures& ride : rides) {
        duration.add(ride.hours, ride.minutes, ride.seconds);
        // Distances from another tool may sit at the ends of their range.
        if (__builtin_add_overflow(km, ride.dst.roundedToWholeEven(), &km))
            throw RydexError(Msg::text(Msg::NumberOutOfRange), RydexError::Kind::Range);
        alt += ride.alt;
        if (ride.pulse != 0) {
            pulseSum += ride.pulse;
            ++ridesWithPulse;
        }
    }
    MonthFigures figures;
    figures.hours = duration.text();
    figures.km = km;
    figures.alt = alt;
    figures.pulse =
        pulseSum == 0 ? QStringLiteral("0") : QString::number(pulseSum / ridesWithPulse);
    return figures;
}

QString yearKmText(Fixed4 lastOdo, const QLocale& locale)
{
    return formatGeneral(lastOdo, locale);
}

QString odoTotalText(Fixed4 odo, const QLocale& locale)
{
    return formatPicture(QStringLiteral("0.00"), odo, locale);
}

QString chartTitle(const QString& monthCaption, qint64 km)
{
    return monthCaption + QLatin1Char(' ') + QString::number(km) + QStringLiteral("km");
}

int dayAxisMaximum(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 32;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return days[month - 1] + (month == 2 && leap ? 1 : 0) + 1;
}

QString durationShareLabel(qint64 seconds, qint64 totalSeconds, const QLocale& locale)
{
    const double percent = totalSeconds == 0 ? 0.0 : 100.0 * double(seconds) / double(totalSeconds);
    return formatPicture(QStringLiteral("#0.# %"), percent, locale);
}

QString valueLabel(double value, const QLocale& locale)
{
    return formatPicture(QStringLiteral("#,##0.###"), value, locale);
}

QString durationAxisLabel(double fractionOfDay)
{
    // Far beyond any month's rides, and still exact in whole milliseconds.
    constexpr double longestDays = 1e9;
    if (!std::isfinite(fractionOfDay) || std::fabs(fractionOfDay) > longestDays)
        return {};
    constexpr double msPerDay = 24 * 60 * 60 * 1000;
    const qint64 ms = std::llround(std::fabs(fractionOfDay) * msPerDay);
    const qint64 minutes = ms / 60000;
    return QString::number(minutes / 60) + QLatin1Char(':') +
           QString::number(minutes % 60).rightJustified(2, QLatin1Char('0'));
}
