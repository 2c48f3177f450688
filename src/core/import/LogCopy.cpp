#include "LogCopy.h"

#include "ImportPlan.h"
#include "ImportStore.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/ImportRecords.h"

#include <QDate>
#include <QHash>
#include <QMap>

#include <algorithm>
#include <map>

namespace {

bool identical(const RideIdentity& a, const RideIdentity& b)
{
    return a.day == b.day && a.seconds == b.seconds && a.km == b.km;
}

// The rule compares rides of one day only: the target's rides by their day,
// so that a long log is not compared ride by ride with another.
using RidesByDay = QHash<QDate, QVector<RideIdentity>>;

// Whether the target holds the ride: the import's rule, or, for a ride the
// rule has nothing to compare in (no day, or neither time nor distance),
// the same values exactly, so that such a ride is not copied again either.
bool alreadyThere(const RideRow& row, const QVector<ImportRecords::ImportedFile>& files,
                  const RidesByDay& stored, const QHash<QByteArray, int>& knownFiles)
{
    for (const ImportRecords::ImportedFile& file : files) {
        if (!file.sha256.isEmpty() && knownFiles.contains(file.sha256))
            return true;
    }
    const RideIdentity identity = rideIdentity(row);
    const QVector<RideIdentity> sameDay = stored.value(identity.day);
    return std::any_of(sameDay.begin(), sameDay.end(), [&identity](const RideIdentity& s) {
        return sameRide(identity, s) || identical(identity, s);
    });
}

} // namespace

LogCopyResult copyLog(ADOConnection& from, ADOConnection& to,
                      const std::function<bool(int done, int total)>& progress)
{
    // Tables of their own: the windows' cursors stay where the user left
    // them, and the caller refreshes them once.
    QMap<QString, QVector<RideRow>> byCyclist;
    int total = 0;
    {
        ADOTable source(&from);
        source.setFiltered(false);
        source.open();
        // By cyclist, each in the order the store lists his rides.
        for (const RideRow& row : source.rows())
            byCyclist[row[fieldIndex(RideField::user)].toString()].append(row);
        total = source.recordCount();
        // Every ride of the store, kept for reuse, would only crowd out the
        // sets the windows read again and again.
        source.forgetCachedSets();
    }
    ADOTable target(&to);
    target.open();
    LogCopyResult result;
    int done = 0;
    const auto goOn = [&] { return !progress || progress(done, total); };
    if (!goOn())
        return result;
    for (auto cyclist = byCyclist.cbegin(); cyclist != byCyclist.cend(); ++cyclist) {
        // What the target held before: the rides of one log are never one
        // another, as the rides of one file are not.
        RidesByDay stored;
        for (const StoredRide& ride : storedRidesOf(target, cyclist.key()))
            stored[ride.identity.day].append(ride.identity);
        const QHash<QByteArray, int> knownFiles = ImportRecords::importedFiles(to, cyclist.key());
        const QHash<int, QVector<ImportRecords::ImportedFile>> files =
            ImportRecords::filesOfRides(from, cyclist.key());
        struct Year
        {
            QVector<RideToStore> toStore;
            int there = 0;
            int count = 0;
        };
        std::map<int, Year> years;
        for (const RideRow& row : cyclist.value()) {
            Year& year = years[row[fieldIndex(RideField::year)].toInt()];
            ++year.count;
            const QVector<ImportRecords::ImportedFile> own =
                files.value(row[fieldIndex(RideField::id)].toInt());
            if (alreadyThere(row, own, stored, knownFiles))
                ++year.there;
            else
                year.toStore.append({row, own});
        }
        for (const auto& [number, year] : years) {
            storeRides(target, year.toStore);
            result.copied += int(year.toStore.size());
            result.alreadyThere += year.there;
            done += year.count;
            if (!goOn())
                return result;
        }
    }
    return result;
}
