#include "backup/BackupRestore.h"

#include "backup/AutoBackup.h"
#include "backup/BackupFile.h"
#include "base/MessageCatalogue.h"
#include "base/PrivateFolder.h"
#include "base/RydexError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/file.h>
#include <unistd.h>

namespace {
[[noreturn]] void notRestored(const QString& path, const QString& why)
{
    throw RydexError(Msg::format(Msg::RestoreFailed, {QDir::toNativeSeparators(path), why}));
}

// Runs statements on a connection of its own to path; empty when all went
// through, else the engine's text.
QString onConnection(const QString& path, const QStringList& statements)
{
    return BackupFile::onConnection(path, [&statements](QSqlQuery& q) {
        return std::all_of(statements.begin(), statements.end(),
                           [&q](const QString& statement) { return q.exec(statement); });
    });
}

// Whether another connection (another copy of the program) has the store
// open: an exclusive lock is refused then. Closing the connection that got
// it also folds the log into the store and removes it, so no log of the old
// store is left to be replayed onto the new one.
bool storeInUse(const QString& storePath)
{
    return !onConnection(storePath, {QStringLiteral("PRAGMA busy_timeout=0"),
                                     QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"),
                                     QStringLiteral("BEGIN EXCLUSIVE"),
                                     QStringLiteral("SELECT count(*) FROM sqlite_master"),
                                     QStringLiteral("COMMIT")})
                .isEmpty();
}
} // namespace

RestoreResult restoreBackup(const QString& backupPath, const QString& storePath,
                            const QString& preferencePath, const QDateTime& now)
{
    RestoreResult result;
    result.restored = readBackup(backupPath);
    const QFileInfo store(storePath);
    const bool hadStore = store.exists();
    if (hadStore && storeInUse(storePath))
        throw RydexError(
            Msg::format(Msg::RestoreStoreInUse, {QDir::toNativeSeparators(storePath)}));

    if (hadStore) {
        const AutoBackup automatic(storePath, preferencePath);
        if (const std::optional<QString> failure = PrivateFolder::create(automatic.folder()))
            notRestored(backupPath, *failure);
        result.before =
            QDir(automatic.folder())
                .filePath(QStringLiteral("Rydex 2005 backup before restore ") +
                          now.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
                          QLatin1String(BackupFile::suffix));
        BackupFile::Extras extras;
        extras.preferences = BackupFile::readPreferences(preferencePath);
        extras.taken = now;
        BackupFile::onReadOnlyConnection(storePath, [&](const QSqlDatabase& db) {
            BackupFile::write(db, result.before, extras);
        });
    } else if (const std::optional<QString> failure = PrivateFolder::create(store.absolutePath())) {
        notRestored(backupPath, *failure);
    }

    // Under the name an interrupted first start leaves, so that the store's
    // opening removes what a restore killed here left.
    QTemporaryFile built(store.absoluteFilePath() + QStringLiteral(".new-XXXXXX"));
    if (!built.open())
        notRestored(backupPath, built.errorString());
    ::flock(built.handle(), LOCK_EX);
    {
        QFile source(backupPath);
        if (!source.open(QIODevice::ReadOnly))
            notRestored(backupPath, source.errorString());
        while (!source.atEnd()) {
            const QByteArray chunk = source.read(1 << 20);
            if (built.write(chunk) != chunk.size())
                notRestored(backupPath, built.errorString());
        }
        built.flush();
    }
    const QString failure =
        onConnection(built.fileName(), {QStringLiteral("DROP TABLE rydex_backup"),
                                        QStringLiteral("PRAGMA journal_mode=WAL")});
    QFile::remove(built.fileName() + QStringLiteral("-journal"));
    if (!failure.isEmpty())
        notRestored(backupPath, failure);
    if (::fsync(built.handle()) != 0)
        notRestored(backupPath, QString::fromLocal8Bit(std::strerror(errno)));
    // The store is free: nobody may have opened it since the check.
    if (hadStore && storeInUse(storePath))
        throw RydexError(
            Msg::format(Msg::RestoreStoreInUse, {QDir::toNativeSeparators(storePath)}));
    // A log left beside the new store would be replayed onto it; the index
    // of the old one is only stale.
    const QString log = store.absoluteFilePath() + QStringLiteral("-wal");
    if (QFileInfo(log).size() > 0)
        notRestored(backupPath,
                    Msg::format(Msg::StoreDamagedLog, {QDir::toNativeSeparators(storePath),
                                                       QDir::toNativeSeparators(log)}));
    QFile::remove(log);
    QFile::remove(store.absoluteFilePath() + QStringLiteral("-shm"));
    if (::rename(QFile::encodeName(built.fileName()).constData(),
                 QFile::encodeName(store.absoluteFilePath()).constData()) != 0)
        notRestored(backupPath, QString::fromLocal8Bit(std::strerror(errno)));
    built.setAutoRemove(false);
    PrivateFolder::sync(store.absolutePath());

    if (result.restored.preferences) {
        QSaveFile preferences(preferencePath);
        if (!preferences.open(QIODevice::WriteOnly) ||
            preferences.write(*result.restored.preferences) !=
                result.restored.preferences->size() ||
            !preferences.commit())
            notRestored(preferencePath, preferences.errorString());
        QFile::setPermissions(preferencePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return result;
}
