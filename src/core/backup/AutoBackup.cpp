#include "backup/AutoBackup.h"

#include "backup/BackupContents.h"
#include "backup/BackupFile.h"
#include "backup/BackupRotation.h"
#include "backup/StoreFingerprint.h"
#include "base/MessageCatalogue.h"
#include "base/PrivateFolder.h"
#include "base/RydexError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace {
// The automatic backups in folder by their days.
QMap<QDate, QString> backupsIn(const QString& folder)
{
    QMap<QDate, QString> found;
    const QDir dir(folder);
    const QStringList names = dir.entryList(
        {QStringLiteral("Rydex 2005 backup *") + QLatin1String(BackupFile::suffix)}, QDir::Files);
    for (const QString& name : names) {
        if (const std::optional<QDate> day = BackupFile::dayOfName(name))
            found.insert(*day, dir.filePath(name));
    }
    return found;
}
} // namespace

AutoBackup::AutoBackup(QString storePath, QString preferencePath)
    : m_storePath(std::move(storePath)), m_preferencePath(std::move(preferencePath))
{
}

QString AutoBackup::folder() const
{
    return QFileInfo(m_storePath).absoluteDir().filePath(QStringLiteral("backups"));
}

std::optional<QString> AutoBackup::run(const QSqlDatabase& store, const QDate& today,
                                       const QDateTime& now) const
{
    try {
        return take(store, today, now);
    } catch (const RydexError& e) {
        throw failed(e.text());
    }
}

RydexError AutoBackup::failed(const QString& why) const
{
    return RydexError(
        Msg::format(Msg::AutoBackupFailed, {QDir::toNativeSeparators(folder()), why}));
}

std::optional<QString> AutoBackup::take(const QSqlDatabase& store, const QDate& today,
                                        const QDateTime& now) const
{
    const QString dir = folder();
    if (const std::optional<QString> failure = PrivateFolder::create(dir))
        throw RydexError(*failure);
    BackupFile::removeInterrupted(dir);
    const QMap<QDate, QString> existing = backupsIn(dir);
    if (existing.contains(today))
        return std::nullopt;
    BackupFile::Extras extras;
    extras.taken = now;
    extras.preferences = BackupFile::readPreferences(m_preferencePath);
    extras.fingerprint = storeFingerprint(store, extras.preferences);
    // Nothing written since the newest backup, or nothing at all yet.
    const bool unchanged =
        existing.isEmpty()
            ? !extras.preferences && extras.fingerprint.startsWith(QLatin1String("0 0 0 0 0 "))
            : backupFingerprint(existing.last()) == extras.fingerprint;
    if (unchanged)
        return std::nullopt;
    const QString target = QDir(dir).filePath(BackupFile::defaultName(today));
    BackupFile::write(store, target, extras);
    removeOld(today);
    return target;
}

std::optional<QString> AutoBackup::runAlone(const QDate& today, const QDateTime& now) const
{
    std::optional<QString> written;
    try {
        BackupFile::onReadOnlyConnection(
            m_storePath, [&](const QSqlDatabase& store) { written = take(store, today, now); });
    } catch (const RydexError& e) {
        throw failed(e.text());
    }
    return written;
}

void AutoBackup::removeOld(const QDate& today) const
{
    const QMap<QDate, QString> existing = backupsIn(folder());
    const QList<QDate> keep = backupsToKeep(existing.keys(), today);
    for (auto it = existing.cbegin(); it != existing.cend(); ++it) {
        if (!keep.contains(it.key()))
            QFile::remove(it.value());
    }
}
