#include "TestMain.h"

#include "FitWriter.h"
#include "import/FitCrc.h"
#include "import/FitDecoder.h"

#include <QCoreApplication>

namespace {

using F = FitWriter;

// One line for every field of a ride, so that a row states all it expects.
QString describe(const ImportedRide& r)
{
    const auto num = [](const auto& v) {
        return v ? QString::number(double(*v), 'f', 1) : QStringLiteral("-");
    };
    return QStringLiteral("%1 off=%2 timer=%3 dst=%4 hr=%5/%6 gain=%7 top=%8 temp=%9 sport=%10%11 by=%12 %13 problem=%14")
        .arg(r.start.toString(Qt::ISODate), num(r.localOffsetSeconds), num(r.timerSeconds),
             num(r.distanceMetres), num(r.avgHeartRate), num(r.maxHeartRate), num(r.elevationGain),
             num(r.maxAltitude), num(r.avgTemperature))
        .arg(int(r.sport))
        .arg(r.indoor ? QStringLiteral(" indoor") : QString(), r.maker, r.product)
        .arg(int(r.problem));
}

const quint32 start = F::time(2024, 12, 31, 22, 30);

// An activity of ten records a second apart, climbing 1 m a second with a
// heart rate of 120 then 0 (ignored) and 20 °C, finished by a session that
// states `sessionTotals` or nothing but its start and sport.
QByteArray activity(bool bigEndian, bool sessionTotals, bool compressedTimes, bool developer,
                    int headerSize = 14)
{
    F w(bigEndian, headerSize);
    w.define(0, 0, {{0, F::Enum}, {1, F::UInt16}, {2, F::UInt16}});
    w.data(0, {4, 1, 2713});
    w.define(1, 20, {{253, F::UInt32}, {3, F::UInt8}, {2, F::UInt16}, {5, F::UInt32}, {13, F::SInt8}},
             developer ? QList<quint8>{3, 1} : QList<quint8>{});
    if (compressedTimes)
        w.define(2, 20, {{3, F::UInt8}, {2, F::UInt16}, {5, F::UInt32}, {13, F::SInt8}});
    for (int i = 0; i < 10; ++i) {
        const qint64 hr = i < 9 ? 120 : 0;
        const qint64 alt = (100 + i * 1 + 500) * 5;
        const qint64 dst = i * 500; // 5 m/s
        if (compressedTimes && i > 0)
            w.compressed(2, start + i, {hr, alt, dst, 20});
        else
            w.data(1, {start + i, hr, alt, dst, 20}, developer ? QByteArray("abcd", 4) : QByteArray());
    }
    if (sessionTotals) {
        w.define(3, 18, {{253, F::UInt32}, {2, F::UInt32}, {8, F::UInt32}, {9, F::UInt32},
                         {16, F::UInt8}, {17, F::UInt8}, {22, F::UInt16}, {128, F::UInt32},
                         {50, F::UInt16}, {57, F::SInt8}, {5, F::Enum}, {6, F::Enum}});
        w.data(3, {start + 9, start, 3600500, 2500000, 140, 0xFF, 300, (812 + 500) * 5,
                   (700 + 500) * 5, -3, 2, 6});
    } else {
        w.define(3, 18, {{253, F::UInt32}, {2, F::UInt32}, {5, F::Enum}});
        w.data(3, {start + 9, start, 1});
    }
    w.define(4, 34, {{253, F::UInt32}, {5, F::UInt32}});
    w.data(4, {start + 9, start + 9 + 3600});
    return w.file();
}

const QString fromSession = QStringLiteral(
    "2024-12-31T22:30:00Z off=3600.0 timer=3600.5 dst=25000.0 hr=140.0/120.0 gain=300.0 "
    "top=812.0 temp=-3.0 sport=1 indoor by=Garmin 2713 problem=0");
const QString fromRecords = QStringLiteral(
    "2024-12-31T22:30:00Z off=3600.0 timer=9.0 dst=45.0 hr=120.0/120.0 gain=9.0 "
    "top=109.0 temp=20.0 sport=2 by=Garmin 2713 problem=0");

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void fitCrcIsTheFormatsOwn()
    {
        QCOMPARE(fitCrc("123456789"), quint16(0xBB3D));
        QCOMPARE(fitCrc(""), quint16(0));
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
        QTest::newRow("big-endian") << activity(true, true, false, false) << QStringList{fromSession} << ok;
        QTest::newRow("12-byte header")
            << activity(false, true, false, false, 12) << QStringList{fromSession} << ok;
        QTest::newRow("totals from records")
            << activity(false, false, false, false) << QStringList{fromRecords} << ok;
        QTest::newRow("compressed timestamps")
            << activity(false, false, true, false) << QStringList{fromRecords} << ok;
        QTest::newRow("developer fields skipped")
            << activity(true, false, false, true) << QStringList{fromRecords} << ok;
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

        QByteArray flipped = whole;
        flipped[15] = char(flipped[15] ^ 0x01); // a definition's reserved byte
        QString bad = fromRecords;
        bad.replace(QStringLiteral("problem=0"), QStringLiteral("problem=%1").arg(damaged));
        QTest::newRow("file checksum wrong") << flipped << QStringList{bad} << damaged;
        QByteArray badHeader = whole;
        badHeader[12] = char(badHeader[12] ^ 0x01);
        QTest::newRow("header checksum wrong") << badHeader << QStringList{} << damaged;
        QTest::newRow("not a FIT file") << QByteArray("<gpx></gpx>") << QStringList{}
                                        << int(RideProblem::Unreadable);

        F settings;
        settings.define(0, 0, {{0, F::Enum}});
        settings.data(0, {2});
        QTest::newRow("settings file") << settings.file()
                                       << QStringList{QStringLiteral(" off=- timer=- dst=- hr=-/- gain=- top=- temp=- sport=0 by=  problem=%1")
                                                          .arg(int(RideProblem::NotAnActivity))}
                                       << ok;
    }

    void fitFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rides);
        QFETCH(int, problem);
        const RideFileContents contents = decodeFit(file);
        QStringList got;
        for (const ImportedRide& r : contents.rides)
            got << describe(r);
        QCOMPARE(got, rides);
        QCOMPARE(int(contents.problem), problem);
    }

    // Files from real devices against the totals a reference decoder reads.
    void deviceFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ride");
        QTest::newRow("Edge 820") << QStringLiteral("garmin-edge-820-bike.fit")
                                  << QStringLiteral("2017-06-12T16:10:15Z off=-25200.0 timer=64.5 dst=457.1 hr=116.0/121.0 gain=0.0");
        QTest::newRow("Fenix 5") << QStringLiteral("garmin-fenix-5-bike.fit")
                                 << QStringLiteral("2017-06-12T16:09:22Z off=-25200.0 timer=60.4 dst=459.5 hr=101.0/114.0 gain=0.0");
        QTest::newRow("indoor trainer")
            << QStringLiteral("sample-activity-indoor-trainer.fit")
            << QStringLiteral("2011-11-02T12:54:19Z off=- timer=2261.8 dst=0.0 hr=148.0/176.0 gain=4.0");
    }

    void deviceFiles()
    {
        const QDir dir(QStringLiteral(RYDEX_DEVICE_FILES));
        if (!dir.exists())
            QSKIP("the device files are not on this machine");
        QFETCH(QString, name);
        QFETCH(QString, ride);
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const RideFileContents contents = decodeFit(file.readAll());
        QCOMPARE(int(contents.problem), int(RideProblem::None));
        QCOMPARE(contents.rides.size(), 1);
        QCOMPARE(describe(contents.rides.first()).left(ride.size()), ride);
    }
};

RYDEX_TEST_MAIN(TestImport, QCoreApplication)
#include "tst_import.moc"
