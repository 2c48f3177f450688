#include "ScopedLocale.h"
#include "TestMain.h"

#include "backup/RideCsv.h"
#include "store/Fixed4.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
RideRow ride(const QString& note)
{
    RideRow r;
    r[fieldIndex(RideField::id)] = 7;
    r[fieldIndex(RideField::user)] = QStringLiteral("Eva, \"Evička\"");
    r[fieldIndex(RideField::date)] = QDateTime(QDate(2026, 12, 10), QTime(0, 0));
    r[fieldIndex(RideField::time)] = QTime(1, 5, 9);
    r[fieldIndex(RideField::dst)] = QVariant::fromValue(Fixed4::fromUnits(425'050));
    r[fieldIndex(RideField::avs)] = QVariant::fromValue(Fixed4::fromUnits(385'700));
    r[fieldIndex(RideField::pulse)] = 141;
    r[fieldIndex(RideField::odo)] = QVariant::fromValue(Fixed4::fromUnits(98'765'4300));
    r[fieldIndex(RideField::temperature)] = QStringLiteral("-10 -  5 C'");
    r[fieldIndex(RideField::note)] = note;
    return r;
}
} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void csvCell_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("plain") << "Cyklistika" << QByteArray("Cyklistika");
        QTest::newRow("empty") << "" << QByteArray("");
        QTest::newRow("comma") << "a,b" << QByteArray("\"a,b\"");
        QTest::newRow("quote") << "say \"hi\"" << QByteArray("\"say \"\"hi\"\"\"");
        QTest::newRow("line break") << "a\nb" << QByteArray("\"a\nb\"");
        QTest::newRow("carriage return") << "a\r\nb" << QByteArray("\"a\r\nb\"");
        QTest::newRow("face") << ";o)" << QByteArray(";o)");
        QTest::newRow("accents") << "Převýšení" << QString("Převýšení").toUtf8();
    }
    void csvCell()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        QCOMPARE(RideCsv::cell(text), written);
    }

    // A spreadsheet's reader gets back every cell as it was written, in a
    // locale whose decimal separator is a comma, notes with line breaks,
    // quotes and commas included, and empty cells where the ride has no value.
    void csvReadBack()
    {
        const ScopedLocale czech(QStringLiteral("cs_CZ"));
        const QString note = QStringLiteral("Kopec, \"Ještěd\"\r\nzpět\npřes Liberec");
        const QByteArray csv = RideCsv::write({ride(note), ride(QString())});
        QVERIFY(csv.startsWith("Cyclist,Date,Duration,Distance (km),"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rides.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(csv);
        file.close();

        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import csv, json, sys\n"
                                     "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                     "    print(json.dumps(list(csv.reader(f, strict=True))))"),
                      path});
        QVERIFY2(python.waitForFinished(20000), "python3 is installed by the setup script");
        QCOMPARE(python.exitCode(), 0);
        const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
        QCOMPARE(rows.size(), 3);
        QStringList header;
        for (const QJsonValue& v : rows[0].toArray())
            header << v.toString();
        QCOMPARE(header, RideCsv::header());
        const auto cellOf = [&](int row, const char* column) {
            return rows[row].toArray()[int(header.indexOf(QString::fromLatin1(column)))].toString();
        };
        QCOMPARE(cellOf(1, "Cyclist"), "Eva, \"Evička\"");
        QCOMPARE(cellOf(1, "Date"), "2026-12-10");
        QCOMPARE(cellOf(1, "Duration"), "1:05:09");
        QCOMPARE(cellOf(1, "Distance (km)"), "42.505");
        QCOMPARE(cellOf(1, "Average speed (km/h)"), "38.57");
        QCOMPARE(cellOf(1, "Odometer (km)"), "98765.43");
        QCOMPARE(cellOf(1, "Average heart rate"), "141");
        QCOMPARE(cellOf(1, "Elevation gain (m)"), "");
        QCOMPARE(cellOf(1, "Temperature"), "-10 -  5 C'");
        QCOMPARE(cellOf(1, "Note"), note);
        QCOMPARE(cellOf(2, "Note"), "");
        for (const QJsonValue& r : rows)
            QCOMPARE(r.toArray().size(), header.size());
    }
};

RYDEX_TEST_MAIN(TestBackup, QCoreApplication)
#include "tst_backup.moc"
