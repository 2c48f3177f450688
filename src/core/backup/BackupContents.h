#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// What a backup holds, as far as a user choosing one needs to know.
struct BackupContents
{
    struct Cyclist
    {
        QString name;
        int rides = 0;
    };
    // Every cyclist with rides, alphabetically.
    QList<Cyclist> cyclists;
    int rides = 0;
    // Of all rides; invalid when there are none.
    QDate firstRide;
    QDate lastRide;
    QDateTime taken;
    QString programVersion;
    // The preference file's bytes; nothing when there was none.
    std::optional<QByteArray> preferences;
    QString fingerprint;
};

// Opens the file at path without changing it (nothing is left beside it) and
// checks it is a whole backup this program can read: a database, of ours, of
// a format and store version not newer than this program's, every page sound,
// the ride, import and backup tables as expected, the preferences readable.
// Throws RydexError with a message saying which of these failed. Without
// checkPages the check of every page is left out: enough for listing what
// backups hold, never for restoring one.
BackupContents readBackup(const QString& path, bool checkPages = true);

// Only the fingerprint of a backup, without the checks: nothing when the file
// is no backup that can be read.
std::optional<QString> backupFingerprint(const QString& path);
