#include "FitDecoder.h"

#include "FitStream.h"
#include "TrackTotals.h"
#include "WholeNumber.h"

namespace {

// Global message numbers and field numbers of the FIT profile.
enum : quint16 { FileId = 0, Session = 18, Lap = 19, Record = 20, Event = 21, Activity = 34 };
constexpr quint8 timestamp = 253;
constexpr qint64 fitEpoch = 631065600; // 1989-12-31T00:00:00Z in Unix seconds
constexpr double activityFile = 4;

// A FIT time is an unsigned 32-bit count of seconds; anything else a damaged
// file gives is no time at all.
std::optional<qint64> fitMsecs(double t)
{
    const auto seconds = wholeNumber64(t);
    if (!seconds || *seconds < 0 || *seconds > 0xFFFFFFFFLL)
        return std::nullopt;
    return (fitEpoch + *seconds) * 1000;
}

QDateTime fitTime(double t)
{
    const auto msecs = fitMsecs(t);
    return msecs ? QDateTime::fromMSecsSinceEpoch(*msecs, Qt::UTC) : QDateTime();
}

std::optional<double> scaled(const FitMessage& m, quint8 field, double scale, double offset = 0)
{
    const auto v = m.field(field);
    return v ? std::optional<double>(*v / scale - offset) : std::nullopt;
}

std::optional<int> whole(const FitMessage& m, quint8 field)
{
    const auto v = m.field(field);
    return v ? wholeNumber(*v) : std::nullopt;
}

QString makerName(int id)
{
    switch (id) {
    case 1:
        return QStringLiteral("Garmin");
    case 23:
        return QStringLiteral("Suunto");
    case 32:
        return QStringLiteral("Wahoo");
    case 89:
        return QStringLiteral("Tacx");
    case 123:
        return QStringLiteral("Polar");
    case 260:
        return QStringLiteral("Zwift");
    case 265:
        return QStringLiteral("Strava");
    case 267:
        return QStringLiteral("Bryton");
    case 289:
        return QStringLiteral("Hammerhead");
    case 294:
        return QStringLiteral("Coros");
    }
    return QString::number(id);
}

void setSport(ImportedRide& ride, std::optional<int> sport, std::optional<int> subSport)
{
    if (!sport)
        return;
    const int sub = subSport.value_or(0);
    // Indoor cycling, spinning and virtual rides, whether the device files
    // them under cycling or under fitness equipment.
    const bool indoorBike = sub == 6 || sub == 5 || sub == 58;
    switch (*sport) {
    case 0:
        ride.sport = RideSport::Unknown;
        break;
    case 1:
        ride.sport = RideSport::Running;
        break;
    case 2:
        ride.sport = RideSport::Cycling;
        ride.indoor = indoorBike;
        break;
    case 4:
        ride.sport = indoorBike ? RideSport::Cycling : RideSport::Fitness;
        ride.indoor = indoorBike;
        break;
    case 5:
        ride.sport = RideSport::Swimming;
        break;
    case 10:
        ride.sport = RideSport::Fitness;
        break;
    case 12:
        ride.sport = RideSport::CrossCountrySkiing;
        break;
    default:
        ride.sport = RideSport::Other;
        break;
    }
}

struct SessionEntry
{
    ImportedRide ride;
    qint64 endMsecs = -1; // the session's last instant, when it says
};

class RideCollector : public FitVisitor
{
public:
    QList<ImportedRide> rides;

    void message(const FitMessage& m) override
    {
        switch (m.global) {
        case FileId:
            fileId(m);
            break;
        case Session:
            session(m);
            break;
        case Lap:
            lap(m);
            break;
        case Record:
            record(m);
            break;
        case Event:
            event(m);
            break;
        case Activity:
            // No place on earth is a day or more away from UTC: a larger
            // difference is a damaged field, not an offset.
            if (const auto local = m.field(5), utc = m.field(timestamp); local && utc) {
                const auto l = wholeNumber64(*local);
                const auto u = wholeNumber64(*utc);
                if (l && u && *l - *u > -86400 && *l - *u < 86400)
                    m_file.localOffset = int(*l - *u);
            }
            break;
        }
    }

    void fileEnd(FitFileEnd how) override
    {
        finishFile(how);
        m_file = FileState(); // a chained file starts afresh
    }

private:
    void fileId(const FitMessage& m)
    {
        m_file.fileType = m.field(0);
        if (const auto maker = whole(m, 1))
            m_file.maker = makerName(*maker);
        if (const auto product = whole(m, 2))
            m_file.product = QString::number(*product);
    }

    void session(const FitMessage& m)
    {
        SessionEntry s;
        ImportedRide& r = s.ride;
        if (const auto start = m.field(2))
            r.start = fitTime(*start);
        r.timerSeconds = scaled(m, 8, 1000);
        r.distanceMetres = scaled(m, 9, 100);
        r.avgHeartRate = whole(m, 16);
        r.maxHeartRate = whole(m, 17);
        r.elevationGain = m.field(22);
        r.maxAltitude = scaled(m, 128, 5, 500);
        if (!r.maxAltitude)
            r.maxAltitude = scaled(m, 50, 5, 500);
        r.avgTemperature = m.field(57);
        setSport(r, whole(m, 5), whole(m, 6));
        const auto end = m.field(timestamp);
        const auto elapsedMsecs = [&]() -> std::optional<qint64> {
            const auto elapsed = scaled(m, 7, 1000);
            return elapsed ? wholeNumber64(*elapsed * 1000) : std::nullopt;
        }();
        if (end && fitTime(*end).isValid())
            s.endMsecs = fitTime(*end).toMSecsSinceEpoch();
        else if (elapsedMsecs && r.start.isValid())
            s.endMsecs = r.start.toMSecsSinceEpoch() + *elapsedMsecs;
        m_file.sessions.append(s);
    }

    // Laps stand in for a session the file lacks (a file cut short before it).
    void lap(const FitMessage& m)
    {
        if (const auto start = m.field(2); start && !m_file.lapTotals.start.isValid())
            m_file.lapTotals.start = fitTime(*start);
        if (const auto timer = scaled(m, 8, 1000))
            m_file.lapTotals.timerSeconds = m_file.lapTotals.timerSeconds.value_or(0) + *timer;
        if (const auto metres = scaled(m, 9, 100))
            m_file.lapTotals.distanceMetres = m_file.lapTotals.distanceMetres.value_or(0) + *metres;
        if (const auto sport = whole(m, 25))
            setSport(m_file.lapTotals, sport, whole(m, 39));
    }

    void record(const FitMessage& m)
    {
        const auto t = m.field(timestamp);
        const auto msecs = t ? fitMsecs(*t) : std::nullopt;
        if (!msecs)
            return;
        TrackPoint p;
        p.msecsUtc = *msecs;
        p.altitude = scaled(m, 78, 5, 500);
        if (!p.altitude)
            p.altitude = scaled(m, 2, 5, 500);
        p.heartRate = whole(m, 3);
        p.distanceMetres = scaled(m, 5, 100);
        p.speed = scaled(m, 73, 1000);
        if (!p.speed)
            p.speed = scaled(m, 6, 1000);
        p.temperature = m.field(13);
        p.pauseBefore = m_file.timerStopped;
        m_file.timerStopped = false;
        m_file.points.append(p);
    }

    // A stop of the timer makes the interval up to the next record a pause.
    void event(const FitMessage& m)
    {
        const auto kind = whole(m, 0);
        const auto type = whole(m, 1);
        if (kind == 0 && (type == 1 || type == 4))
            m_file.timerStopped = true;
    }

    void finishFile(FitFileEnd how)
    {
        if (m_file.fileType && *m_file.fileType != activityFile) {
            if (how == FitFileEnd::Whole) {
                ImportedRide r;
                r.problem = RideProblem::NotAnActivity;
                r.detail =
                    QStringLiteral("a FIT file of type %1, not an activity").arg(*m_file.fileType);
                add(r);
            }
            return;
        }
        if (m_file.sessions.isEmpty()) {
            if (m_file.points.isEmpty() && !m_file.lapTotals.timerSeconds)
                return;
            SessionEntry s;
            s.ride = m_file.lapTotals;
            m_file.sessions.append(s);
        }
        for (qsizetype i = 0; i < m_file.sessions.size(); ++i) {
            SessionEntry& s = m_file.sessions[i];
            QList<TrackPoint> own;
            if (m_file.sessions.size() == 1) {
                own = m_file.points;
            } else {
                const qint64 from = s.ride.start.isValid() ? s.ride.start.toMSecsSinceEpoch() : 0;
                for (const TrackPoint& p : std::as_const(m_file.points))
                    if (p.msecsUtc >= from && (s.endMsecs < 0 || p.msecsUtc <= s.endMsecs))
                        own.append(p);
            }
            TrackTotals::fillMissing(s.ride, own);
            // Without its start a ride has no day to be recorded on.
            if (!s.ride.start.isValid()) {
                s.ride.problem = RideProblem::NoTimes;
                s.ride.detail = QStringLiteral("a session without a valid start time");
            }
            if (how == FitFileEnd::BadChecksum) {
                s.ride.problem = RideProblem::Damaged;
                s.ride.detail = QStringLiteral("the file's checksum is wrong");
            }
            add(s.ride);
        }
    }

    void add(ImportedRide r)
    {
        r.localOffsetSeconds = m_file.localOffset;
        r.maker = m_file.maker;
        r.product = m_file.product;
        rides.append(r);
    }

    // What one of the chained files has said so far.
    struct FileState
    {
        std::optional<double> fileType;
        QString maker;
        QString product;
        std::optional<int> localOffset;
        QList<SessionEntry> sessions;
        ImportedRide lapTotals;
        QList<TrackPoint> points;
        bool timerStopped = false;
    };
    FileState m_file;
};

} // namespace

RideFileContents decodeFit(QByteArrayView data)
{
    RideCollector collector;
    const FitReadResult read = readFit(data, collector);
    RideFileContents contents;
    contents.rides = std::move(collector.rides);
    contents.problem = read.problem;
    contents.detail = read.detail;
    return contents;
}
