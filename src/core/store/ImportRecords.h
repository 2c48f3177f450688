#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>

class ADOConnection;

// The table `imports`: which file content (SHA-256) gave which ride, the
// file's name and the time of the import. The store's ride table keeps its
// columns. Deleting a ride deletes its entry (a trigger in the store, so that
// any copy of the program that deletes a ride does it), and the ride can be
// imported again.
namespace ImportRecords {

// The contents imported before for the cyclist's rides still stored, to the
// ride each gave.
QHash<QByteArray, int> importedFiles(ADOConnection& connection, const QString& cyclist);

// Adds an entry; throws RydexError with the engine's text. Runs in the
// transaction in force.
void add(ADOConnection& connection, const QByteArray& sha256, int rideId, const QString& fileName,
         const QDateTime& importedAt);

// What an entry says of the file a ride came from.
struct ImportedFile
{
    QByteArray sha256;
    QString fileName;
    QDateTime importedAt;
};

// The entries of the cyclist's rides still stored, by ride, in the order
// they were made.
QHash<int, QVector<ImportedFile>> filesOfRides(ADOConnection& connection, const QString& cyclist);

} // namespace ImportRecords
