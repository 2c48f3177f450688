#pragma once

#include <QString>

class QWidget;

// The window in which "Restore..." offers the backups of folder, newest
// first, each with when it was taken, its cyclists and their rides, and a
// button for any other file. Answers the chosen file, empty when cancelled.
QString chooseBackupToRestore(QWidget* parent, const QString& folder);
