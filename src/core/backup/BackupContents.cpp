#include "backup/BackupContents.h"

#include "backup/BackupFile.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "prefs/PreferenceFormat.h"
#include "store/ADOConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {
[[noreturn]] void refuse(int id, const QString& path, const QStringList& more = {})
{
    throw RydexError(Msg::format(id, QStringList{QDir::toNativeSeparators(path)} + more));
}

QString engineText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

quint32 bigEndian32(const uchar* p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

// Whether the file looks like one of our backups before any engine touches
// it: a database in rollback-journal mode (a ride store and a copy of one are
// in log mode, and even a read-only look at those leaves files beside them),
// as long as its header says. Throws otherwise.
void checkHeader(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        refuse(Msg::BackupUnreadable, path, {Msg::text(Msg::NotARegularFile)});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(Msg::BackupUnreadable, path, {file.errorString()});
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3\0", 16)))
        refuse(Msg::BackupNotDatabase, path);
    const auto* p = reinterpret_cast<const uchar*>(header.constData());
    if (p[18] != 1 || p[19] != 1)
        refuse(Msg::BackupForeign, path);
    const quint32 pageSize = (p[16] << 8 | p[17]) == 1 ? 65536u : quint32(p[16] << 8 | p[17]);
    const quint32 pages = bigEndian32(p + 28);
    if (bigEndian32(p + 24) == bigEndian32(p + 92) && qint64(pageSize) * pages > file.size())
        refuse(Msg::BackupDamaged, path,
               {QStringLiteral("the file is shorter than its header says (%1 of %2 bytes)")
                    .arg(file.size())
                    .arg(qint64(pageSize) * pages)});
}

// A read-only connection that leaves nothing beside the file when it ends.
class ReadOnlyDatabase
{
public:
    explicit ReadOnlyDatabase(const QString& path)
        : m_name(QStringLiteral("rydex-backup-read-") +
                 QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            if (!QFileInfo::exists(path + QLatin1String(suffix)))
                m_absent << path + QLatin1String(suffix);
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            m_failure = engineText(db.lastError());
    }
    ~ReadOnlyDatabase()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
        for (const QString& trace : std::as_const(m_absent))
            QFile::remove(trace);
    }
    ReadOnlyDatabase(const ReadOnlyDatabase&) = delete;
    ReadOnlyDatabase& operator=(const ReadOnlyDatabase&) = delete;

    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }
    const QString& failure() const { return m_failure; }

private:
    QString m_name;
    QStringList m_absent;
    QString m_failure;
};

QHash<QString, QVariant> backupTable(const ReadOnlyDatabase& db, const QString& path)
{
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                               "name = 'rydex_backup'")) ||
        !q.next())
        refuse(Msg::BackupDamaged, path, {engineText(q.lastError())});
    if (q.value(0).toInt() == 0)
        refuse(Msg::BackupForeign, path);
    if (!q.exec(QStringLiteral("SELECT name, value FROM rydex_backup")))
        refuse(Msg::BackupTablesUnexpected, path, {engineText(q.lastError())});
    QHash<QString, QVariant> values;
    while (q.next())
        values.insert(q.value(0).toString(), q.value(1));
    if (values.value(QStringLiteral("format")).toString() != QLatin1String(BackupFile::marker))
        refuse(Msg::BackupForeign, path);
    return values;
}

void checkFormat(const ReadOnlyDatabase& db, const QString& path,
                 const QHash<QString, QVariant>& values)
{
    bool ok = false;
    const int format = values.value(QStringLiteral("format_version")).toInt(&ok);
    if (!ok)
        refuse(Msg::BackupTablesUnexpected, path, {QStringLiteral("format_version")});
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        refuse(Msg::BackupDamaged, path, {engineText(q.lastError())});
    // A newer store inside a backup of this format is just as unreadable.
    if (format > BackupFile::formatVersion || q.value(0).toInt() > ADOConnection::schemaVersion)
        refuse(Msg::BackupNewer, path,
               {values.value(QStringLiteral("program_version")).toString(), QString::number(format),
                QString::number(BackupFile::formatVersion)});
}

void checkPagesOf(const ReadOnlyDatabase& db, const QString& path)
{
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("PRAGMA integrity_check(1)")) || !q.next())
        refuse(Msg::BackupDamaged, path, {engineText(q.lastError())});
    const QString result = q.value(0).toString();
    if (result != QLatin1String("ok"))
        refuse(Msg::BackupDamaged, path, {result});
}

void checkTables(const ReadOnlyDatabase& db, const QString& path)
{
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("SELECT name, type, pk FROM pragma_table_info('rydex')")))
        refuse(Msg::BackupDamaged, path, {engineText(q.lastError())});
    QHash<QString, QString> declared;
    while (q.next())
        declared.insert(q.value(0).toString().toLower(),
                        q.value(1).toString().toUpper() +
                            (q.value(2).toInt() == 1 ? QStringLiteral(" PK") : QString()));
    if (declared.isEmpty())
        refuse(Msg::BackupTablesUnexpected, path, {QStringLiteral("no such table: rydex")});
    const QString problem = ADOConnection::rideColumnsProblem(declared, false);
    if (!problem.isEmpty())
        refuse(Msg::BackupTablesUnexpected, path, {problem});
    if (!q.exec(QStringLiteral("SELECT sha256, ride, file, imported FROM imports LIMIT 0")))
        refuse(Msg::BackupTablesUnexpected, path, {engineText(q.lastError())});
}

void readRides(const ReadOnlyDatabase& db, const QString& path, BackupContents& contents)
{
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("SELECT user, count(*), min(date), max(date) FROM rydex "
                               "GROUP BY user ORDER BY user")))
        refuse(Msg::BackupDamaged, path, {engineText(q.lastError())});
    while (q.next()) {
        contents.cyclists.append({q.value(0).toString(), q.value(1).toInt()});
        contents.rides += q.value(1).toInt();
        const QDate first = QDate::fromString(q.value(2).toString().left(10), Qt::ISODate);
        const QDate last = QDate::fromString(q.value(3).toString().left(10), Qt::ISODate);
        if (first.isValid() && (!contents.firstRide.isValid() || first < contents.firstRide))
            contents.firstRide = first;
        if (last.isValid() && (!contents.lastRide.isValid() || last > contents.lastRide))
            contents.lastRide = last;
    }
}
} // namespace

BackupContents readBackup(const QString& path, bool checkPages)
{
    checkHeader(path);
    const ReadOnlyDatabase db(path);
    if (!db.failure().isEmpty())
        refuse(Msg::BackupUnreadable, path, {db.failure()});
    if (checkPages)
        checkPagesOf(db, path);
    const QHash<QString, QVariant> values = backupTable(db, path);
    checkFormat(db, path, values);
    checkTables(db, path);

    BackupContents contents;
    contents.taken =
        QDateTime::fromString(values.value(QStringLiteral("taken")).toString(), Qt::ISODate);
    if (!contents.taken.isValid())
        refuse(Msg::BackupTablesUnexpected, path, {QStringLiteral("taken")});
    contents.programVersion = values.value(QStringLiteral("program_version")).toString();
    contents.fingerprint = values.value(QStringLiteral("fingerprint")).toString();
    const QVariant preferences = values.value(QStringLiteral("preferences"));
    if (preferences.isValid() && !preferences.isNull()) {
        const QByteArray bytes = preferences.toByteArray();
        if (PreferenceFormat::parse(bytes).damaged)
            refuse(Msg::BackupPreferencesDamaged, path);
        contents.preferences = bytes;
    }
    readRides(db, path, contents);
    return contents;
}

std::optional<QString> backupFingerprint(const QString& path)
{
    try {
        checkHeader(path);
        const ReadOnlyDatabase db(path);
        if (!db.failure().isEmpty())
            return std::nullopt;
        return backupTable(db, path).value(QStringLiteral("fingerprint")).toString();
    } catch (const RydexError&) {
        return std::nullopt;
    }
}
