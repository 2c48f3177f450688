#include "TestMain.h"
#include "TestProgram.h"

#include "Gzip.h"
#include "SampleMonth.h"
#include "ScopedLocale.h"
#include "app/TfrmBase.h"
#include "base/MessageCatalogue.h"
#include "records/ImportRidesModel.h"
#include "records/TfrmExport.h"
#include "records/TfrmImport.h"
#include "store/ADOTable.h"
#include "prefs/CyclistPreferences.h"
#include "store/DataSource.h"
#include "store/TData.h"
#include "toolkit/DBGrid.h"
#include "toolkit/MenuItem.h"
#include "toolkit/TabControl.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

namespace {
// A candidate as the planner lists one: name, day, start, seconds, km,
// pulse, gain, status.
ImportCandidate candidate(const QString& name, const QDate& day, const QTime& start, int seconds,
                          const char* km, int pulse, int gain, ImportStatus status)
{
    ImportCandidate c;
    c.path = QStringLiteral("/rides/") + name;
    c.day = day;
    c.startTime = start;
    c.status = status;
    c.ticked = status == ImportStatus::New;
    c.ride.timerSeconds = seconds;
    c.ride.distanceMetres = QByteArray(km).toDouble() * 1000;
    c.ride.avgHeartRate = pulse;
    c.ride.elevationGain = gain;
    if (status == ImportStatus::CannotImport) {
        c.problem = RideProblem::TooLong;
        return c;
    }
    c.row[fieldIndex(RideField::date)] = QDateTime(day, QTime(0, 0));
    c.row[fieldIndex(RideField::time)] = QTime(0, 0).addSecs(seconds);
    c.row[fieldIndex(RideField::dst)] = QVariant::fromValue(*Fixed4::parse(QString::fromLatin1(km), QLocale::c()));
    c.row[fieldIndex(RideField::pulse)] = pulse;
    c.row[fieldIndex(RideField::alt)] = gain;
    c.row[fieldIndex(RideField::druh)] = QStringLiteral("Cyklistika");
    return c;
}

// A GPX ride of `count` points 10 s and about 100 m apart, starting at noon
// UTC, so that it is a ride of that day wherever the test runs.
QByteArray gpxRide(const QDate& day, int count, const char* type = "cycling")
{
    const QDateTime start(day, QTime(12, 0), Qt::UTC);
    return gpxTrack(type, count, [&start](int i) {
        return GpxPoint{QString::number(46.0 + 0.0009 * i, 'f', 4), QStringLiteral("14.5"),
                        QString::number(300 + i % 7), start.addSecs(10 * i)};
    });
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Runs the import command with its window answered by `handler`.
void runImport(TestProgram& p, const QStringList& paths,
               const std::function<int(TfrmImport&)>& handler)
{
    p.dialogs().handleNextModal([&handler](QDialog& d) {
        auto* window = qobject_cast<TfrmImport*>(&d);
        if (!window)
            return int(QDialog::Rejected);
        if (!QTest::qWaitFor([window] { return !window->isReading(); }, 10000))
            return int(QDialog::Rejected);
        return handler(*window);
    });
    p.window()->importFiles(paths);
}

// Each row as "file x status" (x ticked, - not), "new" for a new ride.
QStringList statuses(const TfrmImport& w)
{
    QStringList out;
    const QAbstractItemModel* m = w.List->model();
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, ImportRidesModel::File).data().toString() + u' ' +
                   (m->index(r, ImportRidesModel::Tick).data(Qt::CheckStateRole).toInt() ? u'x' : u'-') +
                   u' ' + m->index(r, ImportRidesModel::Status).data().toString().replace(
                              Msg::text(Msg::ImportStatusNew), QStringLiteral("new"));
    return out;
}
} // namespace

class TestImportWindow : public QObject
{
    Q_OBJECT

private slots:
    // Every column sorts by the value behind its text, which a text sort
    // gets wrong in the locale's own forms ("100,00" before "9,50").
    void listSortsByValue_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("ascending");
        QTest::newRow("date") << int(ImportRidesModel::Date) << "b c a long";
        QTest::newRow("start") << int(ImportRidesModel::Start) << "c a b long";
        QTest::newRow("duration") << int(ImportRidesModel::Duration) << "a c b long";
        QTest::newRow("distance") << int(ImportRidesModel::Distance) << "b a c long";
        QTest::newRow("pulse") << int(ImportRidesModel::Pulse) << "c a long b";
        QTest::newRow("gain") << int(ImportRidesModel::Ascent) << "a b c long";
        QTest::newRow("status") << int(ImportRidesModel::Status) << "a c b long";
    }
    void listSortsByValue()
    {
        QFETCH(int, column);
        QFETCH(QString, ascending);
        const ScopedLocale czech(QStringLiteral("cs_CZ"));
        ImportRidesModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.setSortRole(ImportRidesModel::SortRole);
        QAbstractItemModelTester sortedTester(&sorted, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.append({candidate("a", {2024, 2, 1}, {9, 5}, 9 * 3600, "9.5", 99, 8, ImportStatus::New),
                      candidate("b", {2024, 1, 10}, {10, 0}, 36000, "9.25", 140, 90, ImportStatus::AlreadyRecorded)});
        model.append({candidate("c", {2024, 2, 1}, {8, 59}, 9 * 3600 + 1, "100", 98, 100, ImportStatus::New),
                      candidate("long", {2024, 3, 1}, {23, 0}, 90000, "700", 120, 5000,
                                ImportStatus::CannotImport)});
        sorted.sort(column, Qt::AscendingOrder);
        QStringList order;
        for (int r = 0; r < sorted.rowCount(); ++r)
            order << sorted.index(r, ImportRidesModel::File).data().toString();
        QCOMPARE(order.join(u' '), ascending);

        // The figures as the month view shows them, in the user's locale; a
        // ride too long for the field shows how long it was.
        QCOMPARE(model.index(2, ImportRidesModel::Distance).data().toString(), "100,00");
        QCOMPARE(model.index(3, ImportRidesModel::Duration).data().toString(), "25:00:00");
        QCOMPARE(model.index(1, ImportRidesModel::Date).data().toString(),
                 QLocale().toString(QDate(2024, 1, 10), QLocale::ShortFormat));

        // Only rows that can be imported take a tick, by click or in code.
        QVERIFY(!(model.flags(model.index(3, 0)) & Qt::ItemIsUserCheckable));
        QVERIFY(!model.setData(model.index(3, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(model.tickedRows(), QVector<int>({0, 1, 2}));
        const ImportRidesModel::Counts counts = model.counts();
        QCOMPARE(QList<int>({counts.rides, counts.fresh, counts.recorded, counts.cannot}),
                 QList<int>({4, 2, 1, 1}));
    }

    // Export writes the rides of the choice, whole, where the user says;
    // a file that cannot be written is reported and the window stays open.
    void exportWritesTheChosenRides()
    {
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        p.addCyclist(QStringLiteral("Jan"));
        p.addRides({{.date = QDate(2005, 9, 3), .km = QStringLiteral("12.5"), .time = QTime(0, 40)},
                    {.date = QDate(2005, 9, 20), .km = QStringLiteral("40"), .time = QTime(1, 30),
                     .note = QStringLiteral("Ještěd, \"vrchol\"\nzpět")},
                    {.date = QDate(2005, 11, 2), .km = QStringLiteral("20"), .time = QTime(1, 0)},
                    {.date = QDate(2004, 5, 1), .km = QStringLiteral("30"), .time = QTime(1, 10)},
                    {.user = QStringLiteral("Jan"), .date = QDate(2005, 9, 4), .km = QStringLiteral("99")}});
        TfrmBase* w = p.start();
        QVERIFY(!w->mnuExport->isEnabled());
        p.signIn(QStringLiteral("Eva"));
        QVERIFY(w->mnuExport->isEnabled());
        w->Mesice->setTabIndex(8);
        const QString file = TestEnv::root() + QStringLiteral("/eva.csv");
        QString suggested;
        QList<int> counts;
        p.dialogs().handleNextModal([&](QDialog& d) {
            auto* window = qobject_cast<TfrmExport*>(&d);
            if (!window)
                return int(QDialog::Rejected);
            counts = {window->rideCount(TfrmExport::Month), window->rideCount(TfrmExport::Year),
                      window->rideCount(TfrmExport::All)};
            [&] { QCOMPARE(window->scope(), TfrmExport::Month); }();
            window->setScope(TfrmExport::Year);
            window->chooseFile = [&](const QString& start) {
                suggested = start;
                return TestEnv::root() + QStringLiteral("/missing/eva.csv");
            };
            window->btnExport->click();
            [&] {
                QCOMPARE(p.dialogs().last().kind, "error");
                QVERIFY(window->isVisible());
            }();
            window->chooseFile = [&](const QString&) { return file; };
            window->btnExport->click();
            return window->result();
        });
        w->mnuExport->trigger();
        QCOMPARE(counts, QList<int>({2, 3, 4}));
        QCOMPARE(QFileInfo(suggested).fileName(), "Eva 2005.csv");
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray csv = written.readAll();
        QCOMPARE(csv.count("\r\n"), 4); // the header and three rides; the note keeps its own break
        QVERIFY(csv.contains("Eva,2005-09-20,1:30:00,40,"));
        QVERIFY(csv.contains("\"Ještěd, \"\"vrchol\"\"\nzpět\""));
        QVERIFY(!csv.contains("2004-05-01") && !csv.contains("Jan,"));
        QVERIFY(w->StatusBar->currentMessage().contains(QStringLiteral("eva.csv")));
    }

    // The command is reachable only while a cyclist is signed in; a folder
    // imported twice stores its rides once, and a ride deleted since can be
    // imported again.
    void folderImportedTwice()
    {
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        TfrmBase* w = p.start();
        QVERIFY(!w->mnuImport->isEnabled());
        QCOMPARE(w->mnuImport->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
        p.signIn(QStringLiteral("Eva"));
        QVERIFY(w->mnuImport->isEnabled());
        QVERIFY(w->toolBtnImport->isVisibleTo(w));

        const QString folder = TestEnv::root() + QStringLiteral("/season");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
        write(folder + QStringLiteral("/june1.gpx"), gpxRide({2024, 6, 1}, 40));
        write(folder + QStringLiteral("/sub/june5.gpx"), gpxRide({2024, 6, 5}, 60));
        write(folder + QStringLiteral("/july2.gpx"), gpxRide({2024, 7, 2}, 80));
        write(folder + QStringLiteral("/run.gpx"), gpxRide({2024, 7, 3}, 30, "running"));
        write(folder + QStringLiteral("/notes.txt"), "not a ride");

        // The empty command waits for the user's choice; "Folder..." offers
        // the folder used last, remembered for the cyclist.
        QString offered = QStringLiteral("unset");
        runImport(p, {}, [&](TfrmImport& window) {
            offered = window.lblFound->text();
            window.chooseFolder = [&](const QString& start) {
                offered = start;
                return folder;
            };
            window.btnFolder->click();
            return int(QDialog::Rejected);
        });
        QCOMPARE(offered, QDir::homePath());
        QCOMPARE(p.cyclistKey(QStringLiteral("Eva")).readText(QStringLiteral("ImportFolder"), {}), folder);
        QVERIFY(p.stored(QStringLiteral("Eva")).isEmpty());

        // A ride the store refuses: nothing is stored, the error names its
        // file, and the window stays open for another try.
        onOwnConnection(p.storePath(),
                        {QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON imports WHEN "
                                        "NEW.file LIKE '%july2%' BEGIN SELECT RAISE(ABORT, 'disc "
                                        "full'); END")});
        runImport(p, {folder}, [&](TfrmImport& window) {
            window.btnImport->click();
            [&] {
                QCOMPARE(p.dialogs().last().kind, "error");
                QVERIFY2(p.dialogs().last().text.contains("july2.gpx"),
                         qPrintable(p.dialogs().last().text));
                QVERIFY(window.isVisible());
                QVERIFY(window.importedRides().isEmpty());
            }();
            return int(QDialog::Rejected);
        });
        QVERIFY(p.stored(QStringLiteral("Eva")).isEmpty());
        onOwnConnection(p.storePath(), {QStringLiteral("DROP TRIGGER refuse")});

        // New cycling rides are ticked, the run is not; the import stores
        // them and shows the month of the latest ride with that ride current,
        // the grid filled once.
        QSignalSpy resets(w->Grid->model(), &QAbstractItemModel::modelReset);
        runImport(p, {folder}, [&](TfrmImport& window) {
            window.List->sortByColumn(ImportRidesModel::Date, Qt::AscendingOrder);
            const QStringList rows = statuses(window);
            [&] {
                QCOMPARE(rows, QStringList({"june1.gpx x new", "june5.gpx x new", "july2.gpx x new",
                                            "run.gpx - new"}));
                QCOMPARE(window.btnImport->text(), Msg::format(Msg::ImportButton, {"3"}));
                QVERIFY(window.btnImport->isEnabled());
            }();
            window.btnImport->click();
            return window.result();
        });
        QCOMPARE(p.stored(QStringLiteral("Eva")).size(), 3);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(w->lblYear->text(), "2024");
        QCOMPARE(w->Mesice->tabIndex(), 6);
        QCOMPARE(p.table()->recordCount(), 1);
        QCOMPARE(p.table()->asDateTime(RideField::date).date(), QDate(2024, 7, 2));
        QCOMPARE(w->StatusBar->currentMessage(), Msg::format(Msg::ImportDone, {"3"}));

        // Again: nothing new, nothing ticked, nothing to import.
        runImport(p, {folder}, [&](TfrmImport& window) {
            window.List->sortByColumn(ImportRidesModel::Date, Qt::AscendingOrder);
            const QStringList rows = statuses(window);
            [&] {
                QCOMPARE(rows.size(), 4);
                QCOMPARE(rows.at(2), "july2.gpx - " + Msg::format(Msg::ImportStatusRecorded,
                                                                  {QLocale().toString(QDate(2024, 7, 2), QLocale::ShortFormat)}));
                QVERIFY(!window.btnImport->isEnabled());
            }();
            return int(QDialog::Rejected);
        });
        QCOMPARE(p.stored(QStringLiteral("Eva")).size(), 3);

        // The July ride deleted: it alone is new again.
        p.dialogs().setDefaultAnswer(true);
        w->DeleteRecord();
        QCOMPARE(p.stored(QStringLiteral("Eva")).size(), 2);
        runImport(p, {folder}, [&](TfrmImport& window) {
            window.List->sortByColumn(ImportRidesModel::Date, Qt::AscendingOrder);
            const QStringList rows = statuses(window);
            [&] {
                QCOMPARE(rows.at(2), "july2.gpx x new");
                QVERIFY(rows.at(0).startsWith("june1.gpx - "));
                QCOMPARE(window.btnImport->text(), Msg::format(Msg::ImportButton, {"1"}));
            }();
            window.btnImport->click();
            return window.result();
        });
        QCOMPARE(p.stored(QStringLiteral("Eva")).size(), 3);
        QCOMPARE(p.table()->asDateTime(RideField::date).date(), QDate(2024, 7, 2));
    }

    // The real window, with its own event loop, stays responsive while it
    // reads, and Cancel stops the reading at once, keeping what was read.
    void cancelWhileReading()
    {
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        p.start();
        p.signIn(QStringLiteral("Eva"));
        const QString folder = TestEnv::root() + QStringLiteral("/many");
        QVERIFY(QDir().mkpath(folder));
        // Small on the disc, long to read: each inflates to megabytes.
        const QByteArray packed = gzipped(gpxRide(QDate(2023, 1, 1), 20000));
        for (int i = 0; i < 40; ++i)
            write(folder + QStringLiteral("/r%1.gpx.gz").arg(i, 3, 10, QLatin1Char('0')), packed);

        TfrmImport window(p.table(), QStringLiteral("Eva"),
                          CyclistPreferences(p.cyclistKey(QStringLiteral("Eva"))),
                          p.data()->source()->valueLists(), p.window());
        qint64 stoppedIn = -1;
        int listedAtCancel = -1;
        bool wasReading = false;
        // Cancelled as soon as the first rides are listed, with most files
        // still to read.
        const auto cancel = [&] {
            if (listedAtCancel >= 0)
                return;
            wasReading = window.isReading() && window.ProgressBar->isVisible();
            listedAtCancel = window.model()->rowCount();
            QElapsedTimer clock;
            clock.start();
            window.btnCancel->click();
            while (window.isReading() && clock.elapsed() < 2000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            stoppedIn = clock.elapsed();
            QTimer::singleShot(50, &window, &QDialog::reject);
        };
        connect(window.model(), &QAbstractItemModel::rowsInserted, &window,
                [&] { QTimer::singleShot(0, &window, cancel); });
        QTimer::singleShot(0, &window, [&] { window.readFiles({folder}); });
        window.exec();
        QVERIFY(wasReading);
        QVERIFY2(stoppedIn >= 0 && stoppedIn < 250, qPrintable(QString::number(stoppedIn)));
        QVERIFY(!window.ProgressBar->isVisible());
        QVERIFY(window.model()->rowCount() >= listedAtCancel);
        // The window painted and handed over rides while most were unread.
        QVERIFY2(listedAtCancel < 20, qPrintable(QString::number(listedAtCancel)));
        QVERIFY(window.model()->rowCount() < 40);
        const QString count = QString::number(window.model()->rowCount());
        QCOMPARE(window.lblFound->text(),
                 Msg::format(Msg::ImportSummary, {count, "0", "0", count}));
    }
};

RYDEX_TEST_MAIN(TestImportWindow, QApplication)
#include "tst_importwindow.moc"
