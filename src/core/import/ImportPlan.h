#pragma once

#include "ImportedRide.h"
#include "RideFileScan.h"
#include "base/Fixed4.h"
#include "store/RideFields.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QTime>
#include <QVector>

#include <optional>

class ADOTable;

// What the rule for "already recorded" needs of a ride, stored or found in
// a file.
struct RideIdentity
{
    QDate day;                  // the local day the ride started
    std::optional<int> seconds; // riding time
    std::optional<Fixed4> km;   // distance
};

// What the rule sees of a stored ride, or of one about to be stored.
RideIdentity rideIdentity(const RideRow& row);

// Whether two rides are one: the same day, the riding times within 2 % or
// 60 s of each other, the distances within 2 % or 0.1 km, whichever
// tolerance is larger. A value missing on either side is not compared, but
// at least one of the two must be.
bool sameRide(const RideIdentity& a, const RideIdentity& b);

// A ride of the cyclist already in the store.
struct StoredRide
{
    int id = 0;
    RideIdentity identity;
};

// The cyclist's rides as the duplicate rule sees them, read through the
// table without changing the set it shows.
QVector<StoredRide> storedRidesOf(ADOTable& table, const QString& cyclist);

enum class ImportStatus { New, AlreadyRecorded, CannotImport };

// One ride found in a file, as the preview lists it.
struct ImportCandidate
{
    QString path;
    QByteArray sha256;
    ImportedRide ride; // as the file gives it
    RideRow row;       // as it would be stored; empty unless it can be imported
    QDate day;         // local day of the start, invalid without times
    QTime startTime;   // local time of the start
    ImportStatus status = ImportStatus::CannotImport;
    RideProblem problem = RideProblem::None; // why not, for CannotImport
    QString detail;
    // AlreadyRecorded: the stored ride it matches (its id and day), or, with
    // no id, the ride listed earlier in this import it matches (another file
    // of the same ride, say its GPX export beside the FIT file).
    std::optional<int> matchedRideId;
    QDate matchedDay;
    int matchedCandidate = -1;
    bool ticked = false; // new cycling rides (and rides of no named sport)
};

// The ride as it would be stored for `cyclist`: the fields the record dialog
// fills, the average speed by Save's own rule, and the note "Imported from"
// naming the file and the device. Throws RydexError when a value does not fit
// its field.
RideRow rideRowFor(const ImportedRide& ride, const QString& cyclist, const QString& fileName);

// Classifies the rides of each file read against the cyclist's stored rides,
// the files imported for him before (content hash to ride id) and the rides
// listed before it.
class ImportPlanner
{
public:
    ImportPlanner(QString cyclist, QVector<StoredRide> stored,
                  QHash<QByteArray, int> importedFiles);

    // The rows of one file, in the file's order; a file that gives no ride
    // gives one row saying why.
    QVector<ImportCandidate> add(const ScannedFile& file);
    const QVector<ImportCandidate>& candidates() const { return m_candidates; }

private:
    QString m_cyclist;
    QVector<StoredRide> m_stored;
    QHash<QByteArray, int> m_importedFiles;
    QVector<ImportCandidate> m_candidates;
};

// The reason a ride cannot be imported, in the user's language.
QString problemText(RideProblem problem);
