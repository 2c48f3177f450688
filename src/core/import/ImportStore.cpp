#include "ImportStore.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "records/YearOdometer.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/ImportRecords.h"
#include "store/RideFilter.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace {

Fixed4 roundedOrZero(const QVariant& value)
{
    return value.isNull() ? Fixed4() : value.value<Fixed4>().roundedTo2();
}

// The recomputation takes a year's first reading as its base. Rides
// imported ahead of the ride that held it would take that over, and the
// reading the user entered would be lost: the first of them gets the base
// that leads to it instead, as a ride saved ahead of it does. When none
// does (the reading is less than the distances before it), the chain runs
// as the recomputation has it.
void keepYearBase(ADOTable& table, QVector<RideRow>& rows, const QString& user, int year)
{
    const QVector<RideRow> stored = table.peekRows(
        RideFilter::year(user, year), {RideField::date, RideField::odo, RideField::dst});
    if (stored.isEmpty() || stored.first()[fieldIndex(RideField::odo)].isNull())
        return;
    const RideRow& held = stored.first();
    const QDateTime heldOn = held[fieldIndex(RideField::date)].toDateTime();
    QVector<int> ahead;
    for (int k = 0; k < rows.size(); ++k) {
        const RideRow& row = rows.at(k);
        if (row[fieldIndex(RideField::user)].toString() == user &&
            row[fieldIndex(RideField::year)].toInt() == year &&
            row[fieldIndex(RideField::date)].toDateTime() < heldOn)
            ahead.append(k);
    }
    if (ahead.isEmpty())
        return;
    // In the table's order: by date, then as inserted.
    std::stable_sort(ahead.begin(), ahead.end(), [&rows](int a, int b) {
        return rows.at(a)[fieldIndex(RideField::date)].toDateTime() <
               rows.at(b)[fieldIndex(RideField::date)].toDateTime();
    });
    Fixed4 after = roundedOrZero(held[fieldIndex(RideField::dst)]);
    for (int j = 1; j < ahead.size(); ++j)
        after += roundedOrZero(rows.at(ahead.at(j))[fieldIndex(RideField::dst)]);
    const Fixed4 base = roundedOrZero(held[fieldIndex(RideField::odo)]) - after;
    if (base >= Fixed4())
        rows[ahead.first()][fieldIndex(RideField::odo)] = QVariant::fromValue(base);
}

} // namespace

QVector<int> storeRides(ADOTable& table, const QVector<RideToStore>& rides, int* failedAt)
{
    if (rides.isEmpty())
        return {};
    QVector<RideRow> rows;
    rows.reserve(rides.size());
    // Each cyclist's year once, by the first ride in it: a failure of its
    // recomputation names that ride.
    std::map<std::pair<QString, int>, int> years;
    for (const RideToStore& ride : rides) {
        years.try_emplace({ride.row[fieldIndex(RideField::user)].toString(),
                           ride.row[fieldIndex(RideField::year)].toInt()},
                          int(rows.size()));
        rows.append(ride.row);
    }

    ADOConnection& connection = *table.connection();
    ControlsDetached detached(&table);
    int current = 0;
    QVector<int> ids;
    try {
        connection.begin();
        for (const auto& [year, first] : years) {
            current = first;
            keepYearBase(table, rows, year.first, year.second);
        }
        ids = table.insertRows(rows, &current);
        for (current = 0; current < rides.size(); ++current) {
            for (const ImportRecords::ImportedFile& file : rides.at(current).files)
                ImportRecords::add(connection, file.sha256, ids.at(current), file.fileName,
                                   file.importedAt);
        }
        for (const auto& [year, first] : years) {
            current = first;
            recomputeYearOdometer(table, year.first, year.second);
        }
        current = 0;
        connection.commit();
    } catch (...) {
        connection.rollback();
        if (failedAt)
            *failedAt = std::clamp(current, 0, int(rides.size()) - 1);
        throw;
    }
    detached.releaseOnlyChanges();
    return ids;
}

QVector<RideRow> storeImportedRides(ADOTable& table, const QVector<RideToImport>& rides,
                                    const QDateTime& importedAt)
{
    if (rides.isEmpty())
        return {};
    QVector<RideToStore> toStore;
    toStore.reserve(rides.size());
    for (const RideToImport& ride : rides)
        toStore.append({ride.row, {{ride.sha256, QFileInfo(ride.path).fileName(), importedAt}}});
    // The ride whose file a failure names.
    int current = 0;
    QVector<int> ids;
    try {
        ids = storeRides(table, toStore, &current);
    } catch (const RydexError& e) {
        throw RydexError(Msg::format(Msg::ImportNotStored,
                                     {QDir::toNativeSeparators(rides.at(current).path), e.text()}),
                         e.kind());
    }
    std::set<std::pair<QString, int>> years;
    for (const RideToImport& ride : rides)
        years.insert({ride.row[fieldIndex(RideField::user)].toString(),
                      ride.row[fieldIndex(RideField::year)].toInt()});

    // As stored now: the recomputation gave each its odometer reading. The
    // year sets it walked are still kept, so this reads nothing again.
    QList<RideField> fields;
    for (int i = 1; i < rideFieldCount; ++i)
        fields << static_cast<RideField>(i);
    QHash<int, RideRow> byId;
    for (const auto& [user, year] : years) {
        for (const RideRow& row : table.peekRows(RideFilter::year(user, year), fields))
            byId.insert(row[fieldIndex(RideField::id)].toInt(), row);
    }
    QVector<RideRow> stored;
    stored.reserve(rides.size());
    for (int k = 0; k < rides.size(); ++k) {
        RideRow row = byId.value(ids.at(k), rides.at(k).row);
        row[fieldIndex(RideField::id)] = ids.at(k);
        stored.append(row);
    }
    return stored;
}
