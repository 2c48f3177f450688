#include "records/YearOdometer.h"

#include "records/OdometerChain.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "store/RydexError.h"

namespace {
std::optional<Fixed4> fixedOrEmpty(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.value<Fixed4>();
}
} // namespace

Fixed4 recomputeYearOdometer(ADOTable& table, const QString& cyclist, int year,
                             const OdometerProgress& progress)
{
    ADOConnection* connection = table.connection();
    const QString saved = table.filter();
    const QString yearFilter = RideFilter::yearText(cyclist, year);
    OdometerChain chain;
    try {
        connection->begin();
        if (table.filter() == yearFilter)
            table.refresh();
        else
            table.setFilter(yearFilter);

        QVector<ChainRide> rides;
        rides.reserve(table.recordCount());
        for (const RideRow& row : table.rows())
            rides.append({fixedOrEmpty(row[fieldIndex(RideField::odo)]),
                          fixedOrEmpty(row[fieldIndex(RideField::dst)])});
        chain = computeOdometerChain(rides);
        const int n = int(rides.size());

        table.first();
        table.next();
        if (progress)
            progress(0, n);
        for (int k = 2; k <= n; ++k) {
            table.edit();
            table.setValue(RideField::odo, QVariant::fromValue(chain.readings.at(k - 2)));
            if (progress)
                progress(k - 1, n);
            table.post();
            table.next();
        }
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
    return chain.total;
}
