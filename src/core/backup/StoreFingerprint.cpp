#include "backup/StoreFingerprint.h"

#include "base/RydexError.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
QStringList firstRow(const QSqlDatabase& store, const QString& sql)
{
    QSqlQuery q(store);
    if (!q.exec(sql) || !q.next())
        throw RydexError(q.lastError().text(), RydexError::Kind::Store);
    QStringList values;
    for (int i = 0; i < q.record().count(); ++i)
        values << q.value(i).toString();
    return values;
}
} // namespace

QString storeFingerprint(const QSqlDatabase& store, const std::optional<QByteArray>& preferences)
{
    // A new ride raises the highest row number and an edit its row's version;
    // a deletion lowers the count, and the highest number ever given (the
    // sequence) never falls back, so no mix of changes gives the same values.
    QStringList parts = firstRow(
        store, QStringLiteral("SELECT count(*), coalesce(max(id), 0), coalesce(sum(version), 0), "
                              "(SELECT coalesce(max(seq), 0) FROM sqlite_sequence), "
                              "(SELECT count(*) FROM imports) FROM rydex"));
    parts << QString::fromLatin1(
        preferences ? QCryptographicHash::hash(*preferences, QCryptographicHash::Sha256).toHex()
                    : QByteArray("-"));
    return parts.join(QLatin1Char(' '));
}
