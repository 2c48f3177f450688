#include "ChildProcess.h"
#include "TestMain.h"
#include "TestProgram.h"

#include "app/TfrmBase.h"
#include "base/MessageCatalogue.h"
#include "polyglot/ResourceStringSection.h"
#include "polyglot/TbsINIFile.h"
#include "prefs/PreferenceStore.h"
#include "records/TfrmNewRecord.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/TData.h"
#include "theme/ThemeFile.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBMemoEdit.h"
#include "toolkit/DBTimeEdit.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageBoxWindow.h"
#include "toolkit/WidgetPresenter.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString eva = QStringLiteral("Eva");
const QString lockedMarker = QStringLiteral("STORE-LOCKED");
const QString releasedMarker = QStringLiteral("STORE-RELEASED");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A file of the given length at once, however long: the bytes, then a
// hole (no length: the bytes alone).
void writeLongFile(const QString& path, const QByteArray& start, qint64 length)
{
    writeFile(path, start);
    QFile f(path);
    if (length > 0 && (!f.open(QIODevice::ReadWrite) || !f.resize(length)))
        qFatal("cannot extend %s", qPrintable(path));
}

// Every entry of the folders as it is on disc: kind, link target, size,
// modification time and a checksum of a regular file's bytes. Pipes and
// devices are never opened.
QStringList snapshot(const QStringList& folders)
{
    QStringList out;
    for (const QString& folder : folders) {
        const QFileInfoList entries = QDir(folder).entryInfoList(
            QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& e : entries) {
            QString line = e.absoluteFilePath();
            if (e.isSymLink())
                line += QStringLiteral(" -> ") + e.symLinkTarget();
            struct stat st = {};
            if (::lstat(QFile::encodeName(e.absoluteFilePath()).constData(), &st) == 0)
                // To the millisecond, as far as Qt sets a time.
                line += QStringLiteral(" mode %1 mtime %2.%3")
                            .arg(st.st_mode, 0, 8)
                            .arg(st.st_mtim.tv_sec)
                            .arg(st.st_mtim.tv_nsec / 1000000, 3, 10, QLatin1Char('0'));
            if (e.isFile() && !e.isSymLink()) {
                QFile f(e.absoluteFilePath());
                QCryptographicHash hash(QCryptographicHash::Sha256);
                if ((f.permissions() & QFileDevice::ReadOwner) && f.open(QIODevice::ReadOnly))
                    hash.addData(&f);
                line += QStringLiteral(" size %1 sha %2")
                            .arg(e.size())
                            .arg(QString::fromLatin1(hash.result().toHex()));
            }
            out << line;
        }
    }
    return out;
}

// A store of the program with a few rides, closed again.
void makeStore(const QString& path, int rides = 3)
{
    TData data(path);
    data.open();
    for (int i = 0; i < rides; ++i)
        addTestRide(*data.table(), {.user = eva,
                                    .date = QDate(2005, 3, 1 + i % 28),
                                    .km = QStringLiteral("10"),
                                    .time = QTime(1, 0),
                                    .note = QString(400, QLatin1Char('n'))});
}

// The ride table as another program makes it, with one column changed.
QString foreignTable(const QString& column, const QString& declared)
{
    QStringList columns = {"id INTEGER PRIMARY KEY AUTOINCREMENT",
                           "date TEXT",
                           "user TEXT",
                           "day INTEGER",
                           "month INTEGER",
                           "year INTEGER",
                           "time TEXT",
                           "dst INTEGER",
                           "avs INTEGER",
                           "pulse INTEGER",
                           "alt INTEGER",
                           "odo INTEGER",
                           "temperature TEXT",
                           "druh TEXT",
                           "vlivy TEXT",
                           "obtiznost TEXT",
                           "pocit TEXT",
                           "typ TEXT",
                           "note TEXT",
                           "altmax INTEGER",
                           "pulsemax INTEGER",
                           "version INTEGER NOT NULL DEFAULT 0"};
    for (QString& c : columns) {
        if (c.section(QLatin1Char(' '), 0, 0) == column)
            c = declared;
    }
    columns.removeAll(QString());
    return QStringLiteral("CREATE TABLE rydex (%1)").arg(columns.join(QStringLiteral(", ")));
}

long peakMemoryKB()
{
    struct rusage usage = {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// AddressSanitizer keeps freed memory in quarantine and adds shadow memory
// of its own, so there a start that reads nothing whole raises the peak as
// much as reading the huge file would: the sanitized build checks the time.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RYDEX_ADDRESS_SANITIZER
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(RYDEX_ADDRESS_SANITIZER)
constexpr bool peakMemoryMeansSomething = false;
#else
constexpr bool peakMemoryMeansSomething = true;
#endif

// Starts the program; false when that took more than ten seconds or raised
// the peak memory by more than 64 MB, as reading a huge file whole would.
bool startsQuicklyInLittleMemory(TestProgram& p)
{
    const long memory = peakMemoryKB();
    QElapsedTimer timer;
    timer.start();
    p.start();
    if (timer.elapsed() < 10000 &&
        (!peakMemoryMeansSomething || peakMemoryKB() - memory < 64 * 1024))
        return true;
    qWarning("started in %lld ms, peak memory up by %ld kB", timer.elapsed(),
             peakMemoryKB() - memory);
    return false;
}

// Helper mode of this executable: another program holding the store in an
// open write transaction for the given time.
[[noreturn]] void holdStore(const QString& store, int ms)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder");
        db.setDatabaseName(store);
        QSqlQuery q(db);
        if (!db.open() || !q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            qFatal("cannot hold %s", qPrintable(store));
        reportLine(lockedMarker);
        QThread::msleep(ms);
        q.exec(QStringLiteral("ROLLBACK"));
        reportLine(releasedMarker);
    }
    _exit(0);
}

QString noteOfRide(const QString& store, const QString& note)
{
    return onOwnConnection(
               store, {QStringLiteral("SELECT count(*) FROM rydex WHERE note = '%1'").arg(note)})
        .value(0);
}
} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsSet("RYDEX_HOLD_STORE"))
            holdStore(qEnvironmentVariable("RYDEX_HOLD_STORE"),
                      qEnvironmentVariableIntValue("RYDEX_HOLD_MS"));
    }

    // A ride store that is no store of the program, wherever it stands: one
    // message at start, the welcome page, the same message at sign-in, and
    // every file as it was, down to its time of change.
    void storeRefusedAndLeftAsItWas_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("message");
        QTest::addColumn<QString>("detail");
        const QString notDatabase = QStringLiteral("file is not a database");
        const QString notFile = Msg::text(Msg::NotARegularFile);
        QTest::newRow("empty") << "empty" << int(Msg::StoreNotValid) << notDatabase;
        QTest::newRow("garbage") << "garbage" << int(Msg::StoreNotValid) << notDatabase;
        QTest::newRow("truncated")
            << "truncated" << int(Msg::StoreNotValid) << "the file is shorter than its header says";
        QTest::newRow("another program's database")
            << "foreign" << int(Msg::StoreNotValid) << "no such table: rydex";
        QTest::newRow("ride table without a column")
            << "no odo" << int(Msg::StoreNotValid) << "no such column: odo";
        QTest::newRow("distance as a real number")
            << "real dst" << int(Msg::StoreNotValid) << "column dst is declared \"REAL\"";
        QTest::newRow("text row number")
            << "text id" << int(Msg::StoreNotValid) << "column id is declared \"TEXT PK\"";
        QTest::newRow("read-only") << "read-only" << int(Msg::StoreReadOnly) << "";
        QTest::newRow("folder in its place") << "folder" << int(Msg::StoreNotValid) << notFile;
        QTest::newRow("pipe in its place") << "pipe" << int(Msg::StoreNotValid) << notFile;
        QTest::newRow("link to nothing") << "dangling" << int(Msg::StoreDanglingLink) << "";
        QTest::newRow("link to garbage")
            << "link garbage" << int(Msg::StoreNotValid) << notDatabase;
        QTest::newRow("link to a pipe") << "link pipe" << int(Msg::StoreNotValid) << notFile;
        QTest::newRow("damaged write-ahead log")
            << "damaged log" << int(Msg::StoreDamagedLog) << "";
        QTest::newRow("made by a newer version") << "newer" << int(Msg::StoreNewerVersion) << "";
        QTest::newRow("damaged page") << "damaged page" << int(Msg::StoreDamagedPages) << "";
    }
    void storeRefusedAndLeftAsItWas()
    {
        QFETCH(QString, place);
        QFETCH(int, message);
        QFETCH(QString, detail);
        TestProgram p;
        p.addCyclist(eva);
        const QString store = p.storePath();
        const QString data = QFileInfo(store).absolutePath();
        const QString elsewhere = p.folder() + QStringLiteral("/elsewhere");
        QDir().mkpath(data);
        QDir().mkpath(elsewhere);
        const QString target = elsewhere + QStringLiteral("/target.dat");
        QByteArray garbage(3000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char(i * 7919 % 251);

        if (place == QLatin1String("empty")) {
            writeFile(store, {});
        } else if (place == QLatin1String("garbage")) {
            writeFile(store, garbage);
        } else if (place == QLatin1String("truncated")) {
            makeStore(store, 60);
            QFile f(store);
            QVERIFY(f.size() > 16384);
            QVERIFY(f.resize(f.size() / 2));
        } else if (place == QLatin1String("foreign")) {
            onOwnConnection(store, {QStringLiteral("CREATE TABLE bookmarks (url TEXT)"),
                                    QStringLiteral("INSERT INTO bookmarks VALUES ('x')")});
        } else if (place == QLatin1String("no odo")) {
            onOwnConnection(store, {foreignTable(QStringLiteral("odo"), QString())});
        } else if (place == QLatin1String("real dst")) {
            onOwnConnection(store,
                            {foreignTable(QStringLiteral("dst"), QStringLiteral("dst REAL"))});
        } else if (place == QLatin1String("text id")) {
            onOwnConnection(
                store, {foreignTable(QStringLiteral("id"), QStringLiteral("id TEXT PRIMARY KEY"))});
        } else if (place == QLatin1String("read-only")) {
            makeStore(store);
            QVERIFY(QFile::setPermissions(store, QFileDevice::ReadOwner));
        } else if (place == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(store));
            writeFile(store + QStringLiteral("/inside"), "kept");
        } else if (place == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(store).constData(), 0600), 0);
        } else if (place == QLatin1String("dangling")) {
            QVERIFY(QFile::link(target, store));
        } else if (place == QLatin1String("link garbage")) {
            writeFile(target, garbage);
            QVERIFY(QFile::link(target, store));
        } else if (place == QLatin1String("link pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
            QVERIFY(QFile::link(target, store));
        } else if (place == QLatin1String("damaged log")) {
            makeStore(store);
            writeFile(store + QStringLiteral("-wal"), garbage);
        } else if (place == QLatin1String("newer")) {
            makeStore(store);
            onOwnConnection(store, {QStringLiteral("PRAGMA user_version=3")});
        } else if (place == QLatin1String("damaged page")) {
            makeStore(store, 60);
            // The header of a page of the ride table, not of the first page
            // that describes the tables.
            QFile f(store);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(f.size() - 4096));
            f.write(QByteArray(16, '\xee'));
        }
        const QStringList folders = {data, elsewhere, store};
        const QStringList before = snapshot(folders);

        QElapsedTimer timer;
        timer.start();
        p.start();
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
        const QString text = p.dialogs().last().text;
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QString expected;
        switch (message) {
        case Msg::StoreReadOnly:
            expected = Msg::format(message, {store});
            break;
        case Msg::StoreDanglingLink:
            expected = Msg::format(message, {store, target});
            break;
        case Msg::StoreDamagedLog:
            expected = Msg::format(message, {store, store + QStringLiteral("-wal")});
            break;
        case Msg::StoreNewerVersion:
            expected = Msg::format(message, {store, QStringLiteral("3"),
                                             QString::number(ADOConnection::schemaVersion)});
            break;
        case Msg::StoreDamagedPages:
            expected = Msg::format(message, {store}).section(QLatin1Char('('), 0, 0);
            break;
        default:
            expected = Msg::format(message, {store, detail});
        }
        QVERIFY2(text.startsWith(expected), qPrintable(text + QStringLiteral("\n") + expected));
        TfrmBase* w = p.window();
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        p.dialogs().clear();
        p.signIn(eva);
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
        QCOMPARE(p.dialogs().last().text, text);
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QCOMPARE(snapshot(folders), before);
        QFile::setPermissions(store, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // A value another tool wrote that the program cannot hold: the month is
    // shown, the ride marked with the field empty, and one message says
    // which ride, field, value and file.
    void damagedRideShownMarked()
    {
        TestProgram p;
        p.addCyclist(eva);
        const QString store = p.storePath();
        QDir().mkpath(QFileInfo(store).absolutePath());
        makeStore(store);
        onOwnConnection(store, {QStringLiteral("UPDATE rydex SET pulse = -1 WHERE id = 2")});
        p.start();
        p.dialogs().clear();
        p.signIn(eva);
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
        QVERIFY2(p.dialogs().last().text.startsWith(
                     Msg::format(Msg::DamagedRow, {QStringLiteral("2"), store,
                                                   QStringLiteral("pulse"), QStringLiteral("-1")})),
                 qPrintable(p.dialogs().last().text));
        TfrmBase* w = p.window();
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
        const QAbstractItemModel* grid = w->Grid->model();
        QCOMPARE(grid->rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(grid->index(row, 0).data(Qt::BackgroundRole).isValid(), row == 1);
            QCOMPARE(grid->headerData(row, Qt::Vertical).toString().contains(u'!'), row == 1);
        }
    }

    // A link to a store of the program is followed: the rides are there,
    // a new ride goes into the file the link leads to, and the link stays.
    void linkToAStoreIsUsed()
    {
        TestProgram p;
        p.addCyclist(eva);
        const QString target = p.folder() + QStringLiteral("/elsewhere/Rydex.dat");
        makeStore(target);
        QDir().mkpath(QFileInfo(p.storePath()).absolutePath());
        QVERIFY(QFile::link(target, p.storePath()));
        p.start();
        p.signIn(eva);
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 0);
        QCOMPARE(p.table()->recordCount(), 3);
        addTestRide(*p.table(), {.user = eva, .date = QDate(2005, 3, 20), .time = QTime(1, 0)});
        QVERIFY(QFileInfo(p.storePath()).isSymLink());
        QCOMPARE(onOwnConnection(target, {QStringLiteral("SELECT count(*) FROM rydex")}),
                 QStringList{"4"});
    }

    // Another program holds the store in a write transaction: Save waits for
    // it; when it holds on past the wait, the user is told in words (not the
    // engine's "database is locked"), nothing is written, the ride stays in
    // the dialog as typed, and a Save once the store is free stores it once.
    void lockedStoreKeepsTheRideInTheDialog()
    {
        TestProgram p;
        p.addCyclist(eva);
        p.addRides({{.user = eva,
                     .date = QDate(2005, 3, 1),
                     .km = "10",
                     .time = QTime(1, 0),
                     .odo = "100"}});
        p.start();
        p.signIn(eva);
        const QString busy = Msg::format(Msg::StoreBusy, {QStringLiteral("5")});

        const auto typeRide = [](TfrmNewRecord& d, const QString& note) {
            d.Calendar->setDate(QDate(2005, 3, 10));
            d.DBtime->selectAll();
            QTest::keyClicks(d.DBtime, QStringLiteral("1:20:00"));
            d.DBdst->selectAll();
            QTest::keyClicks(d.DBdst, QStringLiteral("25.5"));
            d.DBMemo->setPlainText(note);
        };

        // Held for three seconds: Save, pressed while it is held, waits and
        // stores the ride.
        {
            ChildProcess holder({{QStringLiteral("RYDEX_HOLD_STORE"), p.storePath()},
                                 {QStringLiteral("RYDEX_HOLD_MS"), QStringLiteral("3000")}});
            QVERIFY(holder.waitForLine(lockedMarker, 60000));
            bool heldAtSave = false;
            p.dialogs().handleNextModal([&](QDialog& window) {
                auto& d = static_cast<TfrmNewRecord&>(window);
                typeRide(d, QStringLiteral("waited"));
                heldAtSave = !holder.lines().contains(releasedMarker);
                d.btnOk->click();
                return int(QDialog::Rejected);
            });
            p.window()->mnuNovyZaznam->trigger();
            QVERIFY2(heldAtSave, "the store was free before Save was pressed");
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 0);
            QCOMPARE(noteOfRide(p.storePath(), QStringLiteral("waited")), QStringLiteral("1"));
            QVERIFY(holder.waitForEnd(30000));
        }

        // Held on: the user is told, the ride stays in the dialog.
        ChildProcess holder({{QStringLiteral("RYDEX_HOLD_STORE"), p.storePath()},
                             {QStringLiteral("RYDEX_HOLD_MS"), QStringLiteral("60000")}});
        QVERIFY(holder.waitForLine(lockedMarker, 60000));
        QStringList seen;
        qint64 waited = 0;
        p.dialogs().clear();
        p.dialogs().handleNextModal([&](QDialog& window) {
            auto& d = static_cast<TfrmNewRecord&>(window);
            typeRide(d, QStringLiteral("held"));
            QElapsedTimer timer;
            timer.start();
            d.btnOk->click();
            waited = timer.elapsed();
            seen << (d.isEditing() ? "editing" : "idle") << d.DBMemo->toPlainText()
                 << d.DBdst->text() << d.Calendar->date().toString(Qt::ISODate)
                 << (p.table()->state() == ADOTable::State::Insert ? "pending" : "not pending")
                 << noteOfRide(p.storePath(), QStringLiteral("held"));
            holder.kill();
            d.btnOk->click();
            seen << (d.isEditing() ? "editing" : "idle");
            return int(QDialog::Rejected);
        });
        p.window()->mnuNovyZaznam->trigger();
        QVERIFY2(waited >= 4500, qPrintable(QString::number(waited)));
        QCOMPARE(seen,
                 QStringList({"editing", "held", "25.5", "2005-03-10", "pending", "0", "idle"}));
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
        const QString told = p.dialogs().raised().at(1).text;
        QVERIFY2(told.startsWith(busy.chopped(1)), qPrintable(told));
        QVERIFY(!told.contains(QStringLiteral("locked")));
        QCOMPARE(noteOfRide(p.storePath(), QStringLiteral("held")), QStringLiteral("1"));
    }

    // Preference files that are no preference file: one message at start,
    // and the program goes on with defaults. The damaged bytes are kept
    // aside, whole and with their time of change, before the program writes
    // a fresh file in their place; an unreadable file is left alone.
    void damagedPreferencesAreKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("expected");
        QFile valid(QStringLiteral(RYDEX_FIXTURES "/preferences/valid.conf"));
        QVERIFY(valid.open(QIODevice::ReadOnly));
        const QByteArray good = valid.readAll();
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char(i * 31 % 256);
        QTest::newRow("binary") << binary << qint64(0) << "damaged";
        QTest::newRow("truncated") << good.left(good.indexOf("\"skin\"") + 12) << qint64(0)
                                   << "salvaged:Software\\Brontel\\Rydex 2005\\skin";
        QTest::newRow("50 MB long") << good << qint64(50) * 1024 * 1024 << "damaged";
        // As a crash can leave a file whose blocks were never written.
        QByteArray block = good;
        block.insert(block.indexOf("\n[") + 1, QByteArray(512, '\0') + '\n');
        QTest::newRow("block of NUL bytes")
            << block << qint64(0)
            << QStringLiteral("salvaged:") +
                   Msg::format(Msg::PreferenceLine, {QStringLiteral("4")});
        QByteArray utf8 = good;
        utf8.replace("english", "engl\xc3\x28sh\xff");
        QTest::newRow("invalid UTF-8")
            << utf8 << qint64(0) << "salvaged:Software\\Brontel\\Rydex 2005\\lng";
        QTest::newRow("unreadable") << good << qint64(0) << "unreadable";
        // A quoted text may hold any character, NUL too, as the program
        // writes it: the language of that name is not there, and the
        // program comes up in the first one it has.
        QByteArray nul = good;
        nul.insert(nul.indexOf("english") + 3, QByteArray(3, '\0'));
        QTest::newRow("NUL bytes in a text") << nul << qint64(0) << "nothing";
    }
    void damagedPreferencesAreKept()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, length);
        QFETCH(QString, expected);
        TestProgram p;
        const QString file = p.preferencePath();
        writeLongFile(file, bytes, length);
        if (expected == QLatin1String("unreadable"))
            QVERIFY(QFile::setPermissions(file, {}));
        const QString folder = QFileInfo(file).absolutePath();
        const QStringList before = snapshot({folder});
        QVERIFY(startsQuicklyInLittleMemory(p));
        const QString kept = file + QStringLiteral(".damaged-1");
        if (expected == QLatin1String("nothing")) {
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 0);
            QCOMPARE(snapshot({folder}), before);
        } else if (expected == QLatin1String("unreadable")) {
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
            const QString text = p.dialogs().last().text;
            QVERIFY2(text.startsWith(Msg::format(Msg::PreferencesUnreadable, {file, QString()})),
                     qPrintable(text));
            QVERIFY(!QFile::exists(kept));
            QCOMPARE(snapshot({folder}), before);
        } else {
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
            const QString text = p.dialogs().last().text;
            // What could still be read is kept, and the message says what was not.
            const QString lost = expected.section(QLatin1Char(':'), 1);
            const QString message = lost.isEmpty()
                                        ? Msg::format(Msg::PreferencesDamaged, {file, kept})
                                        : Msg::format(Msg::PreferencesSalvaged, {file, kept, lost});
            QVERIFY2(text.startsWith(message.chopped(1)), qPrintable(text));
            // The kept copy is the file as it was: bytes, length and time.
            const QStringList after = snapshot({folder});
            const auto contentOf = [](const QStringList& entries, const QString& path) {
                for (const QString& e : entries) {
                    if (e.startsWith(path + QStringLiteral(" mode ")))
                        return e.section(QLatin1Char(' '), -6);
                }
                return QString();
            };
            QCOMPARE(contentOf(after, kept), contentOf(before, file));
            QVERIFY(!contentOf(after, kept).isEmpty());
            QCOMPARE(PreferenceStore(file).check(), std::nullopt);
        }
        QVERIFY(p.window()->isVisible());
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // A preference file of the right form whose values have types the
    // program never writes: each value read is reported by its name, the
    // program goes on with its defaults, and the file is not rewritten.
    void valuesOfUnexpectedTypes()
    {
        TestProgram p;
        writeFile(p.preferencePath(), "Rydex 2005 preferences 1\n\n"
                                      "[Software\\Brontel\\Rydex 2005]\n"
                                      "\"lng\"=dword:00000005\n"
                                      "\"skin\"=hex:00,01\n\n"
                                      "[Software\\Brontel\\Rydex 2005\\users\\Eva]\n"
                                      "\"DefaultGraf\"=hex:ff\n"
                                      "\"CurrentYear\"=\"twenty\"\n"
                                      "\"0\"=dword:00000000\n");
        const QString folder = QFileInfo(p.preferencePath()).absolutePath();
        const QStringList before = snapshot({folder});
        p.start();
        // The command that reads a value of another type stops there, as
        // the registry's readers do: the theme and language stay as they are.
        QCOMPARE(p.dialogs().raised().size(), 1);
        QCOMPARE(p.dialogs().last().text, QStringLiteral("Invalid data type for 'skin'"));
        QVERIFY(p.window()->isVisible());
        p.dialogs().clear();
        p.signIn(eva);
        QCOMPARE(p.dialogs().raised().size(), 1);
        QCOMPARE(p.dialogs().last().text, QStringLiteral("Invalid data type for '0'"));
        QCOMPARE(p.window()->Pages->currentWidget(), p.window()->WelcomePage);
        QCOMPARE(snapshot({folder}), before);
    }

    // Language and theme files that are none, or far too long: a message
    // (or, for a language file, the texts before its first NUL byte, which
    // ends a language file's text), no hang, no memory taken by the size,
    // and the file as it was.
    void languageAndThemeFilesThatAreNone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("problem");
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char(1 + i * 31 % 255);
        binary[2000] = '\0';
        const qint64 big = qint64(100) * 1024 * 1024;
        QTest::newRow("binary language") << "lng" << binary << qint64(0) << QString();
        QTest::newRow("100 MB language")
            << "lng" << QByteArray("[TfrmBase]\nmnuLogin.Caption='x'\n") << big
            << Msg::format(Msg::FileTooLarge, {QStringLiteral("8")});
        QTest::newRow("binary theme")
            << "sui" << binary << qint64(0) << Msg::text(Msg::ThemeNotText);
        QTest::newRow("100 MB theme") << "sui" << QByteArray("QWidget { color: red; }\n") << big
                                      << Msg::format(Msg::FileTooLarge, {QStringLiteral("4")});
    }
    void languageAndThemeFilesThatAreNone()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, length);
        QFETCH(QString, problem);
        TestProgram p;
        const QString folder = p.folder() + (kind == QLatin1String("lng") ? "/lng" : "/themes");
        const QString file = folder + QStringLiteral("/hostile.") + kind;
        writeLongFile(file, bytes, length);
        PreferenceStore(p.preferencePath())
            .openKey(PreferenceStore::programKeyPath())
            .writeText(kind == QLatin1String("lng") ? QStringLiteral("lng")
                                                    : QStringLiteral("skin"),
                       kind == QLatin1String("lng") ? QStringLiteral("hostile") : file);
        const QStringList before = snapshot({folder});
        QVERIFY(startsQuicklyInLittleMemory(p));
        if (problem.isEmpty()) {
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 0);
        } else {
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
            const QString text = p.dialogs().last().text;
            QVERIFY2(text.contains(problem) && text.contains(file), qPrintable(text));
        }
        // The program is in use all the same.
        QVERIFY(p.window()->isVisible());
        QVERIFY(p.window()->mnuLogin->isEnabled());
        QCOMPARE(snapshot({folder}), before);
        QFile::remove(file);
    }

    // The theme beside the program unusable, with real message boxes and
    // their event loops: the program comes up whole, and the box speaks the
    // language the user chose, although the windows take it only later.
    void realBoxesAtStartUp_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<int>("problem");
        QTest::newRow("not UTF-8, English") << "english"
                                            << QByteArray("QWidget { color: r\xe9"
                                                          "d; }\n")
                                            << qint64(0) << int(Msg::ThemeNotText);
        QTest::newRow("over 4 MB, Czech") << "czech" << QByteArray("QWidget { color: red; }\n")
                                          << qint64(5) * 1024 * 1024 << int(Msg::FileTooLarge);
    }
    void realBoxesAtStartUp()
    {
        QFETCH(QString, language);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, length);
        QFETCH(int, problem);
        TestProgram p;
        const QString theme = p.folder() + QStringLiteral("/RX05TdF.sui");
        writeLongFile(theme, bytes, length);
        QDir().mkpath(p.folder() + "/lng");
        for (const QString& name : {QStringLiteral("czech"), QStringLiteral("english")})
            QVERIFY(QFile::copy(QStringLiteral(RYDEX_LANGUAGES "/%1.lng").arg(name),
                                p.folder() + QStringLiteral("/lng/%1.lng").arg(name)));
        if (language != QLatin1String("english"))
            PreferenceStore(p.preferencePath())
                .openKey(PreferenceStore::programKeyPath())
                .writeText(QStringLiteral("lng"), language);
        const TbsINIFile file(p.folder() + QStringLiteral("/lng/%1.lng").arg(language));
        const QString expected = ResourceStrings::find(file, problem)
                                     .value_or(Msg::builtIn(problem))
                                     .replace(QLatin1String("%s"), QLatin1String("4"));

        QStringList shown;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, &closer, [&shown] {
            if (auto* box = qobject_cast<MessageBoxWindow*>(QApplication::activeModalWidget())) {
                shown << box->findChild<QLabel*>(QStringLiteral("textLabel"))->text();
                box->reject();
            }
        });
        closer.start(10);
        {
            ScopedPresenter<WidgetPresenter> realBoxes;
            p.start();
        }
        // Once, as the main window is made: its first showing does not try the
        // same file again.
        QCOMPARE(shown.size(), 1);
        for (const QString& text : std::as_const(shown))
            QVERIFY2(text.contains(expected) && text.contains(theme),
                     qPrintable(text + " / " + expected));
        QVERIFY(p.window()->isVisible());
        QVERIFY(p.window()->mnuLogin->isEnabled());
    }
};

RYDEX_TEST_MAIN(TestHostileFiles, QApplication)
#include "tst_hostilefiles.moc"
