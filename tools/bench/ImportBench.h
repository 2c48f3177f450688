#pragma once

#include <QByteArray>
#include <QString>

// The import's share of the benchmark: ride files written for it into a
// temporary folder, read as the import preview reads them.
namespace ImportBench {

// A FIT activity as a bike computer writes it: `records` records a second
// apart (position, altitude, heart rate, cadence, distance, speed, power,
// temperature), one pause, a lap, the session's totals and the local time.
QByteArray fitActivity(int records, int ride);

struct Season
{
    int files = 0;
    qint64 bytes = 0;
};
// A season of `files` rides in a folder per month, of about `bytes` in all:
// mostly FIT, some GPX and TCX, some of them gzip-compressed as a training
// website's archive has them.
Season writeSeason(const QString& dir, int files, qint64 bytes);

struct Preview
{
    double ms = 0;
    double cpuMs = 0; // of all threads: what a busy machine does not change
    int files = 0;
    int rides = 0;
    int progressSteps = 0;
};
// Reads the folder with the import's scanner until it finishes, keeping what
// it hands over, as the preview does.
Preview previewSeason(const QString& dir);

} // namespace ImportBench
