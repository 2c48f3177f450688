#pragma once

#include "backup/BackupContents.h"

#include <QDateTime>
#include <QString>

// Puts what a backup holds in place of the ride store and the preference
// file. The backup is checked first and the current state is backed up
// beside the store ("backups", a name of its own that is never rotated
// away); the new store is built and flushed under a temporary name and
// renamed into place, the preference file likewise, so each file is the old
// one or the new one whole. The program's own connection must be closed.
//
// Throws RydexError, having changed nothing, when the backup is refused, the
// current state cannot be backed up, or another copy of the program has the
// store open.
struct RestoreResult
{
    BackupContents restored;
    // The backup of the state before, empty when there was no store.
    QString before;
};
RestoreResult restoreBackup(const QString& backupPath, const QString& storePath,
                            const QString& preferencePath, const QDateTime& now);
