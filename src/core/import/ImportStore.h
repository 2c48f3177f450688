#pragma once

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

// Stores the rides and their import entries in one transaction with the
// store's own writes, then recomputes the odometer chain of each year they
// fall in, once per year, in the same transaction. Answers the rides as
// stored (with their ids). When anything fails, nothing is stored and the
// RydexError names the file. The table's filter and set are as before; the
// caller refreshes the windows once.
QVector<RideRow> storeImportedRides(ADOTable& table, const QVector<RideToImport>& rides,
                                    const QDateTime& importedAt);
