#include "ChildProcess.h"
#include "ScopedLocale.h"
#include "TestMain.h"
#include "TestProgram.h"

#include "app/TfrmBase.h"
#include "backup/BackupContents.h"
#include "base/MessageCatalogue.h"
#include "records/TfrmEditODO.h"
#include "records/TfrmNewRecord.h"
#include "records/TfrmWork.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "base/RydexError.h"
#include "store/TData.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBMemoEdit.h"
#include "toolkit/DBTimeEdit.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <cstdio>
#include <unistd.h>

namespace {
struct Ride
{
    QString user;
    QDate date;
    QString dst, odo;
};

const char* const childMarker = "ODO-CHILD-STOPPED";
const QString jan = QStringLiteral("Jan");

void addRide(ADOTable& t, const Ride& r)
{
    addTestRide(t, {.user = r.user, .date = r.date, .km = r.dst, .odo = r.odo});
}

// The cyclist Jan and the rides, written before the program starts.
struct Program : TestProgram
{
    explicit Program(const QVector<Ride>& rides)
    {
        addCyclist(jan);
        QList<TestRide> prepared;
        for (const Ride& r : rides)
            prepared.append({.user = r.user, .date = r.date, .km = r.dst, .odo = r.odo});
        addRides(prepared);
    }
    // Jan signed in; today is 15 March 2005, so March 2005 is shown.
    TfrmBase* startSignedIn()
    {
        start();
        signIn(jan);
        return window();
    }
};

// Runs statements, then a query, on a connection of its own, as another
// program would; gives the query's first column as text.
QStringList onStore(const QString& store, const QStringList& statements, const QString& query = {})
{
    const QString name = QUuid::createUuid().toString();
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(store);
        db.open();
        QSqlQuery q(db);
        for (const QString& s : statements) {
            if (!q.exec(s))
                qFatal("%s failed", qPrintable(s));
        }
        if (!query.isEmpty() && q.exec(query)) {
            while (q.next())
                out << q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

QString reading(const QVariant& units)
{
    return units.isNull() ? QStringLiteral("-")
                          : Fixed4::fromUnits(units.toLongLong()).toPlainString();
}

// A cyclist's readings of a year as stored, in the cursor's order; "-" is empty.
QStringList stored(const QString& store, const QString& user, int year)
{
    QStringList out;
    for (const QString& u :
         onStore(store, {},
                 QStringLiteral("SELECT ifnull(odo, '-') FROM rydex WHERE user = '%1' AND "
                                "year = %2 ORDER BY date, id")
                     .arg(user)
                     .arg(year)))
        out << (u == QLatin1String("-") ? u : reading(u));
    return out;
}

QStringList inMemory(const ADOTable& t)
{
    QStringList out;
    for (const RideRow& row : t.rows()) {
        const QVariant v = row[fieldIndex(RideField::odo)];
        out << (v.isNull() ? QStringLiteral("-") : v.value<Fixed4>().toPlainString());
    }
    return out;
}

// Logs every row written, so a test sees which rows a run wrote.
const QStringList writeLog = {
    QStringLiteral("CREATE TABLE written (id INTEGER)"),
    QStringLiteral("CREATE TRIGGER log_odo AFTER UPDATE ON rydex BEGIN "
                   "INSERT INTO written VALUES (NEW.id); END"),
};
QStringList written(const QString& store)
{
    return onStore(store, {}, QStringLiteral("SELECT id FROM written ORDER BY rowid"));
}

// Calls a function whenever the widget is painted.
class OnPaint : public QObject
{
public:
    OnPaint(QWidget* widget, std::function<void()> painted) : m_painted(std::move(painted))
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted();
        return false;
    }

private:
    std::function<void()> m_painted;
};

// Jan's readings of 2005 as stored, and as the stored distances say they
// should be.
std::pair<QStringList, QStringList> chainOf(const QString& store)
{
    QStringList stored, due;
    Fixed4 total;
    const QStringList rows =
        onStore(store, {},
                QStringLiteral("SELECT ifnull(odo, 0) || '/' || ifnull(dst, 0) FROM rydex "
                               "WHERE user = 'Jan' AND year = 2005 ORDER BY date, id"));
    for (int k = 0; k < rows.size(); ++k) {
        const Fixed4 odo = Fixed4::fromUnits(rows[k].section('/', 0, 0).toLongLong());
        const Fixed4 dst = Fixed4::fromUnits(rows[k].section('/', 1, 1).toLongLong());
        total = k == 0 ? odo.roundedTo2() : total + dst.roundedTo2();
        stored << odo.toPlainString();
        due << total.toPlainString();
    }
    return {stored, due};
}

const RideFilter monthFilter = RideFilter::month(jan, 2005, 3);

// Why Jan's readings of a year are no whole chain, or nothing. Whole is the
// chain of all the year's rides (the recomputation after the last Save
// ended), or the chain of the rides before the interrupted Save: then the
// rides saved since have no reading yet, and none of them was reported saved,
// since a ride is reported once its Save with the recomputation returned.
QString wholeChainProblem(const QString& store, int year, const QSet<QString>& reported)
{
    const QStringList rows =
        onStore(store, {},
                QStringLiteral("SELECT ifnull(odo, '-') || '/' || ifnull(dst, 0) || '/' || "
                               "ifnull(note, '') FROM rydex WHERE user = 'Jan' AND year = %1 "
                               "ORDER BY date, id")
                    .arg(year));
    const auto chain = [](const QStringList& of) {
        QStringList stored, due;
        Fixed4 total;
        for (int k = 0; k < of.size(); ++k) {
            const QString odo = of[k].section('/', 0, 0);
            const Fixed4 dst = Fixed4::fromUnits(of[k].section('/', 1, 1).toLongLong());
            const Fixed4 reading = Fixed4::fromUnits(odo == "-" ? 0 : odo.toLongLong());
            total = k == 0 ? reading.roundedTo2() : total + dst.roundedTo2();
            stored << (odo == "-" ? odo : reading.toPlainString());
            due << total.toPlainString();
        }
        return stored == due;
    };
    if (chain(rows))
        return {};
    QStringList before;
    for (const QString& row : rows) {
        if (!row.startsWith(QLatin1String("-/")))
            before << row;
        else if (reported.contains(row.section('/', 2)))
            return QStringLiteral("ride %1 was reported saved but has no reading in %2")
                .arg(row.section('/', 2))
                .arg(year);
    }
    if (chain(before))
        return {};
    return QStringLiteral("the readings of %1 are neither the old nor the new chain: %2")
        .arg(year)
        .arg(rows.join(QLatin1String(", ")));
}

// Helper mode of this executable: signs in, starts the recomputation and
// stops dead in the middle of its writes, waiting to be killed.
[[noreturn]] void runAndHangMidway()
{
    TestProgram program(qEnvironmentVariable("RYDEX_ODO_CHILD_DIR"));
    program.start();
    program.signIn(jan);
    TfrmBase* w = program.window();
    const int stopAt = qEnvironmentVariableIntValue("RYDEX_ODO_CHILD_STOP");
    QObject::connect(w->progressWindow()->Progress, &WorkProgressBar::positionChanged, w,
                     [stopAt](int position) {
                         if (position != stopAt)
                             return;
                         std::fprintf(stdout, "\n%s\n", childMarker);
                         std::fflush(stdout);
                         for (;;)
                             QThread::sleep(1);
                     });
    w->UpdateTotal();
    _exit(3);
}

const char* const readyMarker = "ODO-CHILD-READY";
const QString savedPrefix = QStringLiteral("SAVED ");
const QString failedPrefix = QStringLiteral("FAILED ");

// Helper mode of this executable: saves rides through the record dialog as
// a user would, each Save followed by the recomputation of the year's
// readings, switching between 2004 and 2005 now and then, until it is
// killed. Each ride is reported once its Save has returned.
[[noreturn]] void saveRidesUntilKilled(quint32 seed)
{
    TestProgram program(qEnvironmentVariable("RYDEX_ODO_CHILD_DIR"));
    program.start();
    program.signIn(jan);
    TfrmBase* w = program.window();
    QRandomGenerator random(seed);
    reportLine(QString::fromLatin1(readyMarker));
    for (int n = 0;; ++n) {
        if (random.bounded(4) == 0) {
            if (w->year() == 2005)
                w->btnDownClick();
            else
                w->btnUpClick();
        }
        const int year = w->year();
        program.dialogs().handleNextModal([&](QDialog& window) {
            auto& d = static_cast<TfrmNewRecord&>(window);
            const int rides = 1 + int(random.bounded(3));
            for (int k = 0; k < rides; ++k) {
                if (k > 0)
                    d.btnAdd->click();
                // Never before the first ride of the year, whose reading is
                // the base of the chain.
                const int month = 1 + int(random.bounded(12));
                const int day = 1 + int(random.bounded(month == 1 ? 27 : 28)) + (month == 1);
                const QString note = QStringLiteral("%1-%2-%3").arg(seed).arg(n).arg(k);
                d.Calendar->setDate(QDate(year, month, day));
                d.DBtime->selectAll();
                QTest::keyClicks(d.DBtime, QStringLiteral("1:20:00"));
                d.DBdst->selectAll();
                QTest::keyClicks(d.DBdst, QStringLiteral("%1.%2")
                                              .arg(1 + random.bounded(120))
                                              .arg(random.bounded(100), 2, 10, QLatin1Char('0')));
                d.DBMemo->setPlainText(note);
                const int errors = program.dialogs().count(QStringLiteral("error"));
                d.btnOk->click();
                if (d.isEditing() || program.dialogs().count(QStringLiteral("error")) != errors)
                    reportLine(failedPrefix + note + QLatin1Char(' ') +
                               program.dialogs().last().text);
                else
                    reportLine(savedPrefix + note);
            }
            return int(QDialog::Rejected);
        });
        w->mnuNovyZaznam->trigger();
    }
}

const QString backupPrefix = QStringLiteral("BACKUP ");

// Helper mode of this executable: saves a ride, then writes "Back up..." to
// the same file, over and over until it is killed. Each ride and each backup
// is reported once it returned.
[[noreturn]] void backUpUntilKilled()
{
    TestProgram program(qEnvironmentVariable("RYDEX_ODO_CHILD_DIR"));
    program.start();
    program.signIn(jan);
    TfrmBase* w = program.window();
    const QString target = program.folder() + QStringLiteral("/kept.rydexbackup");
    w->chooseBackupFile = [&target](const QString&) { return target; };
    reportLine(QString::fromLatin1(readyMarker));
    for (int n = 0;; ++n) {
        const QString note = QStringLiteral("b%1-%2").arg(getpid()).arg(n);
        addTestRide(*program.table(), {.user = jan, .date = QDate(2005, 3, 1 + n % 28),
                                       .km = QStringLiteral("1"), .note = note});
        reportLine(savedPrefix + note);
        const int errors = program.dialogs().count(QStringLiteral("error"));
        w->mnuBackup->trigger();
        reportLine((program.dialogs().count(QStringLiteral("error")) == errors ? backupPrefix
                                                                                : failedPrefix) +
                   note + QLatin1Char(' ') + program.dialogs().last().text);
    }
}

const QString restoredPrefix = QStringLiteral("RESTORED ");

// Helper mode of this executable: restores the backup RYDEX_RESTORE_CHILD
// names over and over, each confirmed, until it is killed; each restore is
// reported once it returned.
[[noreturn]] void restoreUntilKilled()
{
    TestProgram program(qEnvironmentVariable("RYDEX_ODO_CHILD_DIR"));
    TfrmBase* w = program.start();
    const QString backup = qEnvironmentVariable("RYDEX_RESTORE_CHILD");
    w->chooseRestoreFile = [&backup](const QString&) { return backup; };
    reportLine(QString::fromLatin1(readyMarker));
    for (int n = 0;; ++n) {
        const int errors = program.dialogs().count(QStringLiteral("error"));
        w->mnuRestore->trigger();
        reportLine((program.dialogs().count(QStringLiteral("error")) == errors ? restoredPrefix
                                                                                : failedPrefix) +
                   QString::number(n) + QLatin1Char(' ') + program.dialogs().last().text);
    }
}
} // namespace

class TestOdometer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsSet("RYDEX_RESTORE_CHILD"))
            restoreUntilKilled();
        if (qEnvironmentVariableIsSet("RYDEX_BACKUP_CHILD"))
            backUpUntilKilled();
        if (qEnvironmentVariableIsSet("RYDEX_ODO_CHILD_LOOP"))
            saveRidesUntilKilled(quint32(qEnvironmentVariableIntValue("RYDEX_ODO_CHILD_LOOP")));
        if (qEnvironmentVariableIsSet("RYDEX_ODO_CHILD_DIR"))
            runAndHangMidway();
    }

    void recomputesEveryReadingOfTheYearShown()
    {
        Program p({{jan, {2005, 1, 10}, "30", "1000"},
                   {jan, {2005, 3, 2}, "12.345", "5"},
                   {jan, {2005, 3, 2}, "", ""}, // same day: the later id comes later
                   {jan, {2005, 6, 1}, "7.5", "1"},
                   {jan, {2004, 12, 31}, "50", "777"},
                   {"Eva", {2005, 2, 1}, "10", "5"},
                   {"Eva", {2005, 2, 2}, "10", "6"}});
        onStore(p.storePath(), writeLog);
        TfrmBase* w = p.startSignedIn();
        ADOTable* t = p.data()->table();
        t->setCurrentIndex(1);
        // A bound edit, as of a record dialog left open, writes its text into
        // whatever row is posted; the walk must not reach it.
        const auto bound = connect(t, &ADOTable::updateRecordRequested, this,
                                   [t] { t->setValue(RideField::note, QStringLiteral("typed")); });

        w->UpdateTotal();
        disconnect(bound);
        const QStringList chain{"1000", "1012.35", "1012.35", "1019.85"};
        QCOMPARE(stored(p.storePath(), jan, 2005), chain);
        QCOMPARE(stored(p.storePath(), jan, 2004), QStringList{"777"});
        QCOMPARE(stored(p.storePath(), "Eva", 2005), QStringList({"5", "6"}));
        QCOMPARE(onStore(p.storePath(), {}, "SELECT count(*) FROM rydex WHERE note IS NOT NULL"),
                 QStringList{"0"});
        // Every ride but the first is written, whether it changes or not.
        QCOMPARE(written(p.storePath()), QStringList({"2", "3", "4"}));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("1019.85"));
        // The month view is back, on its first ride, with the new readings.
        QCOMPARE(t->rideFilter(), monthFilter);
        QCOMPARE(t->currentIndex(), 0);
        QCOMPARE(inMemory(*t), QStringList({"1012.35", "1012.35"}));
        QVERIFY(!t->controlsDisabled());
        QVERIFY(!w->progressWindow()->isVisible());

        // A reading that stays as it is is not written again: every write
        // raises the ride's version, and another copy of the program editing
        // that ride would be refused for nothing.
        w->UpdateTotal();
        QCOMPARE(stored(p.storePath(), jan, 2005), chain);
        QCOMPARE(written(p.storePath()), QStringList({"2", "3", "4"}));
        QCOMPARE(p.dialogs().raised().size(), 0);
    }

    void chainFollowsChangesOfTheYear()
    {
        Program p({{"Eva", {2005, 3, 1}, "10", "5"}});
        onStore(p.storePath(), writeLog);
        TfrmBase* w = p.startSignedIn();
        ADOTable* t = p.data()->table();

        w->UpdateTotal();
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("0.00"));
        QCOMPARE(w->progressWindow()->Progress->text(), QStringLiteral("0%"));

        addRide(*t, {jan, {2005, 3, 5}, "40", "1500"});
        w->UpdateTotal();
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("1500.00"));
        QCOMPARE(written(p.storePath()), QStringList());

        addRide(*t, {jan, {2005, 3, 20}, "10", ""});
        w->UpdateTotal();
        QCOMPARE(stored(p.storePath(), jan, 2005), QStringList({"1500", "1510"}));

        // A ride dated before the first that no save of this program stored
        // (here another program's) takes over the base, empty as it is.
        addRide(*t, {jan, {2005, 1, 3}, "25", ""});
        w->UpdateTotal();
        QCOMPARE(stored(p.storePath(), jan, 2005), QStringList({"-", "40", "50"}));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("50.00"));

        // Without the first ride, the second one's reading is the new base.
        onStore(p.storePath(), {QStringLiteral("DELETE FROM rydex WHERE date LIKE '2005-01-03%'")});
        t->refresh();
        w->UpdateTotal();
        QCOMPARE(stored(p.storePath(), jan, 2005), QStringList({"40", "50"}));
        QCOMPARE(stored(p.storePath(), "Eva", 2005), QStringList{"5"});
    }

    void progressWindowWhileRecomputing()
    {
        Program p({{jan, {2005, 3, 1}, "1", "1"},
                   {jan, {2005, 3, 2}, "1", ""},
                   {jan, {2005, 3, 3}, "1", ""}});
        p.startSignedIn();
        TfrmWork* work = p.window()->progressWindow();
        QVERIFY(work);
        QCOMPARE(work->metaObject()->className(), "TfrmWork");
        QCOMPARE(work->property("Caption").toString(), QStringLiteral("Pracuji..."));
        QCOMPARE(work->size(), QSize(323, 98));
        QCOMPARE(work->StatusText->text(), QStringLiteral("Přepočítávám hodnoty ODO..."));
        QCOMPARE(work->StatusText->pos(), QPoint(8, 41));
        QCOMPARE(work->Label1->text(), QStringLiteral("Strpení prosím..."));
        QCOMPARE(work->Label1->pos(), QPoint(8, 57));
        QCOMPARE(work->Progress->geometry(), QRect(8, 80, 313, 12));
        QVERIFY(!work->isVisible());

        // What the bar shows at each step, and whether the window is up,
        // blocking input, with the bound controls detached.
        QStringList seen;
        connect(work->Progress, &WorkProgressBar::positionChanged, this, [&] {
            seen << work->Progress->text();
            if (!work->isVisible() || QApplication::activeModalWidget() != work ||
                !p.data()->table()->controlsDisabled())
                seen << QStringLiteral("not shown as it should be");
        });
        p.window()->UpdateTotal();
        // Whole percentages rounded down; hidden before the bar would be full.
        QCOMPARE(seen, QStringList({"33%", "66%"}));
        QVERIFY(!work->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(WorkProgressBar::percentText(5, 5, 5), QStringLiteral("0%"));
    }

    void refusedWriteKeepsTheOldChain()
    {
        Program p({{jan, {2005, 1, 1}, "10", "100"},
                   {jan, {2005, 3, 1}, "10", "0"},
                   {jan, {2005, 3, 2}, "10", "0"},
                   {jan, {2005, 3, 3}, "10", "0"}});
        onStore(p.storePath(),
                {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE OF odo ON rydex "
                                "WHEN OLD.id = 3 BEGIN "
                                "SELECT RAISE(ABORT, 'reading refused'); END")});
        TfrmBase* w = p.startSignedIn();
        ADOTable* t = p.data()->table();
        const QStringList before{"100", "0", "0", "0"};
        const QString label = w->lblKMCelkem->text();

        QString error;
        try {
            w->UpdateTotal();
        } catch (const RydexError& e) {
            error = e.text();
        }
        QVERIFY2(error.contains(QStringLiteral("reading refused")), qPrintable(error));
        // The second ride was written before the refusal; it is not kept.
        QCOMPARE(stored(p.storePath(), jan, 2005), before);
        QCOMPARE(t->rideFilter(), monthFilter);
        QCOMPARE(inMemory(*t), QStringList({"0", "0", "0"}));
        QCOMPARE(t->state(), ADOTable::State::Browse);
        QVERIFY(!t->controlsDisabled());
        QVERIFY(!w->progressWindow()->isVisible());
        QCOMPARE(w->lblKMCelkem->text(), label);

        // Saving a first reading is refused as a whole, the new base too; the
        // dialog stays, with the record pending and the text as typed.
        QStringList inDialog;
        p.dialogs().handleNextModal([&](QDialog& d) {
            auto& dialog = static_cast<TfrmEditODO&>(d);
            dialog.edtFirstODO->setText(QStringLiteral("200"));
            dialog.btnSave->click();
            inDialog << dialog.edtFirstODO->text()
                     << t->value(RideField::date).toDate().toString(Qt::ISODate)
                     << (t->state() == ADOTable::State::Edit ? "pending" : "not pending");
            return int(QDialog::Rejected);
        });
        w->mnuUpravaODO->trigger();
        QCOMPARE(inDialog, QStringList({"200", "2005-01-01", "pending"}));
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
        QVERIFY(p.dialogs().last().text.contains(QStringLiteral("reading refused")));
        QCOMPARE(stored(p.storePath(), jan, 2005), before);
        QCOMPARE(t->state(), ADOTable::State::Browse);
        QCOMPARE(t->rideFilter(), monthFilter);

        onStore(p.storePath(), {QStringLiteral("DROP TRIGGER refuse")});
        w->UpdateTotal();
        QCOMPARE(stored(p.storePath(), jan, 2005), QStringList({"100", "110", "120", "130"}));
    }

    // The box takes at most eight typed characters, but a stored reading is
    // shown whole, and Save leaves a reading the user did not touch as it is.
    void firstReadingKeptUnlessChanged_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nine characters") << "100002.34"
                                         << "100002.34";
        QTest::newRow("four decimals") << "1.1235"
                                       << "1.12";
    }
    void firstReadingKeptUnlessChanged()
    {
        QFETCH(QString, base);
        QFETCH(QString, shown);
        Program p({{jan, {2005, 1, 1}, "10", base},
                   {jan, {2005, 3, 1}, "10.5", ""},
                   {jan, {2005, 3, 2}, "2", ""}});
        TfrmBase* w = p.startSignedIn();
        w->UpdateTotal();
        const QStringList before = stored(p.storePath(), jan, 2005);
        QCOMPARE(before.first(), base);

        QString inBox;
        p.dialogs().handleNextModal([&](QDialog& d) {
            auto& dialog = static_cast<TfrmEditODO&>(d);
            inBox = dialog.edtFirstODO->text();
            dialog.btnSave->click();
            return d.result();
        });
        w->mnuUpravaODO->trigger();
        QCOMPARE(inBox, shown);
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 0);
        QCOMPARE(stored(p.storePath(), jan, 2005), before);

        // Typing is held to eight characters, however long the stored text.
        p.dialogs().handleNextModal([&](QDialog& d) {
            QLineEdit* edit = static_cast<TfrmEditODO&>(d).edtFirstODO;
            edit->end(false);
            QTest::keyClicks(edit, QStringLiteral("99"));
            inBox = edit->text();
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("1234567890"));
            inBox += QLatin1Char('|') + edit->text();
            return int(QDialog::Rejected);
        });
        w->mnuUpravaODO->trigger();
        QCOMPARE(inBox, (shown + QStringLiteral("99")).left(std::max(8, int(shown.size()))) +
                            QStringLiteral("|12345678"));
    }

    // What a recomputation rewrites is read inside its transaction: a ride
    // another copy of the program saves meanwhile is either in the chain or
    // waits for it, never overwritten with a reading computed before it.
    void recomputationReadsInsideItsTransaction()
    {
        Program p({{jan, {2005, 1, 1}, "10", "100"},
                   {jan, {2005, 3, 1}, "10", ""},
                   {jan, {2005, 3, 2}, "10", ""},
                   {jan, {2005, 3, 3}, "10", ""}});
        TfrmBase* w = p.startSignedIn();
        w->UpdateTotal();

        // The other copy writes as the bar takes the new number of rides,
        // which the recomputation knows only once it has read them.
        addRide(*p.data()->table(), {jan, {2005, 3, 4}, "10", ""});
        const QString name = QStringLiteral("other copy");
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(p.storePath());
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        QVERIFY(other.open());
        WorkProgressBar* bar = w->progressWindow()->Progress;
        bool done = false;
        bool written = false;
        {
            const OnPaint hook(bar, [&] {
                if (bar->maximum() != 5 || done)
                    return;
                done = true;
                written = QSqlQuery(other).exec(
                    QStringLiteral("UPDATE rydex SET dst = 200000 WHERE id = 2"));
            });
            w->UpdateTotal();
        }
        QVERIFY(done);
        const QString dstOf2 = QStringLiteral("SELECT dst FROM rydex WHERE id = 2");
        QCOMPARE(onStore(p.storePath(), {}, dstOf2), QStringList(written ? "200000" : "100000"));
        auto [stored, due] = chainOf(p.storePath());
        QCOMPARE(stored, due);

        // The first reading: the year is read when Save is pressed, not when
        // the dialog opened.
        written = false;
        p.dialogs().handleNextModal([&](QDialog& d) {
            auto& dialog = static_cast<TfrmEditODO&>(d);
            written =
                QSqlQuery(other).exec(QStringLiteral("UPDATE rydex SET dst = 300000 WHERE id = 3"));
            dialog.edtFirstODO->setText(QStringLiteral("200"));
            dialog.btnSave->click();
            return d.result();
        });
        w->mnuUpravaODO->trigger();
        std::tie(stored, due) = chainOf(p.storePath());
        QCOMPARE(stored, due);
        QCOMPARE(stored.first(), QStringLiteral("200"));
        QVERIFY(written);
        QCOMPARE(onStore(p.storePath(), {}, QStringLiteral("SELECT dst FROM rydex WHERE id = 3")),
                 QStringList{"300000"});
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }

    void killedMidwayKeepsOneWholeChain()
    {
        QVector<Ride> rides{{jan, {2005, 1, 1}, "10", "100"}};
        QStringList oldChain{"500"};
        for (int day = 1; day <= 6; ++day) {
            rides.append({jan, {2005, 3, day}, "10", QString::number(100 + 10 * day)});
            oldChain << QString::number(100 + 10 * day);
        }
        Program p(rides);
        // A new base: every reading after it is due to change.
        onStore(p.storePath(), {QStringLiteral("UPDATE rydex SET odo = 5000000 WHERE id = 1")});

        ChildProcess child({{QStringLiteral("RYDEX_ODO_CHILD_DIR"), p.folder()},
                            {QStringLiteral("RYDEX_ODO_CHILD_STOP"), QStringLiteral("4")}},
                           p.folder());
        QVERIFY2(child.waitForLine(QString::fromLatin1(childMarker), 60000),
                 (child.lines().join(u'\n').toUtf8() + child.errors()).constData());
        // Three readings are written by now, none committed.
        child.kill();
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        QCOMPARE(onStore(p.storePath(), {}, "PRAGMA integrity_check"), QStringList{"ok"});
        QCOMPARE(stored(p.storePath(), jan, 2005), oldChain);
        TestProgram again(p.folder());
        again.start();
        again.signIn(jan);
        again.window()->UpdateTotal();
        QCOMPARE(stored(p.storePath(), jan, 2005),
                 QStringList({"500", "510", "520", "530", "540", "550", "560"}));
    }

    // A copy of the program killed at random moments while it saves rides
    // and recomputes the readings, as by a crash or a power cut: afterwards
    // the store is whole, every ride reported saved is there once, and each
    // year's readings are the chain before the interrupted recomputation or
    // the one after it, never a mix. Killed 50 times when run by hand; ctest
    // sets RYDEX_CRASH_KILLS=10 for CI. RYDEX_CRASH_SEED repeats a run.
    void killedAtRandomKeepsSavedRidesAndWholeChains()
    {
        const int kills = countFromEnvironment("RYDEX_CRASH_KILLS", 50);
        bool seeded = false;
        const quint32 seed = quint32(qEnvironmentVariableIntValue("RYDEX_CRASH_SEED", &seeded));
        QRandomGenerator random(seeded ? seed : QRandomGenerator::global()->generate());
        const quint32 runSeed = seeded ? seed : random.generate();
        random.seed(runSeed);
        Program p({{jan, {2004, 1, 1}, "10", "1000"},
                   {jan, {2004, 5, 1}, "20", "1020"},
                   {jan, {2005, 1, 1}, "10", "5000"},
                   {jan, {2005, 3, 1}, "12.5", "5012.5"}});
        QSet<QString> reported;
        int saved = 0;
        for (int kill = 0; kill < kills; ++kill) {
            const QString where =
                QStringLiteral("RYDEX_CRASH_SEED=%1, kill %2: ").arg(runSeed).arg(kill + 1);
            ChildProcess child({{QStringLiteral("RYDEX_ODO_CHILD_DIR"), p.folder()},
                                {QStringLiteral("RYDEX_ODO_CHILD_LOOP"),
                                 QString::number(random.bounded(1 << 30))}},
                               p.folder());
            QVERIFY2(child.waitForLine(QString::fromLatin1(readyMarker), 60000),
                     qPrintable(where + QString::fromUtf8(child.errors())));
            QThread::msleep(random.bounded(400));
            child.kill();
            for (const QString& line : child.lines()) {
                QVERIFY2(!line.startsWith(failedPrefix), qPrintable(where + line));
                if (line.startsWith(savedPrefix)) {
                    reported.insert(line.mid(savedPrefix.size()));
                    ++saved;
                }
            }
            QVERIFY2(onStore(p.storePath(), {}, "PRAGMA integrity_check") == QStringList{"ok"},
                     qPrintable(where + QStringLiteral("the store is damaged")));
            QStringList notes =
                onStore(p.storePath(), {}, "SELECT note FROM rydex WHERE note IS NOT NULL");
            for (const QString& note : std::as_const(reported))
                QVERIFY2(notes.count(note) == 1,
                         qPrintable(where + QStringLiteral("ride %1 is stored %2 times")
                                                .arg(note)
                                                .arg(notes.count(note))));
            for (const int year : {2004, 2005}) {
                const QString problem = wholeChainProblem(p.storePath(), year, reported);
                QVERIFY2(problem.isEmpty(), qPrintable(where + problem));
            }
        }
        qInfo("%d kills, %d rides reported saved (RYDEX_CRASH_SEED=%u)", kills, saved, runSeed);
        QVERIFY(saved > 0);
    }

    // A copy of the program killed at random moments while it saves rides
    // and writes backups: the store keeps every ride reported saved, the
    // backup file is whole (with every ride saved before the last backup
    // reported) or absent, and what a killed backup left under its
    // temporary name is gone after the next one.
    void killedDuringBackupKeepsStoreAndWholeBackup()
    {
        const int kills = countFromEnvironment("RYDEX_CRASH_KILLS", 50);
        QRandomGenerator random(QRandomGenerator::global()->generate());
        Program p({{jan, {2005, 1, 1}, "10", "1000"}});
        const QString target = p.folder() + QStringLiteral("/kept.rydexbackup");
        QSet<QString> saved;
        QString backedUp;
        int backups = 0;
        int interrupted = 0;
        for (int kill = 0; kill < kills; ++kill) {
            ChildProcess child({{QStringLiteral("RYDEX_ODO_CHILD_DIR"), p.folder()},
                                {QStringLiteral("RYDEX_BACKUP_CHILD"), QStringLiteral("1")}},
                               p.folder());
            QVERIFY2(child.waitForLine(QString::fromLatin1(readyMarker), 60000),
                     child.errors().constData());
            QThread::msleep(random.bounded(300));
            child.kill();
            for (const QString& line : child.lines()) {
                QVERIFY2(!line.startsWith(failedPrefix), qPrintable(line));
                if (line.startsWith(savedPrefix))
                    saved.insert(line.mid(savedPrefix.size()));
                if (line.startsWith(backupPrefix)) {
                    backedUp = line.mid(backupPrefix.size()).section(u' ', 0, 0);
                    ++backups;
                }
            }
            interrupted += !QDir(p.folder()).entryList({"*.part-*"}, QDir::Files | QDir::Hidden).isEmpty();
            QCOMPARE(onStore(p.storePath(), {}, "PRAGMA integrity_check"), QStringList{"ok"});
            const QStringList notes =
                onStore(p.storePath(), {}, "SELECT note FROM rydex WHERE note IS NOT NULL");
            for (const QString& note : std::as_const(saved))
                QVERIFY2(notes.count(note) == 1, qPrintable(note));
            if (QFileInfo::exists(target)) {
                const BackupContents contents = readBackup(target);
                QVERIFY(contents.rides >= 1);
                if (!backedUp.isEmpty())
                    QCOMPARE(onStore(target, {}, QStringLiteral("SELECT count(*) FROM rydex WHERE "
                                                               "note = '%1'").arg(backedUp)),
                             QStringList{"1"});
            } else {
                QVERIFY(backedUp.isEmpty());
            }
        }
        qInfo("%d kills, %d backups reported, %d killed while writing one", kills, backups,
              interrupted);
        QVERIFY(!saved.isEmpty());
        TestProgram again(p.folder());
        TfrmBase* w = again.start();
        w->chooseBackupFile = [&target](const QString&) { return target; };
        w->mnuBackup->trigger();
        QCOMPARE(QDir(p.folder()).entryList({"*.part-*"}, QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(QString::number(readBackup(target).rides),
                 onStore(p.storePath(), {}, "SELECT count(*) FROM rydex").value(0));
    }

    // A copy of the program killed at random moments while it restores a
    // backup of one ride over a store of three: afterwards the store opens
    // whole with the three rides or, once a restore was reported, the one,
    // and the next start removes what a killed restore left.
    void killedDuringRestoreKeepsAWholeStore()
    {
        const int kills = countFromEnvironment("RYDEX_CRASH_KILLS", 50);
        QRandomGenerator random(QRandomGenerator::global()->generate());
        Program p({{jan, {2005, 1, 1}, "10", "1000"}});
        const QString backup = p.folder() + QStringLiteral("/one.rydexbackup");
        {
            TestProgram maker(p.folder());
            TfrmBase* w = maker.start();
            w->chooseBackupFile = [&backup](const QString&) { return backup; };
            w->mnuBackup->trigger();
        }
        onStore(p.storePath(), {QStringLiteral("INSERT INTO rydex (user, date, year, month, day) "
                                               "VALUES ('Jan', '2005-02-01 00:00:00', 2005, 2, 1), "
                                               "('Jan', '2005-02-02 00:00:00', 2005, 2, 2)")});
        bool restored = false;
        int interrupted = 0;
        for (int kill = 0; kill < kills; ++kill) {
            ChildProcess child({{QStringLiteral("RYDEX_ODO_CHILD_DIR"), p.folder()},
                                {QStringLiteral("RYDEX_RESTORE_CHILD"), backup}},
                               p.folder());
            QVERIFY2(child.waitForLine(QString::fromLatin1(readyMarker), 60000),
                     child.errors().constData());
            QThread::msleep(random.bounded(200));
            child.kill();
            for (const QString& line : child.lines()) {
                QVERIFY2(!line.startsWith(failedPrefix), qPrintable(line));
                restored = restored || line.startsWith(restoredPrefix);
            }
            QCOMPARE(onStore(p.storePath(), {}, "PRAGMA integrity_check"), QStringList{"ok"});
            const QString rides = onStore(p.storePath(), {}, "SELECT count(*) FROM rydex").value(0);
            QVERIFY2(restored ? rides == "1" : rides == "1" || rides == "3", qPrintable(rides));
            interrupted += !QDir(QFileInfo(p.storePath()).absolutePath())
                                .entryList({"Rydex.dat.new-*"}, QDir::Files | QDir::Hidden)
                                .isEmpty();
        }
        qInfo("%d kills, %d while building the restored store", kills, interrupted);
        TestProgram again(p.folder());
        again.start();
        QCOMPARE(again.dialogs().count(QStringLiteral("error")), 0);
        QCOMPARE(QDir(QFileInfo(p.storePath()).absolutePath())
                     .entryList({"Rydex.dat.new-*"}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    void savedRideKeepsTheChains_data()
    {
        QTest::addColumn<QDate>("date");
        // The ride of March 2005 moved to the date, or -1 for a new ride.
        QTest::addColumn<int>("edited");
        QTest::addColumn<QStringList>("year2005");
        QTest::addColumn<QStringList>("year2004");
        QTest::addColumn<bool>("toCheck");

        // The reading entered for the former first ride stays.
        QTest::newRow("new ride before the first")
            << QDate(2005, 1, 3) << -1 << QStringList{"1460", "1500", "1510"}
            << QStringList{"20", "40"} << false;
        // No base leads to a reading below its ride's distance: it stays too.
        QTest::newRow("new first ride of another year, reading below the distance")
            << QDate(2004, 1, 3) << -1 << QStringList{"1500", "1510"}
            << QStringList{"-", "20", "40"} << true;
        QTest::newRow("ride moved to another year") << QDate(2004, 7, 1) << 1 << QStringList{"1500"}
                                                    << QStringList{"20", "40", "50"} << false;
    }
    void savedRideKeepsTheChains()
    {
        QFETCH(QDate, date);
        QFETCH(int, edited);
        QFETCH(bool, toCheck);
        Program p({{jan, {2005, 3, 5}, "40", "1500"},
                   {jan, {2005, 3, 20}, "10", "1510"},
                   {jan, {2004, 5, 1}, "30", "20"},
                   {jan, {2004, 6, 1}, "20", "40"}});
        TfrmBase* w = p.startSignedIn();
        p.dialogs().handleNextModal([&](QDialog& window) {
            auto& d = static_cast<TfrmNewRecord&>(window);
            d.Calendar->setDate(date);
            d.DBtime->selectAll();
            QTest::keyClicks(d.DBtime, QStringLiteral("1:20:00"));
            if (edited < 0) {
                d.DBdst->selectAll();
                QTest::keyClicks(d.DBdst, QStringLiteral("25"));
            }
            d.btnOk->click();
            return int(QDialog::Rejected);
        });
        if (edited < 0) {
            w->mnuNovyZaznam->trigger();
        } else {
            p.data()->table()->setCurrentIndex(edited);
            w->mnuUpravaZaznamu->trigger();
        }
        QStringList raised;
        for (const auto& r : p.dialogs().raised())
            raised << r.name;
        QTEST(stored(p.storePath(), jan, 2005), "year2005");
        QTEST(stored(p.storePath(), jan, 2004), "year2004");
        QCOMPARE(raised.contains(QStringLiteral("msgDlgCheckFirstODO")), toCheck);
    }

    void firstReadingCommand()
    {
        Program p({{jan, {2004, 5, 1}, "10", "100"}});
        TfrmBase* w = p.startSignedIn();
        ADOTable* t = p.data()->table();

        // A year without rides: the message, and the month view as it was.
        w->mnuUpravaODO->trigger();
        QCOMPARE(p.dialogs().raised().size(), 1);
        QCOMPARE(p.dialogs().last().name, QStringLiteral("mdgDlgNoRecord"));
        QCOMPARE(p.dialogs().last().text,
                 QStringLiteral("Nemáte žádný záznam! Nejprve jej musíte vytvořit!"));
        QCOMPARE(t->rideFilter(), monthFilter);

        addRide(*t, {jan, {2005, 1, 10}, "30", "1000"});
        addRide(*t, {jan, {2005, 3, 2}, "12.5", ""});
        addRide(*t, {jan, {2005, 3, 9}, "2.5", ""});
        t->setCurrentIndex(1);
        p.dialogs().clear();
        w->lblKilometry->setText(QStringLiteral("x"));

        // The year's first ride is edited, not the month's; a text that is no
        // number is refused and the dialog stays.
        QStringList inDialog;
        p.dialogs().handleNextModal([&](QDialog& d) {
            auto& dialog = static_cast<TfrmEditODO&>(d);
            if (d.size() != QSize(285, 106) || dialog.lblFirstODO->pos() != QPoint(24, 49) ||
                dialog.edtFirstODO->geometry() != QRect(24, 64, 153, 21) ||
                dialog.btnSave->geometry() != QRect(192, 62, 75, 25) ||
                !dialog.edtFirstODO->isEnabled() || dialog.edtFirstODO->maxLength() != 8)
                inDialog << QStringLiteral("not as designed");
            inDialog << dialog.edtFirstODO->text()
                     << t->value(RideField::date).toDate().toString(Qt::ISODate);
            dialog.edtFirstODO->setText(QStringLiteral("abc"));
            dialog.btnSave->click();
            inDialog << (t->state() == ADOTable::State::Edit ? "pending" : "not pending");
            // Neither a sign nor a letter is typed; a negative reading put in
            // all the same is refused.
            dialog.edtFirstODO->clear();
            QTest::keyClicks(dialog.edtFirstODO, QStringLiteral("-12a"));
            inDialog << dialog.edtFirstODO->text();
            dialog.edtFirstODO->setText(QStringLiteral("-12"));
            dialog.btnSave->click();
            inDialog << (t->state() == ADOTable::State::Edit ? "pending" : "not pending");
            dialog.edtFirstODO->setText(QStringLiteral("2000.5"));
            dialog.btnSave->click();
            return d.result();
        });
        w->mnuUpravaODO->trigger();
        QCOMPARE(inDialog, QStringList({"1000", "2005-01-10", "pending", "12", "pending"}));
        QCOMPARE(p.dialogs().raised().size(), 3);
        QCOMPARE(p.dialogs().raised()[2].text,
                 standardErrorText(Msg::format(Msg::OdometerNegative, {"-12"})));
        QCOMPARE(p.dialogs().raised()[0].className, QStringLiteral("TfrmEditODO"));
        QCOMPARE(p.dialogs().raised()[0].caption, QStringLiteral("Úprava ODO"));
        QCOMPARE(p.dialogs().raised()[0].answer, int(QDialog::Accepted));
        QVERIFY(p.dialogs().raised()[1].text.contains(QStringLiteral("'abc'")));
        QCOMPARE(stored(p.storePath(), jan, 2005), QStringList({"2000.5", "2013", "2015.5"}));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("2015.50"));
        QCOMPARE(w->lblKilometry->text(), QStringLiteral("14"));
        QCOMPARE(t->rideFilter(), monthFilter);
        QCOMPARE(t->currentIndex(), 0);
        QCOMPARE(inMemory(*t), QStringList({"2013", "2015.5"}));

        // Closing discards the pending reading; the month figures stay.
        w->lblKilometry->setText(QStringLiteral("x"));
        p.dialogs().handleNextModal([](QDialog& d) {
            static_cast<TfrmEditODO&>(d).edtFirstODO->setText(QStringLiteral("5555"));
            return int(QDialog::Rejected);
        });
        w->mnuUpravaODO->trigger();
        QCOMPARE(stored(p.storePath(), jan, 2005), QStringList({"2000.5", "2013", "2015.5"}));
        QCOMPARE(t->state(), ADOTable::State::Browse);
        QCOMPARE(t->rideFilter(), monthFilter);
        QCOMPARE(w->lblKilometry->text(), QStringLiteral("x"));

        // The user's decimal separator, in the dialog and in the total.
        QString shown;
        p.dialogs().handleNextModal([&](QDialog& d) {
            auto& dialog = static_cast<TfrmEditODO&>(d);
            shown = dialog.edtFirstODO->text();
            dialog.edtFirstODO->setText(QStringLiteral("1500,25"));
            dialog.btnSave->click();
            return d.result();
        });
        {
            const ScopedLocale czech(QLocale(QLocale::Czech, QLocale::CzechRepublic));
            w->mnuUpravaODO->trigger();
        }
        QCOMPARE(shown, QStringLiteral("2000,5"));
        QCOMPARE(stored(p.storePath(), jan, 2005), QStringList({"1500.25", "1512.75", "1515.25"}));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("1515,25"));
    }
};

RYDEX_TEST_MAIN(TestOdometer, QApplication)
#include "tst_odometer.moc"
