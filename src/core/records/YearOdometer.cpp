#include "records/YearOdometer.h"

#include "base/RydexError.h"
#include "records/OdometerChain.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"

namespace {
std::optional<Fixed4> fixedOrEmpty(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.value<Fixed4>();
}
// Whether the ride saved on savedOn, with no reading of its own, now comes
// before the ride that held the year's base: the only ride of its day, ahead
// of a ride that holds a reading.
bool newFirstRide(const QVector<RideRow>& rows, const QVector<ChainRide>& rides,
                  const QDate& savedOn)
{
    if (!savedOn.isValid() || rows.size() < 2 || rides.at(0).odo || !rides.at(1).odo)
        return false;
    const auto day = [&rows](int k) {
        return rows.at(k)[fieldIndex(RideField::date)].toDateTime().date();
    };
    return day(0) == savedOn && day(1) > savedOn;
}
} // namespace

Fixed4 recomputeYearOdometer(ADOTable& table, const QString& cyclist, int year,
                             const OdometerProgress& progress)
{
    return recomputeYearOdometerAfterSave(table, cyclist, year, QDate(), progress).total;
}

YearOdometer recomputeYearOdometerAfterSave(ADOTable& table, const QString& cyclist, int year,
                                            const QDate& savedOn, const OdometerProgress& progress)
{
    ADOConnection* connection = table.connection();
    const RideFilter saved = table.rideFilter();
    const RideFilter yearFilter = RideFilter::year(cyclist, year);
    OdometerChain chain;
    try {
        connection->begin();
        if (table.rideFilter() == yearFilter)
            table.refresh();
        else
            table.setFilter(yearFilter);

        QVector<ChainRide> rides;
        rides.reserve(table.recordCount());
        for (const RideRow& row : table.rows())
            rides.append({fixedOrEmpty(row[fieldIndex(RideField::odo)]),
                          fixedOrEmpty(row[fieldIndex(RideField::dst)])});
        chain = computeOdometerChain(rides, newFirstRide(table.rows(), rides, savedOn));
        const int n = int(rides.size());

        // The year's readings go to the store together: on a server, one
        // statement rather than one for each ride.
        QVector<QVariant> readings;
        readings.reserve(n);
        for (int k = 0; k < n; ++k) {
            if (k == 0)
                readings.append(chain.base ? QVariant::fromValue(*chain.base)
                                           : table.rows().at(0)[fieldIndex(RideField::odo)]);
            else
                readings.append(QVariant::fromValue(chain.readings.at(k - 1)));
        }
        if (progress)
            progress(0, n);
        table.writeColumn(RideField::odo, readings, [&](int row) {
            if (progress && row > 0)
                progress(row, n);
        });
        connection->commit();
    } catch (...) {
        connection->rollback();
        // Nothing of this run is kept: the rows in memory are read again so
        // they match the store, and the filter in force before comes back.
        try {
            table.cancel();
            table.refresh();
            table.setFilter(saved);
        } catch (const RydexError&) {
            // The refusal that got us here is what the user needs to see.
        }
        throw;
    }
    table.setFilter(saved);
    return {chain.total, chain.firstReadingToCheck};
}
