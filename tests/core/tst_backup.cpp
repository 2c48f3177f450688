#include "ScopedLocale.h"
#include "TestFiles.h"
#include "TestMain.h"

#include "TestRides.h"
#include "backup/AutoBackup.h"
#include "backup/BackupContents.h"
#include "backup/BackupFile.h"
#include "backup/BackupRestore.h"
#include "backup/BackupRotation.h"
#include "backup/RideCsv.h"
#include "base/MessageCatalogue.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "base/AppIdentity.h"
#include "base/Fixed4.h"
#include "store/RideFilter.h"
#include "base/RydexError.h"
#include "store/TData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

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

const QByteArray preferenceBytes("Rydex 2005 preferences 1\r\n\r\n[software\\Brontel\\Rydex 2005\\users\\Eva]\r\n\"CurrentYear\"=\"2024\"\r\n");

// A store of two cyclists with an imported ride, and its backup.
QString makeBackup(const QString& folder)
{
    QDir().mkpath(folder);
    const QString store = folder + QStringLiteral("/Rydex.dat");
    TData data(store);
    data.open();
    ADOTable& t = *data.table();
    t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2024, 6));
    addTestRide(t, {.date = QDate(2024, 6, 1), .km = QStringLiteral("25"), .time = QTime(1, 0)});
    addTestRide(t, {.date = QDate(2025, 3, 2), .km = QStringLiteral("5"), .time = QTime(0, 20)});
    addTestRide(t, {.user = QStringLiteral("Jan O'Neill"), .date = QDate(2023, 1, 9),
                    .km = QStringLiteral("30"), .time = QTime(1, 0)});
    onOwnConnection(store, {QStringLiteral("INSERT INTO imports VALUES ('ab12', 1, 'a.fit', "
                                           "'2024-06-01T10:00:00')")});
    BackupFile::Extras extras;
    extras.preferences = preferenceBytes;
    extras.taken = QDateTime(QDate(2026, 12, 10), QTime(21, 5), Qt::UTC);
    const QString target = folder + QStringLiteral("/") + BackupFile::defaultName(QDate(2026, 12, 10));
    BackupFile::write(data.connection()->database(), target, extras);
    return target;
}

// Whether error is the text of message id, whatever its details.
bool isMessage(const QString& error, int id)
{
    const QStringList pieces = Msg::text(id).split(QStringLiteral("%s"));
    return std::all_of(pieces.begin(), pieces.end(),
                       [&error](const QString& piece) { return error.contains(piece); });
}
} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:

    // The backup holds every cyclist's rides, the import records, the
    // preference file and when it was taken; it is owner-only, nothing of
    // its making stays behind, and reading it changes nothing.
    void backupWhole()
    {
        const QString folder = TestEnv::root() + QStringLiteral("/whole");
        const QString path = makeBackup(folder);
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Rydex 2005 backup 2026-12-10.rydexbackup"));
        QCOMPARE(QFile::permissions(path) & 0x0077, QFileDevice::Permissions());
        const QStringList before = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(before, QStringList({"Rydex 2005 backup 2026-12-10.rydexbackup", "Rydex.dat"}));
        const QByteArray bytes = fileBytes(path);
        const BackupContents c = readBackup(path);
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), before);
        QCOMPARE(c.rides, 3);
        QCOMPARE(c.cyclists.size(), 2);
        QCOMPARE(c.cyclists[0].name, QStringLiteral("Eva"));
        QCOMPARE(c.cyclists[0].rides, 2);
        QCOMPARE(c.cyclists[1].name, QStringLiteral("Jan O'Neill"));
        QCOMPARE(c.firstRide, QDate(2023, 1, 9));
        QCOMPARE(c.lastRide, QDate(2025, 3, 2));
        QCOMPARE(c.taken, QDateTime(QDate(2026, 12, 10), QTime(21, 5), Qt::UTC));
        QCOMPARE(c.programVersion, QString::fromLatin1(AppIdentity::version));
        QCOMPARE(c.preferences, std::optional<QByteArray>(preferenceBytes));
        QCOMPARE(onOwnConnection(path, {"SELECT file FROM imports"}), QStringList({"a.fit"}));

        // A folder that is not there: an error, and no file.
        TData data(folder + QStringLiteral("/Rydex.dat"));
        data.open();
        const QString nowhere = folder + QStringLiteral("/missing/b.rydexbackup");
        QVERIFY_THROWS_EXCEPTION(RydexError, BackupFile::write(data.connection()->database(), nowhere, {}));
        try {
            BackupFile::write(data.connection()->database(), nowhere, {});
        } catch (const RydexError& e) {
            QVERIFY2(isMessage(e.text(), Msg::BackupNotWritten), qPrintable(e.text()));
        }
        // Never over the store it copies.
        const QByteArray store = fileBytes(data.connection()->filePath());
        try {
            BackupFile::write(data.connection()->database(), data.connection()->filePath(), {});
            QFAIL("written over the store");
        } catch (const RydexError& e) {
            QVERIFY2(isMessage(e.text(), Msg::BackupNotWritten), qPrintable(e.text()));
        }
        QCOMPARE(fileBytes(data.connection()->filePath()), store);
        // An unfinished copy of a killed program goes; one being written stays.
        writeFile(folder + QStringLiteral("/.x.rydexbackup.part-AbC123"), "half");
        writeFile(folder + QStringLiteral("/.x.rydexbackup.part-AbC123-journal"), "half");
        BackupFile::removeInterrupted(folder);
        data.close(true);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), before);
    }

    void damagedBackupRefused_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("message");
        QTest::newRow("zero bytes") << "empty" << int(Msg::BackupNotDatabase);
        QTest::newRow("random bytes") << "random" << int(Msg::BackupNotDatabase);
        QTest::newRow("truncated") << "truncate" << int(Msg::BackupDamaged);
        QTest::newRow("flipped byte in a page") << "flip" << int(Msg::BackupDamaged);
        QTest::newRow("another program's database") << "foreign" << int(Msg::BackupForeign);
        QTest::newRow("the ride store itself") << "store" << int(Msg::BackupForeign);
        QTest::newRow("marker table missing") << "DROP TABLE rydex_backup" << int(Msg::BackupForeign);
        QTest::newRow("marker of another kind")
            << "UPDATE rydex_backup SET value = 'x' WHERE name = 'format'" << int(Msg::BackupForeign);
        QTest::newRow("newer format")
            << "UPDATE rydex_backup SET value = 2 WHERE name = 'format_version'" << int(Msg::BackupNewer);
        QTest::newRow("newer store") << "PRAGMA user_version=3" << int(Msg::BackupNewer);
        QTest::newRow("ride column missing") << "ALTER TABLE rydex DROP COLUMN pocit"
                                             << int(Msg::BackupTablesUnexpected);
        QTest::newRow("import table missing") << "DROP TABLE imports" << int(Msg::BackupTablesUnexpected);
        QTest::newRow("preferences damaged")
            << "UPDATE rydex_backup SET value = x'00ff' WHERE name = 'preferences'"
            << int(Msg::BackupPreferencesDamaged);
    }
    // Each damage is refused with its own message, and the file stays as it was.
    void damagedBackupRefused()
    {
        QFETCH(QString, damage);
        QFETCH(int, message);
        const QString folder = TestEnv::root() + QStringLiteral("/damaged/") + QTest::currentDataTag();
        const QString path = makeBackup(folder);
        QByteArray bytes = fileBytes(path);
        if (damage == QLatin1String("empty")) {
            bytes.clear();
        } else if (damage == QLatin1String("random")) {
            for (int i = 0; i < 5000; ++i)
                bytes[i] = char((i * 7919 + 13) % 251);
        } else if (damage == QLatin1String("truncate")) {
            bytes.truncate(bytes.size() / 2);
        } else if (damage == QLatin1String("flip")) {
            // The first page of the ride table: its kind of page.
            const int pageSize = int(quint8(bytes[16])) << 8 | quint8(bytes[17]);
            bytes[pageSize * 2] = char(bytes[pageSize * 2] ^ 0x55);
        } else if (damage == QLatin1String("foreign")) {
            QFile::remove(path);
            onOwnConnection(path, {"CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT)", "SELECT 1"});
            bytes = fileBytes(path);
        } else if (damage == QLatin1String("store")) {
            bytes = fileBytes(folder + QStringLiteral("/Rydex.dat"));
        } else {
            onOwnConnection(path, {damage, "SELECT 1"});
            bytes = fileBytes(path);
        }
        writeFile(path, bytes);
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        try {
            readBackup(path);
            QFAIL("a damaged backup was read");
        } catch (const RydexError& e) {
            QVERIFY2(isMessage(e.text(), message), qPrintable(e.text()));
        }
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), files);
    }

    // A restore puts the backup's rides, import records and preferences in
    // place and keeps the state before; a damaged backup or a store another
    // copy has open changes nothing.
    void restoreReplacesStoreAndPreferences()
    {
        const QString backup = makeBackup(TestEnv::root() + QStringLiteral("/restore-from"));
        const QString folder = TestEnv::root() + QStringLiteral("/restore-to");
        QDir().mkpath(folder);
        const QString store = folder + QStringLiteral("/Rydex.dat");
        const QString prefs = folder + QStringLiteral("/Rydex 2005.conf");
        {
            TData data(store);
            data.open();
            data.table()->setFilter(RideFilter::month(QStringLiteral("Petr"), 2020, 1));
            addTestRide(*data.table(), {.user = QStringLiteral("Petr"), .date = QDate(2020, 1, 1),
                                        .km = QStringLiteral("7")});
        }
        writeFile(prefs, "Rydex 2005 preferences 1\r\n");
        const QDateTime now(QDate(2026, 12, 10), QTime(22, 0), Qt::UTC);

        const QString empty = folder + QStringLiteral("/empty.rydexbackup");
        writeFile(empty, {});
        QVERIFY_THROWS_EXCEPTION(RydexError, restoreBackup(empty, store, prefs, now));
        QCOMPARE(onOwnConnection(store, {"SELECT user FROM rydex"}), QStringList{"Petr"});

        const RestoreResult result = restoreBackup(backup, store, prefs, now);
        QCOMPARE(result.restored.rides, 3);
        QCOMPARE(readBackup(result.before).cyclists[0].name, QStringLiteral("Petr"));
        QCOMPARE(fileBytes(prefs), preferenceBytes);
        QCOMPARE(QFile::permissions(store) & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QDir(folder).entryList({"Rydex.dat*"}, QDir::Files | QDir::Hidden), QStringList{"Rydex.dat"});
        TData data(store);
        data.open();
        QCOMPARE(onOwnConnection(store, {"SELECT count(*) FROM rydex", "SELECT file FROM imports"}),
                 QStringList{"a.fit"});
        QCOMPARE(onOwnConnection(store, {"PRAGMA journal_mode"}), QStringList{"wal"});
        QCOMPARE(onOwnConnection(store, {"SELECT count(*) FROM sqlite_master WHERE name = 'rydex_backup'"}),
                 QStringList{"0"});

        // Another copy has the store open.
        try {
            restoreBackup(result.before, store, prefs, now);
            QFAIL("restored over a store in use");
        } catch (const RydexError& e) {
            QVERIFY2(isMessage(e.text(), Msg::RestoreStoreInUse), qPrintable(e.text()));
        }
        QCOMPARE(onOwnConnection(store, {"SELECT count(*) FROM rydex"}), QStringList{"3"});
    }

    void backupsToKeep_data()
    {
        QTest::addColumn<QStringList>("days");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QStringList>("kept");
        auto run = [](const QDate& last, int count, int step) {
            QStringList out;
            for (int i = 0; i < count; ++i)
                out << last.addDays(-i * step).toString(Qt::ISODate);
            return out;
        };
        QTest::newRow("fewer than seven") << run(QDate(2026, 12, 10), 3, 1) << "2026-12-10"
                                          << run(QDate(2026, 12, 10), 3, 1);
        // Thursday 10 December: the seven days back to the 4th, then the
        // Sundays of the weeks of 30 November (6 December is a daily one) and
        // 23 and 16 November.
        QTest::newRow("thirty days") << run(QDate(2026, 12, 10), 30, 1) << "2026-12-10"
                                     << run(QDate(2026, 12, 10), 7, 1) + QStringList{"2026-11-29", "2026-11-22"};
        QTest::newRow("gaps of three weeks") << run(QDate(2026, 12, 10), 12, 21) << "2026-12-10"
                                             << run(QDate(2026, 12, 10), 7, 21);
        // 28 December 2026 to 3 January 2027 is one week.
        QTest::newRow("year end")
            << (run(QDate(2027, 1, 20), 7, 1) + QStringList{"2027-01-03", "2026-12-28", "2026-12-27",
                                                              "2026-12-20", "2026-12-13"})
            << "2027-01-20"
            << (run(QDate(2027, 1, 20), 7, 1) + QStringList{"2027-01-03", "2026-12-27"});
        QTest::newRow("a day after today") << (run(QDate(2026, 12, 10), 9, 1) + QStringList{"2027-05-01"})
                                           << "2026-12-10"
                                           << (QStringList{"2027-05-01"} + run(QDate(2026, 12, 10), 7, 1));
    }
    void backupsToKeep()
    {
        QFETCH(QStringList, days);
        QFETCH(QString, today);
        QFETCH(QStringList, kept);
        QList<QDate> dates;
        for (const QString& d : std::as_const(days))
            dates << QDate::fromString(d, Qt::ISODate);
        QStringList out;
        for (const QDate& d : ::backupsToKeep(dates, QDate::fromString(today, Qt::ISODate)))
            out << d.toString(Qt::ISODate);
        QCOMPARE(out, kept);
    }

    // One backup a day at most, only after a change, old ones removed, in a
    // private folder beside the store; a failure is an error, not a crash.
    void automaticBackups()
    {
        const QString folder = TestEnv::root() + QStringLiteral("/auto");
        QDir().mkpath(folder);
        const QString store = folder + QStringLiteral("/Rydex.dat");
        const QString prefs = folder + QStringLiteral("/Rydex 2005.conf");
        TData data(store);
        data.open();
        const AutoBackup backups(store, prefs);
        const QSqlDatabase db = data.connection()->database();
        const QDateTime now(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC);
        QDate day(2026, 11, 1);
        QCOMPARE(backups.run(db, day, now), std::nullopt);  // nothing written yet
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2026, 11));
        addTestRide(t, {.date = day, .km = QStringLiteral("25"), .time = QTime(1, 0)});
        const std::optional<QString> first = backups.run(db, day, now);
        QCOMPARE(first, QDir(backups.folder()).filePath(BackupFile::defaultName(day)));
        QCOMPARE(QFile::permissions(backups.folder()) & 0x0077, QFileDevice::Permissions());
        addTestRide(t, {.date = day, .km = QStringLiteral("5"), .time = QTime(0, 20)});
        QCOMPARE(backups.run(db, day, now), std::nullopt);  // one a day
        QVERIFY(backups.run(db, day.addDays(1), now));
        QCOMPARE(backups.run(db, day.addDays(2), now), std::nullopt);  // nothing changed
        writeFile(prefs, preferenceBytes);
        QVERIFY(backups.run(db, day.addDays(3), now));  // the preferences changed
        onOwnConnection(store, {"UPDATE rydex SET version = version + 1, note = 'x'", "SELECT 1"});
        QVERIFY(backups.run(db, day.addDays(4), now));  // a ride edited
        for (int i = 5; i < 30; ++i) {
            addTestRide(t, {.date = day, .km = QStringLiteral("1"), .time = QTime(0, 5)});
            QVERIFY(backups.run(db, day.addDays(i), now));
        }
        QCOMPARE(QDir(backups.folder()).entryList(QDir::Files | QDir::Hidden).size(), 9);
        QCOMPARE(readBackup(QDir(backups.folder()).filePath(BackupFile::defaultName(day.addDays(29)))).rides, 27);
        // After sign-out the program's connection is closed: one of its own.
        addTestRide(t, {.date = day, .km = QStringLiteral("1"), .time = QTime(0, 5)});
        data.close(true);
        QVERIFY(backups.runAlone(day.addDays(30), now));
        data.open();
        QCOMPARE(onOwnConnection(store, {"SELECT count(*) FROM rydex"}), QStringList{"28"});

        // Something in the way of the folder: reported with the folder's name.
        const QString blocked = TestEnv::root() + QStringLiteral("/blocked");
        QDir().mkpath(blocked);
        writeFile(blocked + QStringLiteral("/backups"), "not a folder");
        try {
            AutoBackup(blocked + QStringLiteral("/Rydex.dat"), prefs).run(db, day, now);
            QFAIL("no error");
        } catch (const RydexError& e) {
            QVERIFY2(isMessage(e.text(), Msg::AutoBackupFailed), qPrintable(e.text()));
        }
    }
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
