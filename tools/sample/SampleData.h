#pragma once

#include "base/RydexError.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

// What to generate and where. The paths are taken as given; the caller picks
// the program's own ones or a scratch directory.
struct SampleOptions
{
    QString storePath;
    // A PostgreSQL connection text: the rides go to that server's database
    // (its tables made when it is empty) instead of the file at storePath.
    QString server;
    QString preferencePath;
    int cyclists = 3;
    int years = 2;
    int ridesPerYear = 120;
    // 0: the years end with the current one.
    int firstYear = 0;
    quint64 seed = 1;
    // Without it an existing store, or a preference file that already lists
    // cyclists, is refused: sample rides never end up in a real log by accident.
    bool append = false;
    // Told now and then how many of the rides are written. An exception thrown
    // from it stops the run like any failure.
    std::function<void(qint64 done, qint64 total)> progress;
};

struct SampleSummary
{
    QStringList cyclists;
    int firstYear = 0;
    int lastYear = 0;
    qint64 rides = 0;
    QString storePath;
    QString preferencePath;

    // One line for a terminal.
    QString text() const;
};

// The store or the preferences already hold data and appending was not asked for.
class SampleRefusal : public RydexError
{
public:
    using RydexError::RydexError;
};

// The names of the first count sample cyclists. Early ones include an
// apostrophe and a diacritic, so that the windows show how they cope; past
// the list the names come round again with a number.
QStringList sampleCyclistNames(int count);

// Writes the sample cyclists into the preference store and their rides into
// the ride store, all rides in one transaction. The same options give the same
// rows. Throws SampleRefusal as described above, RydexError for bad options or
// when a store fails; a store this call created is removed again on failure.
SampleSummary generateSample(const SampleOptions& options);
