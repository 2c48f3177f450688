#include "backup/BackupFile.h"

#include "base/AppIdentity.h"
#include "base/MessageCatalogue.h"
#include "base/PrivateFolder.h"
#include "base/RydexError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUuid>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
const QLatin1String partInfix(".part-");

QString engineText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

QString systemText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Adds the backup's own table to the copy at path; empty when done, else why not.
QString describe(const QString& path, const BackupFile::Extras& extras)
{
    return BackupFile::onConnection(path, [&extras](QSqlQuery& q) {
        // One file and nothing beside it, whatever journal the store keeps.
        const QStringList setup = {
            QStringLiteral("PRAGMA journal_mode=DELETE"),
            QStringLiteral("PRAGMA synchronous=FULL"),
            QStringLiteral("BEGIN IMMEDIATE"),
            QStringLiteral("CREATE TABLE rydex_backup (name TEXT PRIMARY KEY, value)"),
        };
        for (const QString& statement : setup) {
            if (!q.exec(statement))
                return false;
        }
        QList<std::pair<QString, QVariant>> rows = {
            {QStringLiteral("format"), QString::fromLatin1(BackupFile::marker)},
            {QStringLiteral("format_version"), BackupFile::formatVersion},
            {QStringLiteral("program_version"), QString::fromLatin1(AppIdentity::version)},
            {QStringLiteral("taken"), extras.taken.toUTC().toString(Qt::ISODate)},
            {QStringLiteral("fingerprint"), extras.fingerprint},
        };
        if (extras.preferences)
            rows.append({QStringLiteral("preferences"), *extras.preferences});
        for (const auto& [key, value] : rows) {
            if (!q.prepare(QStringLiteral("INSERT INTO rydex_backup VALUES (?, ?)")))
                return false;
            q.addBindValue(key);
            q.addBindValue(value);
            if (!q.exec())
                return false;
        }
        return q.exec(QStringLiteral("COMMIT"));
    });
}
} // namespace

void BackupFile::write(const QSqlDatabase& store, const QString& target, const Extras& extras)
{
    const QFileInfo info(target);
    const QString path = info.absoluteFilePath();
    const auto fail = [&path](const QString& why) {
        throw RydexError(Msg::format(Msg::BackupNotWritten, {QDir::toNativeSeparators(path), why}));
    };
    // A backup never takes the place of the store it copies (nor of the
    // engine's files beside it).
    const QString storeFile = QFileInfo(store.databaseName()).canonicalFilePath();
    for (const QString& own :
         {storeFile, storeFile + QStringLiteral("-wal"), storeFile + QStringLiteral("-shm")}) {
        if (!storeFile.isEmpty() && info.exists() && info.canonicalFilePath() == own)
            fail(Msg::text(Msg::BackupOverStore));
    }
    // What a copy killed while writing this backup left.
    removeInterrupted(info.absolutePath(), info.fileName());
    // Owner-only from the first byte; hidden, so that a file dialog does not
    // offer the unfinished copy.
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + partInfix +
                        QStringLiteral("XXXXXX"));
    if (!temp.open())
        fail(temp.errorString());
    // Held while the copy is written, so that removeInterrupted() leaves it be.
    ::flock(temp.handle(), LOCK_EX);
    const QString built = temp.fileName();
    const auto cleanUp = [&built] { QFile::remove(built + QStringLiteral("-journal")); };
    QSqlQuery vacuum(store);
    if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?"))) {
        fail(engineText(vacuum.lastError()));
    }
    vacuum.addBindValue(built);
    if (!vacuum.exec()) {
        const QString why = engineText(vacuum.lastError());
        cleanUp();
        fail(why);
    }
    vacuum.finish();
    const QString failure = describe(built, extras);
    cleanUp();
    if (!failure.isEmpty())
        fail(failure);
    if (::fsync(temp.handle()) != 0)
        fail(systemText());
    if (::rename(QFile::encodeName(built).constData(), QFile::encodeName(path).constData()) != 0)
        fail(systemText());
    temp.setAutoRemove(false);
    PrivateFolder::sync(info.absolutePath());
}

void BackupFile::removeInterrupted(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    static const QRegularExpression leftover(
        QStringLiteral("^\\..*\\.part-[A-Za-z0-9]{6}(-journal)?$"));
    const QString pattern = QLatin1Char('.') + (name.isEmpty() ? QStringLiteral("*") : name) +
                            partInfix + QLatin1Char('*');
    const QStringList names = dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& found : names) {
        if (!leftover.match(found).hasMatch())
            continue;
        const QString built = dir.filePath(found.endsWith(QLatin1String("-journal"))
                                               ? found.chopped(int(std::strlen("-journal")))
                                               : found);
        const int fd =
            ::open(QFile::encodeName(built).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            QFile::remove(dir.filePath(found));
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            QFile::remove(dir.filePath(found));
        ::close(fd);
    }
}

QString BackupFile::defaultName(const QDate& day)
{
    return QStringLiteral("Rydex 2005 backup ") + day.toString(Qt::ISODate) + QLatin1String(suffix);
}

std::optional<QDate> BackupFile::dayOfName(const QString& fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^Rydex 2005 backup (\\d{4}-\\d{2}-\\d{2})\\.rydexbackup$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate day = QDate::fromString(match.captured(1), Qt::ISODate);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

std::optional<QByteArray> BackupFile::readPreferences(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw RydexError(
            Msg::format(Msg::CannotOpenFile, {QDir::toNativeSeparators(path), file.errorString()}));
    return file.readAll();
}

void BackupFile::onReadOnlyConnection(const QString& storePath,
                                      const std::function<void(const QSqlDatabase&)>& work)
{
    const QString name =
        QStringLiteral("rydex-backup-store-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::exception_ptr failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(storePath);
        // Waits for a write of the program or of another copy as the
        // program's own connection does.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            failure = std::make_exception_ptr(
                RydexError(Msg::format(Msg::StoreNotValid, {QDir::toNativeSeparators(storePath),
                                                            engineText(db.lastError())}),
                           RydexError::Kind::Store));
        } else {
            try {
                work(db);
            } catch (...) {
                failure = std::current_exception();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (failure)
        std::rethrow_exception(failure);
}

QString BackupFile::onConnection(const QString& path, const std::function<bool(QSqlQuery&)>& work)
{
    const QString name =
        QStringLiteral("rydex-backup-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = engineText(db.lastError());
        } else {
            QSqlQuery q(db);
            if (!work(q))
                failure = engineText(q.lastError());
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return failure;
}
