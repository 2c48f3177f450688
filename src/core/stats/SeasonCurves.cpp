#include "stats/SeasonCurves.h"

#include "base/MessageCatalogue.h"
#include "records/LongDate.h"

#include <algorithm>

namespace {
SeasonCurve curveOf(const QVector<SeasonRide>& rides, int year, const QDate& today)
{
    SeasonCurve curve;
    curve.year = year;
    const QDate first(year, 1, 1);
    if (year > today.year())
        return curve;
    const int days = year == today.year() ? today.dayOfYear() : first.daysInYear();
    curve.km.fill(0, days);
    for (const SeasonRide& ride : ridesBetween(rides, first, first.addDays(days - 1)))
        curve.km[ride.day.dayOfYear() - 1] =
            addKilometres(curve.km[ride.day.dayOfYear() - 1], wholeKilometres(ride));
    for (int d = 1; d < days; ++d)
        curve.km[d] = addKilometres(curve.km[d], curve.km[d - 1]);
    return curve;
}

// The same calendar day in another year; 29 February becomes 28 February
// where there is none.
QDate sameDayIn(const QDate& day, int year)
{
    const QDate same(year, day.month(), day.day());
    return same.isValid() ? same : QDate(year, day.month(), day.day() - 1);
}

// The date format of the locale's long date with neither the day of the week
// nor the year: "d MMMM", "MMMM d", "d. MMMM".
QString dayAndMonthFormat(const QLocale& locale)
{
    QString format = longDateWithoutWeekday(locale);
    // The year's letters, outside a quoted literal.
    qsizetype y = 0;
    for (bool quoted = false; y < format.size(); ++y) {
        if (format.at(y) == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && format.at(y) == QLatin1Char('y'))
            break;
    }
    if (y == format.size())
        return format;
    qsizetype end = y;
    while (end < format.size() && format.at(end) == QLatin1Char('y'))
        ++end;
    const auto separator = [](QChar c) {
        return c.isSpace() || c == QLatin1Char(',') || c == QLatin1Char('.') ||
               c == QLatin1Char('/') || c == QLatin1Char('-');
    };
    qsizetype from = y;
    if (end < format.size()) {
        while (end < format.size() && separator(format.at(end)))
            ++end;
    } else {
        // A separator that ends the day ("d. MMMM") belongs to the day.
        while (from > 0 &&
               (format.at(from - 1).isSpace() || format.at(from - 1) == QLatin1Char(',')))
            --from;
    }
    format.remove(from, end - from);
    return format.trimmed();
}
} // namespace

QVector<SeasonCurve> seasonCurves(const QVector<SeasonRide>& rides, int year, const QDate& today,
                                  int earlierYears)
{
    QVector<SeasonCurve> curves;
    for (int y = year; y >= year - std::max(earlierYears, 0); --y) {
        if (!QDate(y, 1, 1).isValid())
            break;
        curves.append(curveOf(rides, y, today));
    }
    return curves;
}

std::optional<SeasonLead> seasonLead(const QVector<SeasonRide>& rides, int year, const QDate& today)
{
    if (year > today.year() || !QDate(year, 1, 1).isValid() || !QDate(year - 1, 1, 1).isValid())
        return std::nullopt;
    SeasonLead lead;
    lead.comparedYear = year - 1;
    lead.at = year == today.year() ? today : QDate(year, 12, 31);
    const qint64 now = kilometresOf(ridesBetween(rides, QDate(year, 1, 1), lead.at));
    const qint64 before =
        kilometresOf(ridesBetween(rides, QDate(year - 1, 1, 1), sameDayIn(lead.at, year - 1)));
    lead.km = addKilometres(now, -before);
    return lead;
}

QString seasonLeadText(const SeasonLead& lead, const QLocale& locale)
{
    const QString sign = lead.km < 0 ? QString(QChar(0x2212)) : QStringLiteral("+");
    const qint64 size = lead.km < 0 ? -lead.km : lead.km;
    return Msg::format(Msg::SeasonLead,
                       {sign + locale.toString(size), QString::number(lead.comparedYear),
                        locale.toString(lead.at, dayAndMonthFormat(locale))});
}
