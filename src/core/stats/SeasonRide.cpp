#include "stats/SeasonRide.h"

#include "base/MessageCatalogue.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "base/RydexError.h"

#include <algorithm>

qint64 wholeKilometres(const SeasonRide& ride)
{
    return ride.dst.roundedToWholeEven();
}

qint64 addKilometres(qint64 sum, qint64 km)
{
    qint64 total = 0;
    if (__builtin_add_overflow(sum, km, &total))
        throw RydexError(Msg::text(Msg::NumberOutOfRange), RydexError::Kind::Range);
    return total;
}

qint64 kilometresOf(std::span<const SeasonRide> rides)
{
    qint64 km = 0;
    for (const SeasonRide& ride : rides)
        km = addKilometres(km, wholeKilometres(ride));
    return km;
}

std::span<const SeasonRide> ridesBetween(const QVector<SeasonRide>& rides, const QDate& first,
                                         const QDate& last)
{
    const SeasonRide* begin = rides.constData();
    const SeasonRide* end = begin + rides.size();
    // Rides without a valid day sort first; no range of days holds them.
    if (!first.isValid() || !last.isValid())
        return {end, end};
    const SeasonRide* from = std::lower_bound(
        begin, end, first, [](const SeasonRide& r, const QDate& d) { return r.day < d; });
    const SeasonRide* to = std::upper_bound(
        from, end, last, [](const QDate& d, const SeasonRide& r) { return d < r.day; });
    return {from, to};
}

QVector<SeasonRide> readSeasonRides(ADOTable& table, const QString& cyclist)
{
    const QVector<RideRow> rows = table.peekRows(
        RideFilter::cyclist(cyclist),
        {RideField::date, RideField::time, RideField::dst, RideField::alt, RideField::pulse});
    QVector<SeasonRide> rides;
    rides.reserve(rows.size());
    for (const RideRow& row : rows) {
        SeasonRide ride;
        ride.id = row[fieldIndex(RideField::id)].toInt();
        ride.day = row[fieldIndex(RideField::date)].toDateTime().date();
        const QVariant time = row[fieldIndex(RideField::time)];
        if (!time.isNull()) {
            const QTime t = time.toTime();
            if (t.isValid())
                ride.seconds = (t.hour() * 60 + t.minute()) * 60 + t.second();
        }
        const QVariant dst = row[fieldIndex(RideField::dst)];
        if (!dst.isNull())
            ride.dst = dst.value<Fixed4>();
        ride.alt = row[fieldIndex(RideField::alt)].toInt();
        ride.pulse = row[fieldIndex(RideField::pulse)].toInt();
        rides.append(ride);
    }
    // The table orders by date and id already; a date stored with a time of
    // day by another tool must still not put a ride out of its day.
    const auto earlier = [](const SeasonRide& a, const SeasonRide& b) {
        return a.day != b.day ? a.day < b.day : a.id < b.id;
    };
    if (!std::is_sorted(rides.cbegin(), rides.cend(), earlier))
        std::sort(rides.begin(), rides.end(), earlier);
    return rides;
}
