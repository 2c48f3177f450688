#pragma once

#include "base/RydexError.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// The backups the program takes by itself, in a "backups" folder beside the
// store: at most one a day, only when the store or the preferences changed
// since the newest one, and only as many as backupsToKeep() keeps.
class AutoBackup
{
public:
    AutoBackup(QString storePath, QString preferencePath);

    QString folder() const;

    // Takes today's backup through store when one is due and removes those
    // no longer kept. Answers the file written, nothing when none was due.
    // Throws RydexError when the backup cannot be taken; what is there stays.
    std::optional<QString> run(const QSqlDatabase& store, const QDate& today,
                               const QDateTime& now) const;
    // The same through a read-only connection of its own, for a thread other
    // than the one that has the program's connection.
    std::optional<QString> runAlone(const QDate& today, const QDateTime& now) const;

private:
    std::optional<QString> take(const QSqlDatabase& store, const QDate& today,
                                const QDateTime& now) const;
    RydexError failed(const QString& why) const;
    void removeOld(const QDate& today) const;

    QString m_storePath;
    QString m_preferencePath;
};
