#pragma once

#include "store/ImportRecords.h"
#include "store/RideFields.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

class ADOTable;

// A ride to store and the file it came from.
struct RideToImport
{
    RideRow row;
    QByteArray sha256;
    QString path;
};

// A ride to store and the entries of imports that come with it: none for a
// ride typed by hand, the file it was imported from for one that was.
struct RideToStore
{
    RideRow row;
    QVector<ImportRecords::ImportedFile> files;
};

// Stores the rides (their ids ignored) and their entries in one transaction
// with the store's own writes, then recomputes the odometer chain of each
// year they fall in, once per year, in the same transaction, and answers
// their ids in order. A ride stored ahead of the year's first ride keeps
// the reading entered for that ride where it can. When anything fails,
// nothing is stored, the RydexError carries the engine's text and, when
// given, failedAt the ride it concerns. The table's filter and set are as
// before; the caller refreshes the windows once.
QVector<int> storeRides(ADOTable& table, const QVector<RideToStore>& rides,
                        int* failedAt = nullptr);

// Stores rides read from files as storeRides() does, each with the entry of
// its file imported at importedAt, and answers the rides as stored (with
// their ids and readings). A failure's RydexError names the file.
QVector<RideRow> storeImportedRides(ADOTable& table, const QVector<RideToImport>& rides,
                                    const QDateTime& importedAt);
