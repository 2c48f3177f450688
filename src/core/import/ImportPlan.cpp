#include "ImportPlan.h"

#include "RideFieldValues.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "records/AverageSpeed.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"

#include <QFileInfo>

#include <cmath>
#include <cstdlib>

namespace {

// Whether two amounts are one within the larger of `share` (a fraction
// given as 1/divisor, of the larger amount) and `least`. Whole numbers, so
// that "just within" is exact.
bool within(qint64 a, qint64 b, qint64 divisor, qint64 least)
{
    const qint64 difference = a > b ? a - b : b - a;
    return difference <= least || difference * divisor <= std::max(std::abs(a), std::abs(b));
}

void set(RideRow& row, RideField field, const QVariant& value)
{
    row[fieldIndex(field)] = normalizeFieldValue(field, value);
}

QString deviceOf(const ImportedRide& ride)
{
    const QString maker = ride.maker.trimmed();
    const QString product = ride.product.trimmed();
    if (maker.isEmpty() || product.isEmpty())
        return maker + product;
    return maker + QLatin1Char(' ') + product;
}

// The local time of day the ride started, as its day is reckoned.
QTime localStart(const ImportedRide& ride)
{
    if (ride.localOffsetSeconds)
        return ride.start.toUTC().addSecs(*ride.localOffsetSeconds).time();
    return ride.start.toLocalTime().time();
}

} // namespace

bool sameRide(const RideIdentity& a, const RideIdentity& b)
{
    if (!a.day.isValid() || a.day != b.day)
        return false;
    bool compared = false;
    if (a.seconds && b.seconds) {
        if (!within(*a.seconds, *b.seconds, 50, 60))
            return false;
        compared = true;
    }
    if (a.km && b.km) {
        // 0.1 km is a thousand ten-thousandths.
        if (!within(a.km->units(), b.km->units(), 50, 1000))
            return false;
        compared = true;
    }
    return compared;
}

RideIdentity rideIdentity(const RideRow& row)
{
    RideIdentity identity;
    const QVariant date = row[fieldIndex(RideField::date)];
    const QVariant time = row[fieldIndex(RideField::time)];
    const QVariant dst = row[fieldIndex(RideField::dst)];
    identity.day = date.toDateTime().date();
    if (!time.isNull())
        identity.seconds = QTime(0, 0).secsTo(time.toTime());
    if (!dst.isNull())
        identity.km = dst.value<Fixed4>();
    return identity;
}

QVector<StoredRide> storedRidesOf(ADOTable& table, const QString& cyclist)
{
    const QVector<RideRow> rows = table.peekRows(
        RideFilter::cyclist(cyclist), {RideField::date, RideField::time, RideField::dst});
    QVector<StoredRide> stored;
    stored.reserve(rows.size());
    for (const RideRow& row : rows)
        stored.append({row[fieldIndex(RideField::id)].toInt(), rideIdentity(row)});
    return stored;
}

RideRow rideRowFor(const ImportedRide& given, const QString& cyclist, const QString& fileName)
{
    ImportedRide ride = given;
    RideFieldValues::checkFits(ride);
    // Without its start a ride has no day to be stored on.
    if (ride.problem == RideProblem::None && !ride.start.isValid())
        ride.problem = RideProblem::NoTimes;
    if (ride.problem != RideProblem::None)
        throw RydexError(ride.detail.isEmpty()
                             ? problemText(ride.problem)
                             : problemText(ride.problem) + QStringLiteral(": ") + ride.detail,
                         RydexError::Kind::Range);
    RideRow row;
    const QDate day = RideFieldValues::localDay(ride);
    set(row, RideField::user, cyclist);
    set(row, RideField::date, day.startOfDay());
    set(row, RideField::day, day.day());
    set(row, RideField::month, day.month());
    set(row, RideField::year, day.year());
    // checkFits made sure there is a time and that it fits.
    const QTime time = *RideFieldValues::ridingTime(*ride.timerSeconds);
    set(row, RideField::time, time);
    if (ride.distanceMetres) {
        // To ten metres, as the record dialog holds a distance: editing the
        // ride there later changes nothing the user did not change.
        const Fixed4 km = Fixed4::fromDouble(*ride.distanceMetres / 1000).roundedTo2();
        set(row, RideField::dst, QVariant::fromValue(km));
        const Fixed4 speed = averageSpeed(time, km);
        checkAverageSpeedFits(speed);
        set(row, RideField::avs, QVariant::fromValue(speed));
    }
    // A heart rate of 0 is a strap that read nothing.
    if (ride.avgHeartRate.value_or(0) > 0)
        set(row, RideField::pulse, *ride.avgHeartRate);
    if (ride.maxHeartRate.value_or(0) > 0)
        set(row, RideField::pulsemax, *ride.maxHeartRate);
    if (ride.elevationGain)
        set(row, RideField::alt, qint64(std::llround(*ride.elevationGain)));
    if (ride.maxAltitude)
        set(row, RideField::altmax, qint64(std::llround(*ride.maxAltitude)));
    if (ride.avgTemperature) {
        const QString band = RideFieldValues::temperatureBand(*ride.avgTemperature);
        if (!band.isEmpty())
            set(row, RideField::temperature, band);
    }
    const QString kind = RideFieldValues::kindText(ride.sport);
    if (!kind.isEmpty())
        set(row, RideField::druh, kind);
    set(row, RideField::typ, RideFieldValues::typeText(ride));
    const QString device = deviceOf(ride);
    set(row, RideField::note,
        device.isEmpty() ? Msg::format(Msg::ImportedFrom, {fileName})
                         : Msg::format(Msg::ImportedFromDevice, {fileName, device}));
    return row;
}

ImportPlanner::ImportPlanner(QString cyclist, QVector<StoredRide> stored,
                             QHash<QByteArray, int> importedFiles)
    : m_cyclist(std::move(cyclist)), m_stored(std::move(stored)),
      m_importedFiles(std::move(importedFiles))
{
}

QVector<ImportCandidate> ImportPlanner::add(const ScannedFile& file)
{
    const QString fileName = QFileInfo(file.path).fileName();
    QVector<ImportCandidate> rows;
    const auto cannot = [](ImportCandidate& c, RideProblem problem, const QString& detail) {
        c.status = ImportStatus::CannotImport;
        c.problem = problem;
        c.detail = detail;
        c.row = RideRow{};
    };
    if (file.contents.rides.isEmpty()) {
        ImportCandidate c;
        c.path = file.path;
        c.sha256 = file.sha256;
        // A file read whole that holds no ride is no activity of ours.
        cannot(c,
               file.contents.problem == RideProblem::None ? RideProblem::NotAnActivity
                                                          : file.contents.problem,
               file.contents.detail);
        rows.append(c);
    }
    for (const ImportedRide& found : file.contents.rides) {
        ImportCandidate c;
        c.path = file.path;
        c.sha256 = file.sha256;
        c.ride = found;
        // A file cut short still gives the rides whole before the cut; the
        // preview says so beside them.
        c.detail = file.contents.detail;
        if (found.start.isValid()) {
            c.day = RideFieldValues::localDay(found);
            c.startTime = localStart(found);
        }
        ImportedRide checked = found;
        RideFieldValues::checkFits(checked);
        if (checked.problem == RideProblem::None && !found.start.isValid())
            checked.problem = RideProblem::NoTimes;
        if (checked.problem != RideProblem::None) {
            cannot(c, checked.problem, checked.detail);
            rows.append(c);
            continue;
        }
        try {
            c.row = rideRowFor(found, m_cyclist, fileName);
        } catch (const RydexError& e) {
            cannot(c, RideProblem::OutOfRange, e.text());
            rows.append(c);
            continue;
        }
        const RideIdentity identity = rideIdentity(c.row);
        c.status = ImportStatus::New;
        const StoredRide* match = nullptr;
        for (const StoredRide& s : std::as_const(m_stored)) {
            if (sameRide(identity, s.identity)) {
                match = &s;
                break;
            }
        }
        const auto hashed = file.sha256.isEmpty() ? m_importedFiles.constEnd()
                                                  : m_importedFiles.constFind(file.sha256);
        if (hashed != m_importedFiles.constEnd() && !match) {
            // The ride was imported from this very content, then changed
            // by hand: still the one ride.
            c.status = ImportStatus::AlreadyRecorded;
            c.matchedRideId = *hashed;
            for (const StoredRide& s : std::as_const(m_stored)) {
                if (s.id == *hashed)
                    c.matchedDay = s.identity.day;
            }
        } else if (match) {
            c.status = ImportStatus::AlreadyRecorded;
            c.matchedRideId = match->id;
            c.matchedDay = match->identity.day;
        } else {
            // Another file of the same ride listed before: its GPX export
            // beside the FIT file, or a copy. Rides of one file (the legs of
            // a multisport file) are never one another.
            const int before = int(m_candidates.size() + rows.size());
            for (int k = 0; k < before; ++k) {
                const ImportCandidate& other =
                    k < m_candidates.size() ? m_candidates.at(k) : rows.at(k - m_candidates.size());
                if (other.status == ImportStatus::CannotImport || other.path == file.path)
                    continue;
                if (sameRide(identity, rideIdentity(other.row))) {
                    c.status = ImportStatus::AlreadyRecorded;
                    c.matchedCandidate = k;
                    c.matchedDay = other.day;
                    break;
                }
            }
        }
        c.ticked = c.status == ImportStatus::New &&
                   (found.sport == RideSport::Cycling || found.sport == RideSport::Unknown);
        rows.append(c);
    }
    m_candidates += rows;
    return rows;
}

QString problemText(RideProblem problem)
{
    switch (problem) {
    case RideProblem::None:
        break;
    case RideProblem::Damaged:
        return Msg::text(Msg::RideFileDamaged);
    case RideProblem::NoTimes:
        return Msg::text(Msg::RideFileNoTimes);
    case RideProblem::Route:
        return Msg::text(Msg::RideFileRoute);
    case RideProblem::NotAnActivity:
        return Msg::text(Msg::RideFileNotAnActivity);
    case RideProblem::TooLong:
        return Msg::text(Msg::RideFileTooLong);
    case RideProblem::OutOfRange:
        return Msg::text(Msg::RideFileOutOfRange);
    case RideProblem::TooLarge:
        return Msg::text(Msg::RideFileTooLarge);
    case RideProblem::Unreadable:
        return Msg::text(Msg::RideFileUnreadable);
    }
    return QString();
}
