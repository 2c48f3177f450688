#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <functional>
#include <optional>

// One file holding everything of an installation: the ride store as it is at
// one moment (every cyclist's rides and the import records), the preference
// file's bytes, and a table of its own saying what it is, which program made
// it and when.
namespace BackupFile {
// What the backup's own table starts with, so that no other database and no
// ride store passes for a backup.
inline constexpr const char* marker = "Rydex 2005 backup";
// Raised when a backup holds something an older program would misread.
inline constexpr int formatVersion = 1;
inline constexpr const char* suffix = ".rydexbackup";

struct Extras
{
    // The preference file's bytes; nothing when there is no file yet.
    std::optional<QByteArray> preferences;
    QDateTime taken;
    // What the store held, to tell later whether anything was written since.
    QString fingerprint;
};

// Writes store (an open connection to a ride store, read-only will do) and
// extras to target: a consistent snapshot made under a temporary name in
// target's folder, flushed to disc and renamed into place, owner-only. Throws
// RydexError when it cannot; target is then as it was and no temporary file
// remains.
void write(const QSqlDatabase& store, const QString& target, const Extras& extras);

// The preference file's bytes; nothing when there is no file. Throws
// RydexError when it cannot be read.
std::optional<QByteArray> readPreferences(const QString& path);

// Runs work on a read-only connection of its own to the store at storePath,
// for a thread other than the program's or while the program's is closed.
// Throws RydexError when the store cannot be opened; work's errors pass.
void onReadOnlyConnection(const QString& storePath,
                          const std::function<void(const QSqlDatabase&)>& work);

// Runs work with a query on a connection of its own to the database at
// path; work answers false when a statement failed. Empty when all went
// through, else the engine's text.
QString onConnection(const QString& path, const std::function<bool(QSqlQuery&)>& work);

// Removes the temporary files of backups in folder that no one writes any
// more (a program killed while writing one): of every backup, or of the one
// named name.
void removeInterrupted(const QString& folder, const QString& name = {});

// "Rydex 2005 backup 2026-12-10.rydexbackup"
QString defaultName(const QDate& day);
// The day in a default name; nothing for any other name.
std::optional<QDate> dayOfName(const QString& fileName);
} // namespace BackupFile
