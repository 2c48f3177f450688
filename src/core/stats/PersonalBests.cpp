#include "stats/PersonalBests.h"

#include "base/MessageCatalogue.h"
#include "base/PictureFormat.h"
#include "records/AverageSpeed.h"

#include <QTime>

namespace {
using Bests = std::array<PersonalBest, bestKindCount>;

PersonalBest& bestOf(Bests& bests, BestKind kind)
{
    return bests[std::size_t(kind)];
}

// The ride now holds the record. Callers offer a ride only when it beats the
// record: of equal values the earlier ride keeps it.
void heldBy(PersonalBest& best, const SeasonRide& ride)
{
    best.found = true;
    best.rideId = ride.id;
    best.day = ride.day;
}

// The kilometres and rides of one week, month or year while the rides are
// walked in day order.
struct Period
{
    QDate start;
    const SeasonRide* first = nullptr;
    qint64 km = 0;
    qint64 rides = 0;
};

void closePeriod(PersonalBest& best, const Period& period, qint64 amount)
{
    if (period.first == nullptr || amount <= 0 || (best.found && amount <= best.count))
        return;
    best.found = true;
    best.rideId = period.first->id;
    best.day = period.first->day;
    best.count = amount;
    best.periodStart = period.start;
}

void addTo(Period& period, const QDate& start, const SeasonRide& ride, qint64 km,
           PersonalBest& best, bool countRides)
{
    if (period.first != nullptr && period.start != start) {
        closePeriod(best, period, countRides ? period.rides : period.km);
        period = Period{};
    }
    if (period.first == nullptr) {
        period.start = start;
        period.first = &ride;
    }
    period.km = addKilometres(period.km, km);
    ++period.rides;
}
} // namespace

std::array<PersonalBest, bestKindCount> personalBests(const QVector<SeasonRide>& rides)
{
    Bests bests;
    for (int k = 0; k < bestKindCount; ++k)
        bests[std::size_t(k)].kind = BestKind(k);
    PersonalBest& distance = bestOf(bests, BestKind::LongestDistance);
    PersonalBest& time = bestOf(bests, BestKind::LongestTime);
    PersonalBest& climbing = bestOf(bests, BestKind::MostClimbing);
    PersonalBest& fastest = bestOf(bests, BestKind::FastestRide);
    PersonalBest& week = bestOf(bests, BestKind::BiggestWeek);
    PersonalBest& month = bestOf(bests, BestKind::BiggestMonth);
    PersonalBest& year = bestOf(bests, BestKind::MostRidesInYear);
    Period inWeek;
    Period inMonth;
    Period inYear;

    for (const SeasonRide& ride : rides) {
        if (ride.dst > Fixed4() && (!distance.found || ride.dst > distance.amount)) {
            heldBy(distance, ride);
            distance.amount = ride.dst;
        }
        if (ride.seconds > 0 && (!time.found || ride.seconds > time.count)) {
            heldBy(time, ride);
            time.count = ride.seconds;
        }
        if (ride.alt > 0 && (!climbing.found || ride.alt > climbing.count)) {
            heldBy(climbing, ride);
            climbing.count = ride.alt;
        }
        if (ride.seconds > 0 && ride.dst >= fastestRideMinimum) {
            const Fixed4 speed = averageSpeed(QTime(0, 0).addSecs(ride.seconds), ride.dst);
            if (!fastest.found || speed > fastest.amount) {
                heldBy(fastest, ride);
                fastest.amount = speed;
            }
        }
        if (!ride.day.isValid())
            continue;
        const qint64 km = wholeKilometres(ride);
        addTo(inWeek, ride.day.addDays(1 - ride.day.dayOfWeek()), ride, km, week, false);
        addTo(inMonth, QDate(ride.day.year(), ride.day.month(), 1), ride, km, month, false);
        addTo(inYear, QDate(ride.day.year(), 1, 1), ride, km, year, true);
    }
    closePeriod(week, inWeek, inWeek.km);
    closePeriod(month, inMonth, inMonth.km);
    closePeriod(year, inYear, inYear.rides);
    return bests;
}

QString bestValueText(const PersonalBest& best, const QLocale& locale)
{
    if (!best.found)
        return {};
    const QString twoDecimals = QStringLiteral("0.00");
    switch (best.kind) {
    case BestKind::LongestDistance:
        return formatPicture(twoDecimals, best.amount, locale) + QStringLiteral(" km");
    case BestKind::LongestTime:
        // As a duration total writes hours: not wrapped at a day.
        return QString::number(best.count / 3600) + QLatin1Char(':') +
               QString::number(best.count / 60 % 60).rightJustified(2, QLatin1Char('0')) +
               QLatin1Char(':') +
               QString::number(best.count % 60).rightJustified(2, QLatin1Char('0'));
    case BestKind::MostClimbing:
        return locale.toString(best.count) + QStringLiteral(" m");
    case BestKind::FastestRide:
        return formatPicture(twoDecimals, best.amount, locale) + QStringLiteral(" km/h");
    case BestKind::BiggestWeek:
    case BestKind::BiggestMonth:
        return locale.toString(best.count) + QStringLiteral(" km");
    case BestKind::MostRidesInYear:
        return ridesText(best.count, locale);
    }
    return {};
}

QString bestWhenText(const PersonalBest& best, const QLocale& locale)
{
    if (!best.found)
        return {};
    switch (best.kind) {
    case BestKind::BiggestWeek:
        return locale.toString(best.periodStart, QLocale::ShortFormat);
    case BestKind::BiggestMonth: {
        QString name = locale.standaloneMonthName(best.periodStart.month(), QLocale::LongFormat);
        // Czech names the month in lower case; here it starts the cell.
        if (!name.isEmpty())
            name[0] = name.at(0).toUpper();
        return name + QLatin1Char(' ') + QString::number(best.periodStart.year());
    }
    case BestKind::MostRidesInYear:
        return QString::number(best.periodStart.year());
    default:
        return locale.toString(best.day, QLocale::ShortFormat);
    }
}

QString bestTitle(BestKind kind)
{
    switch (kind) {
    case BestKind::LongestDistance:
        return Msg::text(Msg::BestLongestDistance);
    case BestKind::LongestTime:
        return Msg::text(Msg::BestLongestTime);
    case BestKind::MostClimbing:
        return Msg::text(Msg::BestMostClimbing);
    case BestKind::FastestRide:
        return Msg::text(Msg::BestFastestRide);
    case BestKind::BiggestWeek:
        return Msg::text(Msg::BestBiggestWeek);
    case BestKind::BiggestMonth:
        return Msg::text(Msg::BestBiggestMonth);
    case BestKind::MostRidesInYear:
        return Msg::text(Msg::BestMostRidesInYear);
    }
    return {};
}

QString ridesText(qint64 rides, const QLocale& locale)
{
    // One, a few (2 to 4) and many: the forms Czech needs; English gives the
    // last two the same text.
    const int id = rides == 1                 ? Msg::RidesOne
                   : rides >= 2 && rides <= 4 ? Msg::RidesFew
                                              : Msg::RidesMany;
    return Msg::format(id, {locale.toString(rides)});
}
