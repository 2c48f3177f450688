#include "ImportBench.h"

#include "FitWriter.h"
#include "Gzip.h"
#include "import/RideFileScan.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <cmath>
#include <ctime>

namespace ImportBench {

namespace {

using F = FitWriter;
constexpr quint8 sint32 = 0x85;

// The ride's start: one a day through the season, at various hours.
QDateTime rideStart(int ride)
{
    return QDateTime(QDate(2024, 3, 1).addDays(ride), QTime(6 + ride % 12, 7 * ride % 60), Qt::UTC);
}

// A point of the ride: a slow climb and descent, heart rate and speed varying.
struct Sample
{
    double latitude, longitude, altitude, metres, speed;
    int heartRate, cadence, power, temperature;
};
Sample sample(int i)
{
    const double speed = 7.0 + 2.0 * std::sin(i / 90.0);
    return {46.0 + i * 0.00006,
            14.5 + 0.01 * std::sin(i / 500.0),
            300 + 150 * std::sin(i / 1200.0),
            i * 7.0,
            speed,
            120 + int(25 * std::sin(i / 300.0)) + i % 3,
            85 + i % 7,
            180 + int(60 * std::sin(i / 45.0)),
            18 + i / 2000};
}

QString isoTime(const QDateTime& start, int second)
{
    return start.addSecs(second).toString(Qt::ISODate);
}

QByteArray gpxActivity(int points, int ride)
{
    const QDateTime start = rideStart(ride);
    QString text = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"bench\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\" "
        "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
        "<trk><name>Ride</name><type>cycling</type><trkseg>\n");
    for (int i = 0; i < points; ++i) {
        const Sample s = sample(i);
        text +=
            QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time><extensions>"
                           "<gpxtpx:TrackPointExtension><gpxtpx:atemp>%5</gpxtpx:atemp>"
                           "<gpxtpx:hr>%6</gpxtpx:hr><gpxtpx:cad>%7</gpxtpx:cad>"
                           "</gpxtpx:TrackPointExtension></extensions></trkpt>\n")
                .arg(s.latitude, 0, 'f', 7)
                .arg(s.longitude, 0, 'f', 7)
                .arg(s.altitude, 0, 'f', 1)
                .arg(isoTime(start, i))
                .arg(s.temperature)
                .arg(s.heartRate)
                .arg(s.cadence);
    }
    text += QStringLiteral("</trkseg></trk></gpx>\n");
    return text.toUtf8();
}

QByteArray tcxActivity(int points, int ride)
{
    const QDateTime start = rideStart(ride);
    QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TrainingCenterDatabase "
                       "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n"
                       "<Activities><Activity Sport=\"Biking\"><Id>%1</Id><Lap StartTime=\"%1\">"
                       "<TotalTimeSeconds>%2</TotalTimeSeconds><DistanceMeters>%3</DistanceMeters>"
                       "<AverageHeartRateBpm><Value>131</Value></AverageHeartRateBpm>"
                       "<MaximumHeartRateBpm><Value>160</Value></MaximumHeartRateBpm><Track>\n")
            .arg(isoTime(start, 0))
            .arg(points)
            .arg(points * 7);
    for (int i = 0; i < points; ++i) {
        const Sample s = sample(i);
        text += QStringLiteral(
                    "<Trackpoint><Time>%1</Time><Position><LatitudeDegrees>%2</LatitudeDegrees>"
                    "<LongitudeDegrees>%3</LongitudeDegrees></Position>"
                    "<AltitudeMeters>%4</AltitudeMeters><DistanceMeters>%5</DistanceMeters>"
                    "<HeartRateBpm><Value>%6</Value></HeartRateBpm><Cadence>%7</Cadence>"
                    "</Trackpoint>\n")
                    .arg(isoTime(start, i))
                    .arg(s.latitude, 0, 'f', 7)
                    .arg(s.longitude, 0, 'f', 7)
                    .arg(s.altitude, 0, 'f', 1)
                    .arg(s.metres, 0, 'f', 1)
                    .arg(s.heartRate)
                    .arg(s.cadence);
    }
    text += QStringLiteral("</Track></Lap></Activity></Activities></TrainingCenterDatabase>\n");
    return text.toUtf8();
}

bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

QByteArray fitActivity(int records, int ride)
{
    const QDateTime startTime = rideStart(ride);
    const quint32 start =
        F::time(startTime.date().year(), startTime.date().month(), startTime.date().day(),
                startTime.time().hour(), startTime.time().minute());
    F w;
    w.define(0, 0, {{0, F::Enum}, {1, F::UInt16}, {2, F::UInt16}, {3, F::UInt32}, {4, F::UInt32}});
    w.data(0, {4, 1, 3122, 3999000000LL + ride, start});
    w.define(1, 21, {{253, F::UInt32}, {0, F::Enum}, {1, F::Enum}});
    w.data(1, {start, 0, 0});
    w.define(2, 20,
             {{253, F::UInt32},
              {0, sint32},
              {1, sint32},
              {2, F::UInt16},
              {3, F::UInt8},
              {4, F::UInt8},
              {5, F::UInt32},
              {6, F::UInt16},
              {7, F::UInt16},
              {13, F::SInt8},
              {73, F::UInt32},
              {78, F::UInt32}});
    const double semicircles = 2147483648.0 / 180.0;
    const int pauseAt = records / 2;
    const int pauseSeconds = 600;
    quint32 t = start;
    for (int i = 0; i < records; ++i) {
        if (i == pauseAt) {
            w.data(1, {t, 0, 4});
            t += pauseSeconds;
            w.data(1, {t, 0, 0});
        }
        const Sample s = sample(i);
        const qint64 altitude = qRound((s.altitude + 500) * 5);
        const qint64 speed = qRound(s.speed * 1000);
        w.data(2, {t, qRound64(s.latitude * semicircles), qRound64(s.longitude * semicircles),
                   altitude, s.heartRate, s.cadence, qRound64(s.metres * 100), speed, s.power,
                   s.temperature, speed, altitude});
        ++t;
    }
    w.define(3, 19,
             {{253, F::UInt32}, {2, F::UInt32}, {7, F::UInt32}, {8, F::UInt32}, {9, F::UInt32}});
    w.data(3, {t, start, (t - start) * 1000, records * 1000, records * 700});
    w.define(4, 18,
             {{253, F::UInt32},
              {2, F::UInt32},
              {7, F::UInt32},
              {8, F::UInt32},
              {9, F::UInt32},
              {16, F::UInt8},
              {17, F::UInt8},
              {22, F::UInt16},
              {5, F::Enum},
              {6, F::Enum}});
    w.data(4, {t, start, (t - start) * 1000, records * 1000, records * 700, 131, 160,
               150 * (records / 3600 + 1), 2, 0});
    w.define(5, 34, {{253, F::UInt32}, {5, F::UInt32}, {1, F::UInt16}});
    w.data(5, {t, t + 7200, 1});
    return w.file();
}

Season writeSeason(const QString& dir, int files, qint64 bytes)
{
    // The sizes of a record and a point in each format, near enough to aim
    // at the total.
    const qint64 each = bytes / std::max(1, files);
    Season season;
    for (int i = 0; i < files; ++i) {
        const QString month = QDir(dir).filePath(
            QStringLiteral("%1").arg(3 + i * 8 / files, 2, 10, QLatin1Char('0')));
        const QString name =
            QStringLiteral("%1/ride-%2").arg(month).arg(i, 3, 10, QLatin1Char('0'));
        QByteArray content;
        QString path;
        switch (i % 10) {
        case 8:
            content = gpxActivity(int(each / 260), i);
            path = name + QStringLiteral(".gpx");
            break;
        case 9:
            content = tcxActivity(int(each / 330), i);
            path = name + QStringLiteral(".tcx");
            break;
        default:
            content = fitActivity(int(each / 34), i);
            path = name + QStringLiteral(".fit");
            break;
        }
        // Every seventh file as an archive downloaded from a website has it.
        if (i % 7 == 3) {
            content = gzipped(content);
            path += QStringLiteral(".gz");
        }
        if (!write(path, content))
            return {};
        ++season.files;
        season.bytes += content.size();
    }
    return season;
}

Preview previewSeason(const QString& dir)
{
    Preview preview;
    RideFileScanner scanner;
    QList<ScannedFile> kept;
    QEventLoop loop;
    QObject::connect(&scanner, &RideFileScanner::filesRead, &loop,
                     [&](const QList<ScannedFile>& files, int, int) {
                         kept += files;
                         ++preview.progressSteps;
                     });
    QObject::connect(&scanner, &RideFileScanner::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    const std::clock_t cpu = std::clock();
    scanner.start({dir});
    loop.exec();
    preview.ms = double(clock.nsecsElapsed()) / 1e6;
    preview.cpuMs = double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
    preview.files = int(kept.size());
    for (const ScannedFile& f : std::as_const(kept))
        preview.rides += int(f.contents.rides.size());
    return preview;
}

} // namespace ImportBench
