#include "store/ImportRecords.h"

#include "store/ADOConnection.h"

#include <QSqlQuery>

namespace ImportRecords {

QHash<QByteArray, int> importedFiles(ADOConnection& connection, const QString& cyclist)
{
    // Through the ride table: an entry whose ride is gone (a copy without
    // the trigger deleted it) or is another cyclist's keeps nothing out.
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    ADOConnection::prepare(q, QStringLiteral("SELECT i.sha256, i.ride FROM imports AS i"
                                             " JOIN rydex AS r ON r.id = i.ride"
                                             " WHERE r.user = ? ORDER BY i.rowid"));
    q.addBindValue(cyclist);
    ADOConnection::exec(q);
    QHash<QByteArray, int> files;
    while (q.next())
        files.insert(QByteArray::fromHex(q.value(0).toString().toLatin1()), q.value(1).toInt());
    return files;
}

void add(ADOConnection& connection, const QByteArray& sha256, int rideId,
         const QString& fileName, const QDateTime& importedAt)
{
    // Hex, so that the entries read plainly in any database tool.
    QSqlQuery q(connection.database());
    ADOConnection::prepare(
        q, QStringLiteral("INSERT INTO imports (sha256, ride, file, imported) VALUES (?, ?, ?, ?)"));
    q.addBindValue(QString::fromLatin1(sha256.toHex()));
    q.addBindValue(rideId);
    q.addBindValue(fileName);
    q.addBindValue(importedAt.toString(Qt::ISODate));
    ADOConnection::exec(q);
}

} // namespace ImportRecords
