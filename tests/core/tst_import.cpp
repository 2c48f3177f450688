#include "TestMain.h"
#include "TestRides.h"
#include "TestServer.h"

#include "FitWriter.h"
#include "Gzip.h"
#include "base/RydexError.h"
#include "import/FitCrc.h"
#include "import/FitDecoder.h"
#include "import/ImportPlan.h"
#include "import/ImportStore.h"
#include "import/LogCopy.h"
#include "import/RideFieldValues.h"
#include "import/RideFileReader.h"
#include "import/RideFileScan.h"
#include "import/TrackTotals.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/ImportRecords.h"
#include "store/RideFilter.h"
#include "store/TData.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <QCoreApplication>

#include <memory>

#include <sys/stat.h>

namespace {

using F = FitWriter;

// One line for every field of a ride, so that a row states all it expects.
QString describe(const ImportedRide& r)
{
    const auto num = [](const auto& v) {
        return v ? QString::number(double(*v), 'f', 1) : QStringLiteral("-");
    };
    return QStringLiteral("%1 off=%2 timer=%3 dst=%4 hr=%5/%6 gain=%7 top=%8 temp=%9 sport=%10%11 "
                          "by=%12 %13 problem=%14")
        .arg(r.start.toString(Qt::ISODate), num(r.localOffsetSeconds), num(r.timerSeconds),
             num(r.distanceMetres), num(r.avgHeartRate), num(r.maxHeartRate), num(r.elevationGain),
             num(r.maxAltitude), num(r.avgTemperature))
        .arg(int(r.sport))
        .arg(r.indoor ? QStringLiteral(" indoor") : QString(), r.maker, r.product)
        .arg(int(r.problem));
}

// Points written "seconds:altitude:heart rate:metres" (an empty part not
// recorded, "|" a stop of the timer before the point), one a comma.
QList<TrackPoint> points(const QString& text)
{
    QList<TrackPoint> list;
    for (QString item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        TrackPoint p;
        p.pauseBefore = item.startsWith(QLatin1Char('|'));
        const QStringList parts = item.remove(QLatin1Char('|')).split(QLatin1Char(':'));
        p.msecsUtc = parts.value(0).toLongLong() * 1000;
        if (!parts.value(1).isEmpty())
            p.altitude = parts.value(1).toDouble();
        if (!parts.value(2).isEmpty())
            p.heartRate = parts.value(2).toInt();
        if (!parts.value(3).isEmpty())
            p.distanceMetres = parts.value(3).toDouble();
        list.append(p);
    }
    return list;
}

// A GPX track of points 10 s and 0.0009° of latitude (100.1 m) apart;
// `extra` goes into each point (elevation, extensions), `%1` the point's index.
QByteArray gpx(const QString& version, const QString& extra, int count = 4, bool timed = true)
{
    QString text =
        QStringLiteral("<?xml version=\"1.0\"?>\n<gpx version=\"%1\" "
                       "xmlns=\"http://www.topografix.com/GPX/%2\" "
                       "xmlns:a=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\" "
                       "xmlns:b=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\" "
                       "xmlns:c=\"http://example.com/not-garmin\">"
                       "<trk><type>cycling</type><trkseg>")
            .arg(version, QString(version).replace(QLatin1Char('.'), QLatin1Char('/')));
    for (int i = 0; i < count; ++i) {
        text += QStringLiteral("<trkpt lat=\"%1\" lon=\"14.5\">").arg(46.0 + 0.0009 * i, 0, 'f', 4);
        if (timed)
            text += QStringLiteral("<time>2024-06-01T08:00:%1Z</time>")
                        .arg(i * 10, 2, 10, QLatin1Char('0'));
        text += QString(extra).replace(QStringLiteral("%1"), QString::number(i)) +
                QStringLiteral("</trkpt>");
    }
    return (text + QStringLiteral("</trkseg></trk></gpx>")).toUtf8();
}

// Two laps with their totals, a pause between them, no heart rate in the points.
QByteArray tcxRide()
{
    QFile file(QStringLiteral(RYDEX_FIXTURES "/import/ride.tcx"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `content` at `path` below `dir`, making the folders on the way.
bool writeFile(const QDir& dir, const QString& path, const QByteArray& content)
{
    QFile file(dir.filePath(path));
    return dir.mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(content) == content.size();
}

QStringList describeAll(const RideFileContents& contents)
{
    QStringList list;
    for (const ImportedRide& r : contents.rides)
        list << describe(r);
    return list;
}

const quint32 start = F::time(2024, 12, 31, 22, 30);

// The file's maker and ten records a second apart, climbing 1 m a second
// at 5 m/s with a heart rate of 120 then 0 (ignored) and 20 °C.
void writeRecords(F& w, bool compressedTimes, bool developer)
{
    w.define(0, 0, {{0, F::Enum}, {1, F::UInt16}, {2, F::UInt16}});
    w.data(0, {4, 1, 2713});
    w.define(1, 20,
             {{253, F::UInt32}, {3, F::UInt8}, {2, F::UInt16}, {5, F::UInt32}, {13, F::SInt8}},
             developer ? QList<quint8>{3, 1} : QList<quint8>{});
    if (compressedTimes)
        w.define(2, 20, {{3, F::UInt8}, {2, F::UInt16}, {5, F::UInt32}, {13, F::SInt8}});
    for (int i = 0; i < 10; ++i) {
        const qint64 hr = i < 9 ? 120 : 0;
        const qint64 alt = (100 + i + 500) * 5;
        const qint64 dst = i * 500;
        if (compressedTimes && i > 0)
            w.compressed(2, start + i, {hr, alt, dst, 20});
        else
            w.data(1, {start + i, hr, alt, dst, 20},
                   developer ? QByteArray("abcd", 4) : QByteArray());
    }
}

void writeLocalTime(F& w)
{
    w.define(4, 34, {{253, F::UInt32}, {5, F::UInt32}});
    w.data(4, {start + 9, start + 9 + 3600});
}

// The records above, finished by a session that states `sessionTotals` or
// nothing but its start and sport.
QByteArray activity(bool bigEndian, bool sessionTotals, bool compressedTimes, bool developer,
                    int headerSize = 14)
{
    F w(bigEndian, headerSize);
    writeRecords(w, compressedTimes, developer);
    if (sessionTotals) {
        w.define(3, 18,
                 {{253, F::UInt32},
                  {2, F::UInt32},
                  {8, F::UInt32},
                  {9, F::UInt32},
                  {16, F::UInt8},
                  {17, F::UInt8},
                  {22, F::UInt16},
                  {128, F::UInt32},
                  {50, F::UInt16},
                  {57, F::SInt8},
                  {5, F::Enum},
                  {6, F::Enum}});
        w.data(3, {start + 9, start, 3600500, 2500000, 140, 0xFF, 300, (812 + 500) * 5,
                   (700 + 500) * 5, -3, 2, 6});
    } else {
        w.define(3, 18, {{253, F::UInt32}, {2, F::UInt32}, {5, F::Enum}});
        w.data(3, {start + 9, start, 1});
    }
    writeLocalTime(w);
    return w.file();
}

// A ride of five seconds, then a run of five: two sessions sharing the records.
QByteArray multisport()
{
    F w;
    writeRecords(w, false, false);
    w.define(3, 18, {{253, F::UInt32}, {2, F::UInt32}, {5, F::Enum}});
    w.data(3, {start + 4, start, 2});
    w.data(3, {start + 9, start + 5, 1});
    writeLocalTime(w);
    return w.file();
}

const QString fromSession = QStringLiteral(
    "2024-12-31T22:30:00Z off=3600.0 timer=3600.5 dst=25000.0 hr=140.0/120.0 gain=300.0 "
    "top=812.0 temp=-3.0 sport=1 indoor by=Garmin 2713 problem=0");
const QString fromRecords =
    QStringLiteral("2024-12-31T22:30:00Z off=3600.0 timer=9.0 dst=45.0 hr=120.0/120.0 gain=9.0 "
                   "top=109.0 temp=20.0 sport=2 by=Garmin 2713 problem=0");

// "2024-06-30 3600 25.5", "-" for a value not known.
RideIdentity identity(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(' '));
    RideIdentity id;
    id.day = QDate::fromString(parts.at(0), Qt::ISODate);
    if (parts.at(1) != QLatin1String("-"))
        id.seconds = parts.at(1).toInt();
    if (parts.at(2) != QLatin1String("-"))
        id.km = Fixed4::parse(parts.at(2), QLocale::c());
    return id;
}

// The fields of a ride as stored, in the order of the table.
QString rowText(const RideRow& row)
{
    QStringList out;
    for (int i = 1; i < rideFieldCount; ++i) {
        const QVariant& v = row[i];
        const auto field = static_cast<RideField>(i);
        if (v.isNull())
            out << QStringLiteral("-");
        else if (fieldDef(field).kind == FieldKind::Decimal)
            out << v.value<Fixed4>().toPlainString(); // every digit stored
        else if (fieldDef(field).kind == FieldKind::DateTime)
            out << v.toDateTime().toString(Qt::ISODate);
        else
            out << ADOTable::displayText(field, v, QLocale::c());
    }
    return out.join(QLatin1Char('|'));
}

// A ride of the cyclist's device: its day and local start at 08:00 UTC+2,
// minutes, kilometres and sport.
ImportedRide deviceRide(const QString& day, double minutes, double km,
                        RideSport sport = RideSport::Cycling)
{
    ImportedRide r;
    r.start = QDateTime(QDate::fromString(day, Qt::ISODate), QTime(6, 0), Qt::UTC);
    r.localOffsetSeconds = 7200;
    r.timerSeconds = minutes * 60;
    r.distanceMetres = km * 1000;
    r.sport = sport;
    return r;
}

ScannedFile scanned(const QString& path, const QList<ImportedRide>& rides,
                    RideProblem problem = RideProblem::None)
{
    return {path,
            QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256),
            {rides, problem, QString()}};
}

// Each candidate as "status/ticked/matched ride or candidate".
QStringList plan(ADOTable& table, const QList<ScannedFile>& files)
{
    ImportPlanner planner(QStringLiteral("Eva"), storedRidesOf(table, QStringLiteral("Eva")),
                          ImportRecords::importedFiles(*table.connection(), QStringLiteral("Eva")));
    QStringList out;
    for (const ScannedFile& file : files) {
        for (const ImportCandidate& c : planner.add(file)) {
            const char* status[] = {"new", "recorded", "cannot"};
            out << QStringLiteral("%1 %2%3%4%5")
                       .arg(QFileInfo(c.path).fileName(), QLatin1String(status[int(c.status)]),
                            c.ticked ? QStringLiteral(" ticked") : QString(),
                            c.matchedRideId ? QStringLiteral(" ride %1 of %2")
                                                  .arg(*c.matchedRideId)
                                                  .arg(c.matchedDay.toString(Qt::ISODate))
                                            : QString(),
                            c.matchedCandidate >= 0
                                ? QStringLiteral(" as #%1").arg(c.matchedCandidate)
                                : QString());
        }
    }
    return out;
}

QVector<RideToImport> toImport(const QList<ScannedFile>& files)
{
    QVector<RideToImport> rides;
    for (const ScannedFile& file : files) {
        for (const ImportedRide& r : file.contents.rides)
            rides.append({rideRowFor(r, QStringLiteral("Eva"), QFileInfo(file.path).fileName()),
                          file.sha256, file.path});
    }
    return rides;
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void fitCrcIsTheFormatsOwn()
    {
        QCOMPARE(fitCrc("123456789"), quint16(0xBB3D));
        QCOMPARE(fitCrc(""), quint16(0));
        // Long enough for the check sum's eight-byte steps and a tail.
        QByteArray bytes;
        for (int i = 0; i < 3 * 256; ++i)
            bytes.append(char(i));
        QCOMPARE(fitCrc(bytes + ".FIT"), quint16(0x634A));
        QCOMPARE(fitCrc(bytes.mid(5) + ".FIT", fitCrc(bytes.left(5))), quint16(0x634A));
    }

    void fitFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rides");
        QTest::addColumn<int>("problem");
        const auto ok = int(RideProblem::None);
        const auto damaged = int(RideProblem::Damaged);
        QTest::newRow("session totals win")
            << activity(false, true, false, false) << QStringList{fromSession} << ok;
        QTest::newRow("big-endian")
            << activity(true, true, false, false) << QStringList{fromSession} << ok;
        QTest::newRow("12-byte header")
            << activity(false, true, false, false, 12) << QStringList{fromSession} << ok;
        QTest::newRow("totals from records")
            << activity(false, false, false, false) << QStringList{fromRecords} << ok;
        QTest::newRow("compressed timestamps")
            << activity(false, false, true, false) << QStringList{fromRecords} << ok;
        QTest::newRow("developer fields skipped")
            << activity(true, false, false, true) << QStringList{fromRecords} << ok;
        QTest::newRow("a session each ride")
            << multisport()
            << QStringList{QStringLiteral("2024-12-31T22:30:00Z off=3600.0 timer=4.0 dst=20.0 "
                                          "hr=120.0/120.0 gain=0.0 "
                                          "top=104.0 temp=20.0 sport=1 by=Garmin 2713 problem=0"),
                           QStringLiteral("2024-12-31T22:30:05Z off=3600.0 timer=4.0 dst=20.0 "
                                          "hr=120.0/120.0 gain=0.0 "
                                          "top=109.0 temp=20.0 sport=2 by=Garmin 2713 problem=0")}
            << ok;
        QTest::newRow("two files chained")
            << activity(false, true, false, false) + activity(true, false, true, true)
            << QStringList{fromSession, fromRecords} << ok;

        // Cut in the session message: the records before the cut give the ride.
        const QByteArray whole = activity(false, false, false, false);
        QString cut = fromRecords;
        cut.replace(QStringLiteral("off=3600.0"), QStringLiteral("off=-"))
            .replace(QStringLiteral("sport=2"), QStringLiteral("sport=0"));
        QTest::newRow("cut short") << whole.left(whole.size() - 30) << QStringList{cut} << damaged;
        QTest::newRow("cut in the header") << whole.left(10) << QStringList{} << damaged;

        QByteArray unfinished = activity(false, true, false, false, 12);
        unfinished.replace(4, 4, QByteArray(4, '\0'));
        QTest::newRow("data size left at 0") << unfinished << QStringList{fromSession} << damaged;

        QByteArray flipped = whole;
        flipped[15] = char(flipped[15] ^ 0x01); // a definition's reserved byte
        QString bad = fromRecords;
        bad.replace(QStringLiteral("problem=0"), QStringLiteral("problem=%1").arg(damaged));
        QTest::newRow("file checksum wrong") << flipped << QStringList{bad} << damaged;
        QByteArray badHeader = whole;
        badHeader[12] = char(badHeader[12] ^ 0x01);
        QTest::newRow("header checksum wrong") << badHeader << QStringList{} << damaged;
        QTest::newRow("not a FIT file")
            << QByteArray("<gpx></gpx>") << QStringList{} << int(RideProblem::Unreadable);

        F settings;
        settings.define(0, 0, {{0, F::Enum}});
        settings.data(0, {2});
        QTest::newRow("settings file")
            << settings.file()
            << QStringList{QStringLiteral(" off=- timer=- dst=- hr=-/- gain=- top=- temp=- sport=0 "
                                          "by=  problem=%1")
                               .arg(int(RideProblem::NotAnActivity))}
            << ok;
    }

    void fitFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rides);
        QFETCH(int, problem);
        const RideFileContents contents = decodeFit(file);
        QCOMPARE(describeAll(contents), rides);
        QCOMPARE(int(contents.problem), problem);
    }

    void trackTotals_data()
    {
        QTest::addColumn<QString>("track");
        QTest::addColumn<QString>("totals");
        QTest::newRow("steady ride") << "0:100:120:0,10:101:130:100,20:102:140:200,30:103:150:300"
                                     << "riding=30 dst=300 hr=130/150 gain=0 top=103";
        QTest::newRow("slower than 2 km/h is a pause") << "0:::0,10:::100,70:::120,80:::220"
                                                       << "riding=20 dst=220 hr=-/- gain=- top=-";
        QTest::newRow("stopped timer is a pause") << "0:::0,10:::100,|300:::3000,310:::3100"
                                                  << "riding=20 dst=3100 hr=-/- gain=- top=-";
        QTest::newRow("the device's distance counts across points without it")
            << "0:::0,10:::,20:::200"
            << "riding=20 dst=200 hr=-/- gain=- top=-";
        QTest::newRow("no distance: a long gap is a pause")
            << "0:::,10:::,40:::,71:::"
            << "riding=40 dst=- hr=-/- gain=- top=-";
        QTest::newRow("heart rate weighted by time, zeros ignored")
            << "0::100:0,10::0:100,20::200:200,50:::500"
            << "riding=50 dst=500 hr=175/200 gain=- top=-";
        QTest::newRow("noise under the threshold adds nothing")
            << "0:100,1:104,2:100,3:104.9,4:100"
            << "riding=4 dst=- hr=-/- gain=0 top=104.9";
        QTest::newRow("a climb counts whole once past the threshold")
            << "0:100,1:103,2:106,3:104,4:110,5:90,6:96"
            << "riding=6 dst=- hr=-/- gain=16 top=110";
        QTest::newRow("runs of zeros are unknown, not sea level")
            << "0:200,1:0,2:0,3:0,4:210,5:0,6:215"
            << "riding=6 dst=- hr=-/- gain=15 top=215";
        QTest::newRow("zeros near sea level are kept") << "0:2,1:0,2:6,3:12"
                                                       << "riding=3 dst=- hr=-/- gain=12 top=12";
    }

    void trackTotals()
    {
        QFETCH(QString, track);
        QFETCH(QString, totals);
        const QList<TrackPoint> list = points(track);
        const auto num = [](const auto& v) {
            return v ? QString::number(double(*v)) : QStringLiteral("-");
        };
        QCOMPARE(QStringLiteral("riding=%1 dst=%2 hr=%3/%4 gain=%5 top=%6")
                     .arg(TrackTotals::ridingSeconds(list))
                     .arg(num(TrackTotals::distanceMetres(list)),
                          num(TrackTotals::averageHeartRate(list)),
                          num(TrackTotals::maximumHeartRate(list)),
                          num(TrackTotals::elevationGain(list)),
                          num(TrackTotals::maximumAltitude(list))),
                 totals);
    }

    void trackFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("rides");
        QTest::addColumn<int>("problem");
        const QString gpxRide =
            QStringLiteral("2024-06-01T08:00:00Z off=- timer=30.0 dst=300.2 hr=%1 gain=%2 top=%3 "
                           "temp=%4 sport=1 by=  problem=0");
        const QString v1 =
            QStringLiteral("<ele>1%100</ele><extensions><a:TrackPointExtension><a:hr>12%1</a:hr>"
                           "<a:atemp>2%1</a:atemp></a:TrackPointExtension></extensions>");
        QTest::newRow("GPX 1.1, extension v1")
            << "ride.gpx" << gpx(QStringLiteral("1.1"), v1)
            << QStringList{gpxRide.arg(QStringLiteral("121.0/123.0"), QStringLiteral("300.0"),
                                       QStringLiteral("1300.0"), QStringLiteral("21.0"))}
            << 0;
        QTest::newRow("GPX 1.0 gzipped, extension v2 under another prefix")
            << "ride.gpx.gz"
            << gzipped(gpx(QStringLiteral("1.0"),
                           QStringLiteral("<extensions><b:TrackPointExtension><b:hr>140</b:hr>"
                                          "</b:TrackPointExtension></extensions>")))
            << QStringList{gpxRide.arg(QStringLiteral("140.0/140.0"), QStringLiteral("-"),
                                       QStringLiteral("-"), QStringLiteral("-"))}
            << 0;
        QTest::newRow("GPX, heart rate of an unknown extension ignored")
            << "ride.gpx"
            << gpx(QStringLiteral("1.1"),
                   QStringLiteral("<extensions><c:hr>99</c:hr></extensions>"))
            << QStringList{gpxRide.arg(QStringLiteral("-/-"), QStringLiteral("-"),
                                       QStringLiteral("-"), QStringLiteral("-"))}
            << 0;
        QTest::newRow("GPX track without times")
            << "ride.gpx" << gpx(QStringLiteral("1.1"), QString(), 4, false)
            << QStringList{QStringLiteral(" off=- timer=- dst=- hr=-/- gain=- top=- temp=- sport=1 "
                                          "by=  problem=%1")
                               .arg(int(RideProblem::NoTimes))}
            << 0;
        QTest::newRow("GPX route")
            << "route.gpx"
            << QByteArray(
                   "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><rte><rtept "
                   "lat=\"1\" lon=\"1\"/></rte></gpx>")
            << QStringList{} << int(RideProblem::Route);
        QTest::newRow("GPX cut short")
            << "ride.gpx" << gpx(QStringLiteral("1.1"), QString()).left(500) << QStringList{}
            << int(RideProblem::Damaged);
        QTest::newRow("TCX laps' totals, points for the rest")
            << "ride.tcx" << tcxRide()
            << QStringList{QStringLiteral(
                   "2024-06-01T06:00:00Z off=- timer=1800.0 dst=14000.5 hr=150.0/175.0 gain=20.0 "
                   "top=320.0 temp=- sport=1 by=  problem=0")}
            << 0;
        QByteArray running = tcxRide();
        running.replace("Biking", "Running");
        QTest::newRow("TCX running, gzipped")
            << "run.TCX.GZ" << gzipped(running)
            << QStringList{QStringLiteral(
                   "2024-06-01T06:00:00Z off=- timer=1800.0 dst=14000.5 hr=150.0/175.0 gain=20.0 "
                   "top=320.0 temp=- sport=2 by=  problem=0")}
            << 0;
        QTest::newRow("gzip cut short") << "ride.tcx.gz" << gzipped(tcxRide()).left(100)
                                        << QStringList{} << int(RideProblem::Damaged);
        QTest::newRow("gzip of a FIT file")
            << "ride.fit.gz" << gzipped(activity(false, true, false, false))
            << QStringList{fromSession} << 0;
        QTest::newRow("unknown format")
            << "ride.txt" << QByteArray("hello") << QStringList{} << int(RideProblem::Unreadable);
    }

    void trackFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, rides);
        QFETCH(int, problem);
        QTemporaryDir dir;
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        const RideFileContents contents = readRideFile(file.fileName());
        QCOMPARE(describeAll(contents), rides);
        QCOMPARE(int(contents.problem), problem);
        // Reading for the import hashes and decodes the same bytes.
        const ScannedFile scanned = scanRideFile(file.fileName());
        QCOMPARE(describeAll(scanned.contents), rides);
        QCOMPARE(int(scanned.contents.problem), problem);
        // Bytes that could not be had (a damaged gzip form) have no hash.
        const bool unread =
            problem == int(RideProblem::Damaged) && name.endsWith(QLatin1String(".gz"));
        QCOMPARE(scanned.sha256.size(), unread ? 0 : 32);
    }

    // What the user chose, walked to the ride files: "name" a file, "name>target"
    // a link to target.
    void rideFilesInFolders_data()
    {
        QTest::addColumn<QStringList>("layout");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QStringList>("found");
        QTest::newRow(
            "nested folders, suffixes in any case, other files and hidden folders left out")
            << QStringList{"G/Activities/a.fit",
                           "G/Activities/2024/B.FIT",
                           "G/c.Gpx.GZ",
                           "G/d.tcx",
                           "G/e.fit.gz",
                           "G/notes.txt",
                           "G/f.fit.bak",
                           "G/fit",
                           "G/gz",
                           "G/.Trash/h.fit"}
            << QStringList{"G"}
            << QStringList{"G/Activities/2024/B.FIT", "G/Activities/a.fit", "G/c.Gpx.GZ", "G/d.tcx",
                           "G/e.fit.gz"};
        QTest::newRow("a link back to a folder above is walked once")
            << QStringList{"s/a.fit", "s/sub/b.gpx", "s/sub/up>..", "s/sub/self>."}
            << QStringList{"s"} << QStringList{"s/a.fit", "s/sub/b.gpx"};
        QTest::newRow("files chosen are read whatever their names, each file once")
            << QStringList{"x/ride.txt", "x/a.fit", "x/link.fit>a.fit", "y/b.tcx"}
            << QStringList{"x/ride.txt", "x", "x/a.fit", "y/b.tcx", "gone.fit"}
            << QStringList{"gone.fit", "x/a.fit", "x/ride.txt", "y/b.tcx"};
    }

    void rideFilesInFolders()
    {
        QFETCH(QStringList, layout);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, found);
        QTemporaryDir temp;
        const QDir dir(temp.path());
        for (const QString& entry : layout) {
            const QString path = entry.section(QLatin1Char('>'), 0, 0);
            if (entry.contains(QLatin1Char('>')))
                QVERIFY(QFile::link(entry.section(QLatin1Char('>'), 1), dir.filePath(path)));
            else
                QVERIFY(writeFile(dir, path, "x"));
        }
        QStringList roots;
        for (const QString& path : chosen)
            roots << dir.filePath(path);
        QStringList relative;
        for (const QString& path : rideFilesIn(roots))
            relative << dir.relativeFilePath(path);
        QCOMPARE(relative, found);
        // A cancelled walk answers at once with what it has.
        const std::atomic<bool> cancelled{true};
        QVERIFY(rideFilesIn({dir.path()}, &cancelled).isEmpty());
    }

    // Every file of a folder is handed over, a few at a time, with the
    // progress; a file and its gzip form are the same content.
    void scannerReadsAFolder()
    {
        QTemporaryDir temp;
        const QDir dir(temp.path());
        const QByteArray fit = activity(false, true, false, false);
        QStringList expected;
        for (int i = 0; i < 40; ++i) {
            const QString name = QStringLiteral("season/%1/ride%2.fit").arg(i % 4).arg(i);
            QVERIFY(writeFile(dir, name, fit));
            expected << dir.filePath(name);
        }
        QVERIFY(writeFile(dir, QStringLiteral("season/packed.fit.gz"), gzipped(fit)));
        QVERIFY(writeFile(dir, QStringLiteral("season/cut.fit"), fit.left(fit.size() / 2)));
        expected << dir.filePath(QStringLiteral("season/packed.fit.gz"))
                 << dir.filePath(QStringLiteral("season/cut.fit"));
        expected.sort();

        RideFileScanner scanner;
        QSignalSpy found(&scanner, &RideFileScanner::filesFound);
        QSignalSpy read(&scanner, &RideFileScanner::filesRead);
        QSignalSpy finished(&scanner, &RideFileScanner::finished);
        scanner.start({dir.filePath(QStringLiteral("season"))});
        QVERIFY(scanner.isRunning());
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(!scanner.isRunning());
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().first().toInt(), 42);

        QStringList paths;
        QHash<QString, ScannedFile> byName;
        int lastDone = 0;
        for (const QList<QVariant>& signal : std::as_const(read)) {
            const auto files = signal.at(0).value<QList<ScannedFile>>();
            for (const ScannedFile& f : files) {
                paths << f.path;
                byName.insert(QFileInfo(f.path).fileName(), f);
            }
            QCOMPARE(signal.at(1).toInt(), lastDone + files.size());
            QCOMPARE(signal.at(2).toInt(), 42);
            lastDone = signal.at(1).toInt();
        }
        paths.sort();
        QCOMPARE(paths, expected);
        const QByteArray hash = QCryptographicHash::hash(fit, QCryptographicHash::Sha256);
        QCOMPARE(byName.value(QStringLiteral("ride7.fit")).sha256, hash);
        QCOMPARE(byName.value(QStringLiteral("packed.fit.gz")).sha256, hash);
        QCOMPARE(describeAll(byName.value(QStringLiteral("packed.fit.gz")).contents),
                 QStringList{fromSession});
        QCOMPARE(byName.value(QStringLiteral("cut.fit")).contents.problem, RideProblem::Damaged);

        // An empty choice finishes too.
        scanner.start({});
        QVERIFY(finished.wait(10000));
        QCOMPARE(found.last().first().toInt(), 0);
    }

    // Cancel and the destructor answer at once, in the middle of a long
    // scan, and nothing read afterwards is handed over.
    void scannerCancelsAtOnce()
    {
        QTemporaryDir temp;
        const QDir dir(temp.path());
        // Files slow to read: most of a megabyte of track points each.
        QByteArray big =
            "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>";
        const QDateTime t0(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);
        for (int i = 0; i < 8000; ++i)
            big += QStringLiteral(
                       "<trkpt lat=\"46.%1\" lon=\"14.5\"><ele>300</ele><time>%2</time></trkpt>\n")
                       .arg(i, 5, 10, QLatin1Char('0'))
                       .arg(t0.addSecs(i).toString(Qt::ISODate))
                       .toUtf8();
        big += "</trkseg></trk></gpx>";
        for (int i = 0; i < 80; ++i)
            QVERIFY(writeFile(dir, QStringLiteral("r%1.gpx").arg(i), big));

        auto scanner = std::make_unique<RideFileScanner>();
        QSignalSpy read(scanner.get(), &RideFileScanner::filesRead);
        QSignalSpy finished(scanner.get(), &RideFileScanner::finished);
        scanner->start({dir.path()});
        QVERIFY(read.wait(10000));
        QVERIFY2(read.last().at(1).toInt() < 80, "the scan ended before it could be cancelled");
        QElapsedTimer clock;
        clock.start();
        scanner->cancel();
        QVERIFY(clock.elapsed() < 100);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(!scanner->isRunning());
        const qsizetype readBefore = read.size();
        QTest::qWait(300);
        QCOMPARE(read.size(), readBefore);
        QCOMPARE(finished.size(), 1);

        // Destroyed while reading: it returns at once and says nothing more.
        scanner->start({dir.path()});
        QTest::qWait(100);
        clock.restart();
        scanner.reset();
        QVERIFY(clock.elapsed() < 100);
        QCOMPARE(finished.size(), 1);
    }

    // Neither a large file nor a small one that inflates hugely is read in whole.
    void sizeLimits()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("bomb.gpx.gz")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(gzipped(QByteArray(4 * 1024 * 1024, ' ')));
        file.close();
        QVERIFY(file.size() < 64 * 1024);
        RideFileLimits limits;
        limits.maxInflatedBytes = 1024 * 1024;
        QCOMPARE(readRideFileBytes(file.fileName(), limits).problem, RideProblem::TooLarge);
        limits.maxFileBytes = 1024;
        QCOMPARE(readRideFile(file.fileName(), limits).problem, RideProblem::TooLarge);
        QCOMPARE(readRideFileBytes(file.fileName()).bytes.size(), 4 * 1024 * 1024);
        // Nor a pipe (which would wait for a writer for ever) or a device.
        const QString pipe = dir.filePath(QStringLiteral("pipe.fit"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QCOMPARE(scanRideFile(pipe).contents.problem, RideProblem::Unreadable);
        QCOMPARE(readRideFile(QStringLiteral("/dev/zero")).problem, RideProblem::Unreadable);
        // Two members one after another are one file, as gzip has it.
        QCOMPARE(gunzip(gzipped("ab") + gzipped("cd"), 10).bytes, QByteArray("abcd"));
    }

    void fieldValues_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("offset");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("celsius");
        QTest::addColumn<int>("sport");
        QTest::addColumn<bool>("indoor");
        QTest::addColumn<double>("metres");
        QTest::addColumn<QString>("fields");
        const int cycling = int(RideSport::Cycling);
        QTest::newRow("New Year's Eve ride, UTC already next year")
            << "2025-01-01T00:30:00Z" << -3600 << 3600.5 << 25.0 << cycling << false << 1000.0
            << "2024-12-31 01:00:01 25 - 30 C' Cyklistika Trénink ok";
        QTest::newRow("east of Greenwich, UTC still the day before")
            << "2024-06-30T22:30:00Z" << 7200 << 86399.0 << 24.99 << cycling << true << 1000.0
            << "2024-07-01 23:59:59 20 - 25 C' Cyklistika Trenažer ok";
        QTest::newRow("longer than a day")
            << "2024-06-30T06:00:00Z" << 0 << 86399.5 << 32.0 << int(RideSport::Running) << false
            << 1000.0 << "2024-06-30 -  Beh Trénink too long";
        QTest::newRow("no riding time")
            << "2024-06-30T06:00:00Z" << 0 << 0.4 << -10.0 << int(RideSport::Swimming) << false
            << 1000.0 << "2024-06-30 00:00:00 -10 -  5 C' Plavání Trénink out of range";
        // What a damaged file's signed fields can say.
        QTest::newRow("negative riding time")
            << "2024-06-30T06:00:00Z" << 0 << -60.0 << 20.0 << cycling << false << 1000.0
            << "2024-06-30 - 20 - 25 C' Cyklistika Trénink out of range";
        QTest::newRow("negative distance")
            << "2024-06-30T06:00:00Z" << 0 << 3600.0 << 20.0 << cycling << false << -5.0
            << "2024-06-30 01:00:00 20 - 25 C' Cyklistika Trénink out of range";
        QTest::newRow("cold skiing, other sport indoors")
            << "2024-01-30T06:00:00Z" << 0 << 60.0 << -25.1 << int(RideSport::Other) << true
            << 1000.0 << "2024-01-30 00:01:00   Trénink ok";
        QTest::newRow("a bike ride without distance was on a trainer")
            << "2024-01-30T06:00:00Z" << 0 << 60.0 << 15.0 << cycling << false << 0.0
            << "2024-01-30 00:01:00 15 - 20 C' Cyklistika Trenažer ok";
    }

    void fieldValues()
    {
        QFETCH(QString, start);
        QFETCH(int, offset);
        QFETCH(double, seconds);
        QFETCH(double, celsius);
        QFETCH(int, sport);
        QFETCH(bool, indoor);
        QFETCH(double, metres);
        QFETCH(QString, fields);
        ImportedRide ride;
        ride.start = QDateTime::fromString(start, Qt::ISODate);
        ride.localOffsetSeconds = offset;
        ride.timerSeconds = seconds;
        ride.distanceMetres = metres;
        ride.sport = RideSport(sport);
        ride.indoor = indoor;
        RideFieldValues::checkFits(ride);
        const auto time = RideFieldValues::ridingTime(seconds);
        const QString status = ride.problem == RideProblem::None ? QStringLiteral("ok")
                               : ride.problem == RideProblem::TooLong
                                   ? QStringLiteral("too long")
                                   : QStringLiteral("out of range");
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(RideFieldValues::localDay(ride).toString(Qt::ISODate),
                          time ? time->toString(QStringLiteral("HH:mm:ss")) : QStringLiteral("-"),
                          RideFieldValues::temperatureBand(celsius),
                          RideFieldValues::kindText(ride.sport), RideFieldValues::typeText(ride),
                          status),
                 fields);
    }

    // An elevation beyond the 16-bit field makes the ride an error, not a cut value.
    void valuesOutOfRange()
    {
        ImportedRide ride;
        ride.timerSeconds = 3600;
        ride.elevationGain = 32767;
        RideFieldValues::checkFits(ride);
        QCOMPARE(ride.problem, RideProblem::None);
        ride.maxAltitude = 32768;
        RideFieldValues::checkFits(ride);
        QCOMPARE(ride.problem, RideProblem::OutOfRange);
    }

    void sameRide_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("time within 2 %") << "2024-06-30 10000 -"
                                         << "2024-06-30 10200 -" << true;
        QTest::newRow("time beyond 2 %") << "2024-06-30 10000 -"
                                         << "2024-06-30 10205 -" << false;
        QTest::newRow("time within 60 s") << "2024-06-30 1000 -"
                                          << "2024-06-30 1060 -" << true;
        QTest::newRow("time beyond 60 s") << "2024-06-30 1061 -"
                                          << "2024-06-30 1000 -" << false;
        QTest::newRow("distance within 2 %") << "2024-06-30 - 50"
                                             << "2024-06-30 - 51" << true;
        QTest::newRow("distance beyond 2 %") << "2024-06-30 - 50"
                                             << "2024-06-30 - 51.05" << false;
        QTest::newRow("distance within 0.1 km") << "2024-06-30 - 2"
                                                << "2024-06-30 - 2.1" << true;
        QTest::newRow("distance beyond 0.1 km") << "2024-06-30 - 2.1001"
                                                << "2024-06-30 - 2" << false;
        QTest::newRow("time in, distance out") << "2024-06-30 3600 20"
                                               << "2024-06-30 3600 25" << false;
        QTest::newRow("another day") << "2024-06-30 3600 25"
                                     << "2024-07-01 3600 25" << false;
        QTest::newRow("a value known on one side only is not compared")
            << "2024-06-30 3600 -"
            << "2024-06-30 3610 80" << true;
        QTest::newRow("nothing to compare") << "2024-06-30 - 25"
                                            << "2024-06-30 3600 -" << false;
        QTest::newRow("no day") << "- 3600 25"
                                << "- 3600 25" << false;
    }

    void sameRide()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(::sameRide(identity(a), identity(b)), same);
        QCOMPARE(::sameRide(identity(b), identity(a)), same);
    }

    // What a ride from a file puts into each field; "refused" when it cannot
    // be stored at all.
    void rideRows_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("offset");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("extras");
        QTest::addColumn<QString>("row");
        QTest::newRow("New Year's Eve west of Greenwich, every field given")
            << "2025-01-01T00:30:00Z" << -3600 << 3600.4
            << "km=25.004 hr=140/170 gain=300.4 top=812.6 temp=22 by=Garmin|Edge_530"
            << "2024-12-31T00:00:00|Eva|31|12|2024|1:00:00|25|25|140|300|-|20 - 25 "
               "C'|Cyklistika|-|-|-|"
               "Trénink|Importováno ze souboru ride.fit (Garmin Edge 530)|813|170";
        QTest::newRow("trainer, no heart rate read, temperature in the gap, maker only")
            << "2024-06-30T22:30:00Z" << 7200 << 1800.0 << "km=0 hr=0/0 temp=32 indoor by=Wahoo|"
            << "2024-07-01T00:00:00|Eva|1|7|2024|0:30:00|0|0|-|-|-|-|Cyklistika|-|-|-|Trenažer|"
               "Importováno ze souboru ride.fit (Wahoo)|-|-";
        QTest::newRow("no distance, no speed; a run")
            << "2024-06-30T06:00:00Z" << 0 << 2700.0 << "sport=run"
            << "2024-06-30T00:00:00|Eva|30|6|2024|0:45:00|-|-|-|-|-|-|Beh|-|-|-|Trénink|"
               "Importováno ze souboru ride.fit|-|-";
        QTest::newRow("other sport, below sea level")
            << "2024-06-30T06:00:00Z" << 0 << 3600.0 << "km=10.006 sport=other top=-20.4 gain=0"
            << "2024-06-30T00:00:00|Eva|30|6|2024|1:00:00|10.01|10.01|-|0|-|-|-|-|-|-|Trénink|"
               "Importováno ze souboru ride.fit|-20|-";
        QTest::newRow("elevation beyond its field")
            << "2024-06-30T06:00:00Z" << 0 << 3600.0 << "gain=32767.6"
            << "refused";
        QTest::newRow("longer than a day") << "2024-06-30T06:00:00Z" << 0 << 86400.0 << ""
                                           << "refused";
        QTest::newRow("faster than the speed field")
            << "2024-06-30T06:00:00Z" << 0 << 3600.0 << "km=1000"
            << "refused";
        QTest::newRow("heart rate beyond its field")
            << "2024-06-30T06:00:00Z" << 0 << 3600.0 << "hr=70000/70000"
            << "refused";
    }

    void rideRows()
    {
        QFETCH(QString, start);
        QFETCH(int, offset);
        QFETCH(double, seconds);
        QFETCH(QString, extras);
        QFETCH(QString, row);
        ImportedRide ride;
        ride.start = QDateTime::fromString(start, Qt::ISODate);
        ride.localOffsetSeconds = offset;
        ride.timerSeconds = seconds;
        ride.sport = RideSport::Cycling;
        for (const QString& item : extras.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString key = item.section(QLatin1Char('='), 0, 0);
            const QString value = item.section(QLatin1Char('='), 1);
            if (key == QLatin1String("km"))
                ride.distanceMetres = value.toDouble() * 1000;
            else if (key == QLatin1String("hr"))
                ride.avgHeartRate = value.section(QLatin1Char('/'), 0, 0).toInt(),
                ride.maxHeartRate = value.section(QLatin1Char('/'), 1).toInt();
            else if (key == QLatin1String("gain"))
                ride.elevationGain = value.toDouble();
            else if (key == QLatin1String("top"))
                ride.maxAltitude = value.toDouble();
            else if (key == QLatin1String("temp"))
                ride.avgTemperature = value.toDouble();
            else if (key == QLatin1String("indoor"))
                ride.indoor = true;
            else if (key == QLatin1String("sport"))
                ride.sport = value == QLatin1String("run") ? RideSport::Running : RideSport::Other;
            else if (key == QLatin1String("by"))
                ride.maker = value.section(QLatin1Char('|'), 0, 0),
                ride.product =
                    value.section(QLatin1Char('|'), 1).replace(QLatin1Char('_'), QLatin1Char(' '));
        }
        QString got;
        try {
            got = rowText(rideRowFor(ride, QStringLiteral("Eva"), QStringLiteral("ride.fit")));
        } catch (const RydexError&) {
            got = QStringLiteral("refused");
        }
        QCOMPARE(got, row);
    }

    // The preview's rows against a store: a ride typed by hand, another
    // file of a ride listed before, the same folder imported again, a ride
    // changed by hand after its import, a ride deleted and imported again.
    void importPlans()
    {
        TData data(TestEnv::root() + QStringLiteral("/plans/Rydex.dat"));
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2024, 6));
        addTestRide(t,
                    {.date = QDate(2024, 6, 1), .km = QStringLiteral("25"), .time = QTime(1, 0)});
        addTestRide(t, {.user = QStringLiteral("Jan"),
                        .date = QDate(2024, 6, 2),
                        .km = QStringLiteral("30"),
                        .time = QTime(1, 0)});
        const int typed = t.rowAt(0)[fieldIndex(RideField::id)].toInt();
        ImportedRide tooLong = deviceRide(QStringLiteral("2024-06-05"), 1440, 500);
        const QList<ScannedFile> folder = {
            scanned(QStringLiteral("/dev/a.fit"),
                    {deviceRide(QStringLiteral("2024-06-01"), 60.5, 25.3)}),
            scanned(QStringLiteral("/dev/b.fit"),
                    {deviceRide(QStringLiteral("2024-06-02"), 60, 30)}),
            scanned(QStringLiteral("/dev/b.gpx"),
                    {deviceRide(QStringLiteral("2024-06-02"), 61, 30.4)}),
            scanned(QStringLiteral("/dev/c.tcx"),
                    {deviceRide(QStringLiteral("2024-06-03"), 30, 6, RideSport::Running),
                     deviceRide(QStringLiteral("2024-06-03"), 30, 6.05, RideSport::Unknown)}),
            scanned(QStringLiteral("/dev/d.fit"), {}, RideProblem::Damaged),
            scanned(QStringLiteral("/dev/e.fit"), {tooLong}),
        };
        QCOMPARE(plan(t, folder),
                 QStringList({QStringLiteral("a.fit recorded ride %1 of 2024-06-01").arg(typed),
                              "b.fit new ticked", "b.gpx recorded as #1", "c.tcx new",
                              "c.tcx new ticked", "d.fit cannot", "e.fit cannot"}));
        ImportPlanner planner(QStringLiteral("Eva"), {}, {});
        QCOMPARE(planner.add(folder.at(5)).at(0).problem, RideProblem::TooLong);
        QCOMPARE(planner.add(folder.at(4)).at(0).problem, RideProblem::Damaged);
        ImportedRide noStart = deviceRide(QStringLiteral("2024-06-05"), 60, 20);
        noStart.start = QDateTime();
        QCOMPARE(planner.add(scanned(QStringLiteral("f.fit"), {noStart})).at(0).problem,
                 RideProblem::NoTimes);

        const QList<ScannedFile> ticked = {folder.at(1), folder.at(3)};
        const QVector<RideRow> stored = storeImportedRides(t, toImport(ticked), QDateTime());
        const int b = stored.at(0)[fieldIndex(RideField::id)].toInt();
        const int c = stored.at(1)[fieldIndex(RideField::id)].toInt();
        QCOMPARE(plan(t, folder),
                 QStringList({QStringLiteral("a.fit recorded ride %1 of 2024-06-01").arg(typed),
                              QStringLiteral("b.fit recorded ride %1 of 2024-06-02").arg(b),
                              QStringLiteral("b.gpx recorded ride %1 of 2024-06-02").arg(b),
                              QStringLiteral("c.tcx recorded ride %1 of 2024-06-03").arg(c),
                              QStringLiteral("c.tcx recorded ride %1 of 2024-06-03").arg(c),
                              "d.fit cannot", "e.fit cannot"}));

        // Shortened by hand: no longer the same ride by its figures, but its
        // file's content is known.
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2024, 6));
        t.setCurrentIndex(1);
        QCOMPARE(t.value(RideField::id).toInt(), b);
        t.edit();
        t.setValue(RideField::time, QTime(0, 30));
        t.post();
        QCOMPARE(plan(t, {folder.at(1)}),
                 QStringList{QStringLiteral("b.fit recorded ride %1 of 2024-06-02").arg(b)});
        t.deleteRecord();
        QCOMPARE(plan(t, {folder.at(1)}), QStringList{"b.fit new ticked"});
    }

    // Rides of two years stored in one go, their entries and their years'
    // odometer chains; a ride refused leaves nothing; the kept sets stay
    // what the store holds; a ride deleted by any copy frees its file.
    void storedImports()
    {
        const QString file = TestEnv::root() + QStringLiteral("/stored/Rydex.dat");
        TData data(file);
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2024, 12));
        addTestRide(t, {.date = QDate(2024, 12, 1),
                        .km = QStringLiteral("10"),
                        .time = QTime(1, 0),
                        .odo = QStringLiteral("1000")});
        addTestRide(t, {.date = QDate(2025, 1, 5),
                        .km = QStringLiteral("20"),
                        .time = QTime(1, 0),
                        .odo = QStringLiteral("100")});
        const RideFilter yearFilter = RideFilter::year(QStringLiteral("Eva"), 2025);
        t.setFilter(yearFilter);
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2024, 12));
        const QVector<RideRow> before = t.rows();
        const QList<ScannedFile> files = {
            scanned(QStringLiteral("/dev/1.fit"),
                    {deviceRide(QStringLiteral("2024-12-20"), 60, 30)}),
            scanned(QStringLiteral("/dev/2.fit"),
                    {deviceRide(QStringLiteral("2024-12-10"), 60, 40),
                     deviceRide(QStringLiteral("2025-01-02"), 60, 50),
                     deviceRide(QStringLiteral("2025-01-03"), 60, 15)}),
        };
        QVector<RideToImport> rides = toImport(files);
        QVector<RideToImport> refused = rides;
        refused[2].row[fieldIndex(RideField::user)] = QStringLiteral("a name longer than twenty");
        const QString why = [&] {
            try {
                storeImportedRides(t, refused, QDateTime());
            } catch (const RydexError& e) {
                return e.text();
            }
            return QString();
        }();
        QVERIFY2(why.contains(QStringLiteral("/dev/2.fit")), qPrintable(why));
        QCOMPARE(onOwnConnection(file, {QStringLiteral("SELECT count(*) FROM rydex"),
                                        QStringLiteral("SELECT count(*) FROM imports")}),
                 QStringList{"0"});
        QCOMPARE(onOwnConnection(file, {QStringLiteral("SELECT count(*) FROM rydex")}),
                 QStringList{"2"});
        QCOMPARE(t.rows(), before);

        const QDateTime at(QDate(2025, 1, 10), QTime(12, 0), Qt::UTC);
        const QVector<RideRow> stored = storeImportedRides(t, rides, at);
        QCOMPARE(t.filter(), RideFilter::month(QStringLiteral("Eva"), 2024, 12).text());
        QStringList odometer;
        for (const RideRow& row : stored)
            odometer << row[fieldIndex(RideField::odo)].value<Fixed4>().toPlainString();
        // 2024 goes on from the reading of 1 December. In 2025 two rides come
        // ahead of the one whose reading was entered, and that reading stays.
        QCOMPARE(odometer, QStringList({"1070", "1040", "65", "80"}));
        QCOMPARE(
            onOwnConnection(file, {QStringLiteral("SELECT odo / 10000 FROM rydex ORDER BY date")}),
            QStringList({"1000", "1040", "1070", "65", "80", "100"}));
        QCOMPARE(
            onOwnConnection(file, {QStringLiteral("SELECT file || ' ' || imported FROM imports "
                                                  "ORDER BY ride")}),
            QStringList({"1.fit 2025-01-10T12:00:00Z", "2.fit 2025-01-10T12:00:00Z",
                         "2.fit 2025-01-10T12:00:00Z", "2.fit 2025-01-10T12:00:00Z"}));
        QCOMPARE(ImportRecords::importedFiles(*data.connection(), QStringLiteral("Eva")).size(), 2);
        QVERIFY(ImportRecords::importedFiles(*data.connection(), QStringLiteral("Jan")).isEmpty());

        // The kept sets learnt of every ride.
        TData fresh(file);
        fresh.open();
        for (const RideFilter& filter :
             {yearFilter, RideFilter::month(QStringLiteral("Eva"), 2024, 12),
              RideFilter::cyclist(QStringLiteral("Eva"))}) {
            t.setFilter(filter);
            fresh.table()->setFilter(filter);
            QCOMPARE(t.rows(), fresh.table()->rows());
        }

        // Deleted here, and by another program.
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2024, 12));
        t.setCurrentIndex(1);
        t.deleteRecord();
        onOwnConnection(file,
                        {QStringLiteral("DELETE FROM rydex WHERE year = 2025 AND odo < 1000000")});
        QCOMPARE(onOwnConnection(file, {QStringLiteral("SELECT file FROM imports")}),
                 QStringList{"1.fit"});
    }

    void copiedLogs_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("file to file") << QStringLiteral("file");
        QTest::newRow("file to server") << QStringLiteral("server");
    }

    // A log copied onto another store: the rides of every cyclist and their
    // files' entries come along, the target's odometer chain goes on from
    // the reading it held, a ride it has already (by its figures, by its
    // file, or one with nothing to compare) is not copied again, and a copy
    // stopped after its first year keeps that year whole.
    void copiedLogs()
    {
        QFETCH(QString, target);
        const QString root = TestEnv::root() + QStringLiteral("/copy-") + target;
        const auto eva = [](int y, int m, int d, const char* km, QTime time, const char* odo = "") {
            return TestRide{.date = QDate(y, m, d),
                            .km = QLatin1String(km),
                            .time = time,
                            .odo = QLatin1String(odo)};
        };
        // Each store with the month shown that the rides are added to; this
        // computer's is a file, the others are where the row copies to.
        const auto opened = [&](const QString& name) {
            auto data = std::make_unique<TData>(
                target == QLatin1String("server") && name != QLatin1String("home")
                    ? TestServer::freshStore()
                    : StoreLocation::file(root + QLatin1Char('/') + name +
                                          QStringLiteral("/Rydex.dat")));
            data->connection()->setCreationConsent([](const QString&) { return true; });
            data->open();
            data->table()->setFilter(RideFilter::month(QStringLiteral("Eva"), 2024, 6));
            return data;
        };
        const auto home = opened(QStringLiteral("home"));
        ADOTable& h = *home->table();
        addTestRide(h, eva(2024, 6, 1, "20", QTime(1, 0), "1000"));
        addTestRide(h, eva(2024, 6, 3, "30", QTime(1, 30)));
        addTestRide(h, eva(2025, 1, 2, "15", QTime(0, 40), "100"));
        addTestRide(h, {.user = QStringLiteral("Jan"),
                        .date = QDate(2024, 6, 2),
                        .note = QStringLiteral("rest")});
        const QDateTime at(QDate(2024, 6, 6), QTime(7, 0), Qt::UTC);
        const ScannedFile file = scanned(QStringLiteral("/dev/a.fit"),
                                         {deviceRide(QStringLiteral("2024-06-05"), 60, 25)});
        storeImportedRides(h, toImport({file}), at);

        const auto club = opened(QStringLiteral("club"));
        ADOTable& c = *club->table();
        addTestRide(c, eva(2024, 5, 20, "10", QTime(0, 30), "500"));
        addTestRide(c, eva(2024, 6, 3, "30.4", QTime(1, 31)));
        QStringList told;
        const auto copy = [&](TData& to, int stopAfter) {
            told.clear();
            return copyLog(*home->connection(), *to.connection(), [&](int done, int total) {
                told << QStringLiteral("%1/%2").arg(done).arg(total);
                return done < stopAfter;
            });
        };
        const auto evasYear = [](ADOTable& t, int year) {
            QStringList rides;
            for (const RideRow& row : t.peekRows(RideFilter::year(QStringLiteral("Eva"), year),
                                                 {RideField::date, RideField::odo}))
                rides << row[fieldIndex(RideField::date)].toDate().toString(Qt::ISODate) +
                             QLatin1Char(' ') +
                             row[fieldIndex(RideField::odo)].value<Fixed4>().toPlainString();
            return rides;
        };

        LogCopyResult result = copy(*club, 5);
        QCOMPARE(told, QStringList({"0/5", "3/5", "4/5", "5/5"}));
        QCOMPARE(std::pair(result.copied, result.alreadyThere), std::pair(4, 1));
        QCOMPARE(evasYear(c, 2024), QStringList({"2024-05-20 500", "2024-06-01 520",
                                                 "2024-06-03 550.4", "2024-06-05 575.4"}));
        QCOMPARE(evasYear(c, 2025), QStringList{"2025-01-02 100"});
        const auto entries =
            ImportRecords::filesOfRides(*club->connection(), QStringLiteral("Eva"));
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.begin()->size(), 1);
        QCOMPARE(entries.begin()->first().sha256, file.sha256);
        QCOMPARE(entries.begin()->first().fileName, QStringLiteral("a.fit"));
        QCOMPARE(entries.begin()->first().importedAt, at);

        // The imported ride shortened on the server is still the file's ride.
        c.refresh();
        c.setCurrentIndex(2);
        c.edit();
        c.setValue(RideField::time, QTime(0, 30));
        c.post();
        result = copy(*club, 5);
        QCOMPARE(std::pair(result.copied, result.alreadyThere), std::pair(0, 5));

        const auto fresh = opened(QStringLiteral("fresh"));
        result = copy(*fresh, 1);
        QCOMPARE(told, QStringList({"0/5", "3/5"}));
        QCOMPARE(std::pair(result.copied, result.alreadyThere), std::pair(3, 0));
        QCOMPARE(evasYear(*fresh->table(), 2024),
                 QStringList({"2024-06-01 1000", "2024-06-03 1030", "2024-06-05 1055"}));
        QVERIFY(fresh->table()->peekRows(RideFilter::cyclist(QStringLiteral("Jan")), {}).isEmpty());
    }

    // Files from real devices against the totals a reference decoder reads.
    void deviceFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ride");
        QTest::addColumn<int>("problem");
        QTest::newRow("Edge 820")
            << QStringLiteral("garmin-edge-820-bike.fit")
            << QStringLiteral(
                   "2017-06-12T16:10:15Z off=-25200.0 timer=64.5 dst=457.1 hr=116.0/121.0 gain=0.0")
            << 0;
        QTest::newRow("Fenix 5")
            << QStringLiteral("garmin-fenix-5-bike.fit")
            << QStringLiteral(
                   "2017-06-12T16:09:22Z off=-25200.0 timer=60.4 dst=459.5 hr=101.0/114.0 gain=0.0")
            << 0;
        QTest::newRow("indoor trainer")
            << QStringLiteral("sample-activity-indoor-trainer.fit")
            << QStringLiteral(
                   "2011-11-02T12:54:19Z off=- timer=2261.8 dst=0.0 hr=148.0/176.0 gain=4.0")
            << 0;
        QTest::newRow("GPX tracks of one ride, no heart rate")
            << QStringLiteral("cerknicko-jezero.gpx")
            << QStringLiteral("2010-08-05T14:23:59Z off=- timer=4308.0 dst=13665.0 hr=-/-") << 0;
        QTest::newRow("GPX single point") << QStringLiteral("gpx_with_garmin_extension.gpx")
                                          << QString() << int(RideProblem::Route);
        QTest::newRow("TCX run")
            << QStringLiteral("test.tcx")
            << QStringLiteral("2012-12-26T21:29:53Z off=- timer=1992.8 dst=4689.2 hr=160.0/189.0")
            << 0;
    }

    void deviceFiles()
    {
        const QDir dir(QStringLiteral(RYDEX_DEVICE_FILES));
        if (!dir.exists())
            QSKIP("the device files are not on this machine");
        QFETCH(QString, name);
        QFETCH(QString, ride);
        QFETCH(int, problem);
        const RideFileContents contents = readRideFile(dir.filePath(name));
        QCOMPARE(int(contents.problem), problem);
        QCOMPARE(contents.rides.isEmpty(), ride.isEmpty());
        if (!ride.isEmpty())
            QVERIFY2(describe(contents.rides.first()).startsWith(ride),
                     qPrintable(describe(contents.rides.first())));
    }
};

RYDEX_TEST_MAIN(TestImport, QCoreApplication)
#include "tst_import.moc"
