#include "store/ImportRecords.h"

#include "store/ADOConnection.h"
#include "store/RideRepository.h"

namespace ImportRecords {

QHash<QByteArray, int> importedFiles(ADOConnection& connection, const QString& cyclist)
{
    return connection.rides().importedFiles(cyclist);
}

void add(ADOConnection& connection, const QByteArray& sha256, int rideId, const QString& fileName,
         const QDateTime& importedAt)
{
    connection.rides().addImport(sha256, rideId, fileName, importedAt);
}

QHash<int, QVector<ImportedFile>> filesOfRides(ADOConnection& connection, const QString& cyclist)
{
    QHash<int, QVector<ImportedFile>> files;
    for (const RideRepository::ImportEntry& entry : connection.rides().importEntries(cyclist))
        files[entry.rideId].append({entry.sha256, entry.fileName, entry.importedAt});
    return files;
}

} // namespace ImportRecords
