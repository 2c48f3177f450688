#pragma once

#include <QDate>
#include <QList>

// Which automatic backups to keep, by the days they were taken (one a day at
// most): the newest 7, and the newest of each of the 4 newest weeks (Monday to
// Sunday, as the calendar numbers them across a year's end) that have one.
// A day after today (the clock was set wrong) is kept and counts for nothing.
// Answers the days to keep, newest first.
QList<QDate> backupsToKeep(QList<QDate> days, const QDate& today);
