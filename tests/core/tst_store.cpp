#include "TestFiles.h"
#include "TestMain.h"
#include "TestRides.h"
#include "TestServer.h"

#include "base/Clock.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/FilterGuard.h"
#include "store/RideFilter.h"
#include "store/RideRepository.h"
#include "store/ServerCheck.h"
#include "store/TData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimeZone>
#include <chrono>
#include <csignal>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

Q_DECLARE_METATYPE(RideFilter)

namespace {
// Adds one ride through the cursor, as the record dialog does.
void addRide(ADOTable& t, const QString& user, QDate date, const QString& km = QString(),
             QTime time = QTime(1, 0, 0), int pulse = 0)
{
    addTestRide(t, {.user = user, .date = date, .km = km, .time = time, .pulse = pulse});
}

// The permission bits only, without the "current user" flags Qt adds.
QFileDevice::Permissions modeOf(const QString& path)
{
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                     QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                     QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return QFileInfo(path).permissions() & all;
}

template <typename F> RydexError errorOf(F&& f)
{
    try {
        f();
    } catch (const RydexError& e) {
        return e;
    }
    return RydexError(QStringLiteral("(no error)"));
}

const char* const createdMarker = "STORE-CHILD-CREATED";

// Helper mode of this executable: creates the store and is killed the moment
// a file of that name appears, as by a crash during the first start.
[[noreturn]] void createAndDie(const QString& store, int delayUs)
{
    std::thread([store, delayUs] {
        const QByteArray name = QFile::encodeName(store);
        for (;;) {
            if (::access(name.constData(), F_OK) == 0) {
                if (delayUs > 0)
                    std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
                ::kill(::getpid(), SIGKILL);
            }
        }
    }).detach();
    TData(store).open();
    std::printf("%s\n", createdMarker);
    std::fflush(stdout);
    for (;;)
        ::pause();
}

QStringList daysOf(ADOTable& t)
{
    QStringList out;
    if (!t.findFirst())
        return out;
    const int n = t.recordCount();
    for (int i = 0; i < n; ++i) {
        out << t.asString(RideField::user) + QLatin1Char('@') +
                   t.asDateTime(RideField::date).date().toString(Qt::ISODate);
        t.next();
    }
    return out;
}
} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private:
    QString m_dir;
    StoreLocation m_store;
    QString path(const QString& name) const { return QDir(m_dir).filePath(name); }
    // The store of the engine this run of the test functions is for: a file,
    // or a new database on the test server.
    const StoreLocation& store() const { return m_store; }
    static bool onServer()
    {
        QFETCH_GLOBAL(bool, server);
        return server;
    }

private slots:
    // The zone named for speed is the system's own zone to Qt as well, and a
    // zone the user named is left alone.
    void timeZoneSettled()
    {
        const QByteArray before = qgetenv("TZ");
        const QByteArray systemZone = QTimeZone::systemTimeZoneId();
        qunsetenv("TZ");
        Clock::settleTimeZone();
        const QByteArray settled = qgetenv("TZ");
        const QByteArray zoneThen = QTimeZone::systemTimeZoneId();
        qputenv("TZ", "Europe/Prague");
        Clock::settleTimeZone();
        const QByteArray named = qgetenv("TZ");
        if (before.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", before);
        QCOMPARE(settled, QByteArray(":/etc/localtime"));
        QCOMPARE(zoneThen, before.isEmpty() ? systemZone : QTimeZone::systemTimeZoneId());
        QCOMPARE(named, "Europe/Prague");
    }

    // Every test function runs once per engine.
    void initTestCase_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("file") << false;
        QTest::newRow("server") << true;
    }

    void initTestCase()
    {
        if (qEnvironmentVariableIsSet("RYDEX_STORE_CHILD"))
            createAndDie(qEnvironmentVariable("RYDEX_STORE_CHILD"),
                         qEnvironmentVariableIntValue("RYDEX_STORE_CHILD_DELAY_US"));
    }

    void init()
    {
        static int n = 0;
        m_dir = TestEnv::root() + QStringLiteral("/store%1").arg(++n);
        QDir().mkpath(m_dir);
        m_store = onServer() ? TestServer::freshStore()
                             : StoreLocation::file(path(QStringLiteral("Rydex.dat")));
        // A file is made by its first opening; a server's database when the
        // user agrees (createsStoreWhenMissing asks), here once for the test.
        if (onServer()) {
            ADOConnection maker(m_store);
            maker.setCreationConsent([](const QString&) { return true; });
            maker.open();
        }
    }

    void skipOnServer(const char* why)
    {
        if (onServer())
            QSKIP(why);
    }

    void filterTexts_data()
    {
        QTest::addColumn<RideFilter>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cyclist") << RideFilter::cyclist(QStringLiteral("Jan"))
                                 << QStringLiteral("(user = 'Jan')");
        QTest::newRow("year") << RideFilter::year(QStringLiteral("Jan"), 2005)
                              << QStringLiteral("(user = 'Jan') and (year = 2005)");
        QTest::newRow("short year") << RideFilter::year(QStringLiteral("Jan"), 987)
                                    << QStringLiteral("(user = 'Jan') and (year = 987)");
        QTest::newRow("month") << RideFilter::month(QStringLiteral("Jan"), 2005, 3)
                               << QStringLiteral(
                                      "(user = 'Jan') and (year = 2005) and (month = 3)");
        QTest::newRow("apostrophe")
            << RideFilter::month(QStringLiteral("O'Neil"), 0, 12)
            << QStringLiteral("(user = 'O'Neil') and (year = 0) and (month = 12)");
        QTest::newRow("empty name")
            << RideFilter::cyclist(QString()) << QStringLiteral("(user = '')");
        QTest::newRow("none") << RideFilter() << QString();
    }
    void filterTexts()
    {
        QFETCH(RideFilter, filter);
        QFETCH(QString, expected);
        QCOMPARE(filter.text(), expected);
        // The table words the filter in force the same way.
        TData data(store());
        data.open();
        data.table()->setFilter(filter);
        QCOMPARE(data.table()->filter(), expected);
        QVERIFY(data.table()->rideFilter() == filter);
        // The empty filter is not the filter of a cyclist named "".
        QCOMPARE(filter == RideFilter(), expected.isNull());
    }

    // Names that look like SQL or like another filter's wording select
    // that cyclist's rides and nobody else's.
    void filterNamesAreNeverRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("sql") << QStringLiteral("1=1");
        QTest::newRow("no close") << QStringLiteral("Jan'");
        QTest::newRow("year in the name") << QStringLiteral("J') and (year = 2005");
    }
    void filterNamesAreNeverRead()
    {
        QFETCH(QString, name);
        TData data(store());
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::cyclist(name));
        addRide(t, name, QDate(2004, 3, 1));
        addRide(t, QStringLiteral("Jan"), QDate(2005, 3, 1));
        t.setFilter(RideFilter::cyclist(QStringLiteral("Jan")));
        t.setFilter(RideFilter::cyclist(name));
        QCOMPARE(daysOf(t), QStringList{name + QStringLiteral("@2004-03-01")});
        QCOMPARE(t.peekRows(RideFilter::year(name, 2005), {RideField::dst}).size(), 0);
    }

    void createsStoreWhenMissing()
    {
        if (onServer()) {
            // An empty database gets the tables only when the user agrees.
            const StoreLocation empty = TestServer::freshStore();
            const auto tables = [&] {
                return onOwnConnection(empty,
                                       {QStringLiteral("SELECT count(*) FROM pg_tables WHERE "
                                                       "schemaname = current_schema()")});
            };
            QStringList asked;
            for (bool agree : {false, true}) {
                TData data(empty);
                data.connection()->setCreationConsent([&](const QString& where) {
                    asked << where;
                    return agree;
                });
                if (!agree) {
                    const RydexError e = errorOf([&] { data.open(); });
                    QCOMPARE(e.text(),
                             Msg::format(Msg::ServerEmptyRefused, {empty.connectionText()}));
                    QCOMPARE(tables(), QStringList{"0"});
                    continue;
                }
                data.open();
                QCOMPARE(data.table()->recordCount(), 0);
            }
            QCOMPARE(asked, QStringList({empty.connectionText(), empty.connectionText()}));
            QCOMPARE(onOwnConnection(empty, {QStringLiteral("SELECT schema_version FROM "
                                                            "rydex_store")}),
                     QStringList{"2"});
            // Opened again, the store is found: nobody is asked.
            TData again(empty);
            again.open();
            QCOMPARE(asked.size(), 2);
            return;
        }
        const QString file = path(QStringLiteral("sub/Rydex.dat"));
        {
            TData data(file);
            data.open();
            QVERIFY(data.table()->isOpen());
            QCOMPARE(data.table()->recordCount(), 0);
            QVERIFY(!data.table()->findFirst());
        }
        QVERIFY(QFile::exists(file));
        QCOMPARE(modeOf(file), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(modeOf(path(QStringLiteral("sub"))),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(onOwnConnection(file, {QStringLiteral("PRAGMA user_version")}), QStringList{"2"});
        // The import entries and the trigger that keeps them in step come too.
        QCOMPARE(
            onOwnConnection(file, {QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                                  "name IN ('imports', 'imports_follow_rides')")}),
            QStringList{"2"});
        // A second open finds the store it made.
        TData again(file);
        again.open();
        QVERIFY(again.table()->isOpen());
    }

    void filtersSelectOnlyTheirRows()
    {
        TData data(store());
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::cyclist(QStringLiteral("Jan")));
        addRide(t, QStringLiteral("Jan"), QDate(2005, 3, 20));
        addRide(t, QStringLiteral("Jan"), QDate(2005, 3, 2));
        addRide(t, QStringLiteral("Jan"), QDate(2005, 4, 1));
        addRide(t, QStringLiteral("Jan"), QDate(2004, 3, 5));
        addRide(t, QStringLiteral("O'Neil"), QDate(2005, 3, 3));
        addRide(t, QStringLiteral("jan"), QDate(2005, 3, 4));
        addRide(t, QStringLiteral("Jan') or ('1'='1"), QDate(2005, 3, 6));

        t.setFilter(RideFilter::month(QStringLiteral("Jan"), 2005, 3));
        QCOMPARE(daysOf(t),
                 QStringList({QStringLiteral("Jan@2005-03-02"), QStringLiteral("Jan@2005-03-20")}));
        t.setFilter(RideFilter::year(QStringLiteral("Jan"), 2005));
        QCOMPARE(t.recordCount(), 3);
        t.setFilter(RideFilter::cyclist(QStringLiteral("Jan")));
        QCOMPARE(daysOf(t).first(), QStringLiteral("Jan@2004-03-05"));
        QCOMPARE(t.recordCount(), 4);

        // A name with an apostrophe is that cyclist's rides, nobody else's.
        t.setFilter(RideFilter::month(QStringLiteral("O'Neil"), 2005, 3));
        QCOMPARE(daysOf(t), QStringList({QStringLiteral("O'Neil@2005-03-03")}));
        // Pasting SQL into a name selects nothing but that name.
        t.setFilter(RideFilter::month(QStringLiteral("Jan') or ('1'='1"), 2005, 3));
        QCOMPARE(t.recordCount(), 1);

        // Before any cyclist is named nothing is selected (start-up reads nothing).
        t.setFilter(RideFilter());
        QCOMPARE(t.recordCount(), 0);

        // An empty month.
        t.setFilter(RideFilter::month(QStringLiteral("Jan"), 2005, 5));
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(!t.findFirst());
        QVERIFY(t.isNull(RideField::dst));
        QCOMPARE(t.asFixed(RideField::dst), Fixed4());
    }

    void sameFilterChangesNothingOtherResetsCurrent()
    {
        TData data(store());
        data.open();
        ADOTable& t = *data.table();
        const RideFilter month = RideFilter::month(QStringLiteral("Eva"), 2005, 3);
        t.setFilter(month);
        for (int d = 1; d <= 3; ++d)
            addRide(t, QStringLiteral("Eva"), QDate(2005, 3, d));
        t.first();
        t.next();
        t.next();
        QCOMPARE(t.currentIndex(), 2);
        t.setFilter(month);
        QCOMPARE(t.currentIndex(), 2);
        t.setFilter(RideFilter::year(QStringLiteral("Eva"), 2005));
        t.setFilter(month);
        QCOMPARE(t.currentIndex(), 0);

        // A walk under another filter puts the month back however it ends.
        t.next();
        try {
            FilterGuard year(t, RideFilter::cyclist(QStringLiteral("Eva")));
            QCOMPARE(t.filter(), RideFilter::cyclist(QStringLiteral("Eva")).text());
            throw RydexError(QStringLiteral("walk failed"), RydexError::Kind::Store);
        } catch (const RydexError&) {
        }
        QCOMPARE(t.rideFilter(), month);
        QCOMPARE(t.currentIndex(), 0);
    }

    void orderByDateThenId()
    {
        TData data(store());
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 9), QStringLiteral("1"));
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 9), QStringLiteral("2"));
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 1), QStringLiteral("3"));
        t.refresh();
        QStringList km;
        t.first();
        for (int i = 0; i < t.recordCount(); ++i, t.next())
            km << t.asString(RideField::dst);
        QCOMPARE(km, QStringList(
                         {QStringLiteral("3.00"), QStringLiteral("1.00"), QStringLiteral("2.00")}));
    }

    void editPostCancelDelete()
    {
        const StoreLocation file = store();
        TData data(file);
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 9), QStringLiteral("12.3456"));
        QCOMPARE(t.state(), ADOTable::State::Browse);

        // Cancel drops what was typed.
        t.edit();
        QVERIFY(!t.isModified());
        t.setValue(RideField::pulse, 150);
        QVERIFY(t.isModified());
        t.cancel();
        QCOMPARE(t.asInteger(RideField::pulse), 0);

        // Post writes through: another connection sees the value at once.
        t.edit();
        t.setEditText(RideField::dst, QStringLiteral("42.5"), QLocale::c());
        t.setEditText(RideField::time, QStringLiteral(" 1:20:00"));
        t.setValue(RideField::note, QStringLiteral("Vítr; \"kopce\"\n'druhý' řádek"));
        t.post();
        {
            TData other(file);
            other.open();
            other.table()->setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
            QCOMPARE(other.table()->asFixed(RideField::dst), Fixed4::fromUnits(425000));
            QCOMPARE(other.table()->asTime(RideField::time), QTime(1, 20, 0));
            QCOMPARE(other.table()->asString(RideField::note),
                     QStringLiteral("Vítr; \"kopce\"\n'druhý' řádek"));
        }
        QCOMPARE(t.displayText(RideField::dst, QLocale(QLocale::Czech)), QStringLiteral("42,50"));
        QCOMPARE(t.editText(RideField::dst, QLocale(QLocale::Czech)), QStringLiteral("42,5"));
        QCOMPARE(t.displayText(RideField::time), QStringLiteral("1:20:00"));
        QCOMPARE(t.editText(RideField::time), QStringLiteral(" 1:20:00"));

        // A filter change posts a modified row and drops an unmodified one.
        t.edit();
        t.setValue(RideField::alt, 300);
        t.setFilter(RideFilter::year(QStringLiteral("Eva"), 2005));
        QCOMPARE(t.state(), ADOTable::State::Browse);
        QCOMPARE(t.asInteger(RideField::alt), 300);

        // Delete removes the row from the set and the file.
        t.deleteRecord();
        QCOMPARE(t.recordCount(), 0);
        t.refresh();
        QCOMPARE(t.recordCount(), 0);
        QVERIFY_THROWS_EXCEPTION(RydexError, t.deleteRecord());
    }

    void fieldValuesThatDoNotFit()
    {
        TData data(store());
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::cyclist(QStringLiteral("Eva")));
        t.insert();
        QVERIFY_THROWS_EXCEPTION(RydexError, t.setValue(RideField::pulse, 70000));
        QVERIFY_THROWS_EXCEPTION(RydexError, t.setValue(RideField::alt, -40000));
        QVERIFY_THROWS_EXCEPTION(RydexError,
                                 t.setEditText(RideField::time, QStringLiteral("25:00:00")));
        QVERIFY_THROWS_EXCEPTION(RydexError,
                                 t.setEditText(RideField::time, QStringLiteral(" 1:61:00")));
        QVERIFY_THROWS_EXCEPTION(RydexError, t.setEditText(RideField::dst, QStringLiteral("12km")));
        QVERIFY_THROWS_EXCEPTION(RydexError,
                                 t.setEditText(RideField::pulse, QStringLiteral("abc")));
        // Texts keep to their widths.
        QVERIFY_THROWS_EXCEPTION(
            RydexError, t.setValue(RideField::pocit, QStringLiteral("100 %") + QLatin1Char('!')));
        QVERIFY_THROWS_EXCEPTION(RydexError, t.setValue(RideField::user, QString(21, 'x')));
        t.setValue(RideField::pocit, QStringLiteral("100 %"));
        try {
            t.setEditText(RideField::dst, QStringLiteral("12km"));
            QFAIL("a distance with letters was taken");
        } catch (const RydexError& e) {
            QVERIFY(e.text().contains(QStringLiteral("dst")));
            QVERIFY(e.text().contains(QStringLiteral("12km")));
        }
        // An empty duration mask is an empty field.
        t.setEditText(RideField::time, QStringLiteral("  :__:__"));
        QVERIFY(t.isNull(RideField::time));
        // The temperature band longer than its declared width is kept whole.
        t.setValue(RideField::temperature, QStringLiteral("-10 -  5 C'"));
        t.setValue(RideField::user, QStringLiteral("Eva"));
        t.post();
        t.refresh();
        QCOMPARE(t.asString(RideField::temperature), QStringLiteral("-10 -  5 C'"));
        // Writing outside an edit is refused.
        QVERIFY_THROWS_EXCEPTION(RydexError, t.setValue(RideField::pulse, 1));
    }

    void setsReadAgainAfterAnyWrite_data()
    {
        QTest::addColumn<bool>("caching");
        QTest::newRow("sets kept") << true;
        // Switched off, every read goes to the store and gives the same.
        QTest::newRow("nothing kept") << false;
    }
    void setsReadAgainAfterAnyWrite()
    {
        QFETCH(bool, caching);
        const StoreLocation file = store();
        TData data(file);
        data.connection()->rides().setCaching(caching);
        data.open();
        ADOTable& t = *data.table();
        const RideFilter month = RideFilter::month(QStringLiteral("Eva"), 2005, 3);
        const RideFilter year = RideFilter::year(QStringLiteral("Eva"), 2005);
        // A look at the year from the month gives what showing the year
        // would, and leaves the month shown as it was.
        QSignalSpy setChanges(&t, &ADOTable::setChanged);
        const auto peekedYear = [&] {
            const int current = t.currentIndex();
            const QVector<RideRow> rows = t.peekRows(year, {RideField::dst});
            if (t.rideFilter() != month || t.currentIndex() != current || !setChanges.isEmpty())
                return -1;
            return int(rows.size());
        };
        t.setFilter(month);
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 1));
        setChanges.clear();
        QCOMPARE(peekedYear(), 1);
        t.setFilter(year);
        QCOMPARE(t.recordCount(), 1);
        t.setFilter(month);
        // Another program writes: the next read of the year sees it.
        {
            TData other(file);
            other.open();
            other.table()->setFilter(month);
            addRide(*other.table(), QStringLiteral("Eva"), QDate(2005, 3, 2));
        }
        setChanges.clear();
        QCOMPARE(peekedYear(), 2);
        QCOMPARE(peekedYear(), 2);
        // A write of ours is seen at the next look, not the look kept before.
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 4));
        setChanges.clear();
        QCOMPARE(peekedYear(), 3);
        QCOMPARE(t.value(RideField::date).toDate(), QDate(2005, 3, 4));
        t.deleteRecord();
        setChanges.clear();
        QCOMPARE(peekedYear(), 2);
        t.setFilter(year);
        QCOMPARE(t.recordCount(), 2);
        // Our own delete, then a switch back and forth.
        t.deleteRecord();
        t.setFilter(month);
        t.setFilter(year);
        QCOMPARE(t.recordCount(), 1);
        // Writes inside a transaction that is rolled back are not remembered.
        t.setFilter(month);
        data.connection()->begin();
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 3));
        setChanges.clear();
        QCOMPARE(peekedYear(), 2);
        t.setFilter(year);
        QCOMPARE(t.recordCount(), 2);
        data.connection()->rollback();
        t.setFilter(month);
        setChanges.clear();
        QCOMPARE(peekedYear(), 1);
        t.setFilter(year);
        QCOMPARE(t.recordCount(), 1);
        // The same look twice, and a switch back and forth: the second of
        // each comes from what was kept, unless nothing is.
        t.setFilter(month);
        setChanges.clear();
        QCOMPARE(peekedYear(), 1);
        t.setFilter(year);
        t.setFilter(month);
        QCOMPARE(data.connection()->rides().readsFromKept() > 0, caching);
    }

    // The sets kept for reuse follow our own writes instead of being read
    // again: after any mix of inserts, edits that move a ride to another
    // month or year, edits in place, deletes and rolled-back transactions,
    // every filter gives exactly what a fresh read of the store gives.
    void keptSetsMatchTheStoreAfterOwnWrites()
    {
        const StoreLocation file = store();
        TData data(file);
        data.open();
        ADOTable& t = *data.table();
        QList<RideFilter> filters;
        for (const QString& user : {QStringLiteral("Eva"), QStringLiteral("Jan")}) {
            filters << RideFilter::cyclist(user);
            for (int year : {2004, 2005}) {
                filters << RideFilter::year(user, year);
                for (int month : {2, 3})
                    filters << RideFilter::month(user, year, month);
            }
        }
        const auto randomDate = [](QRandomGenerator& r) {
            return QDate(r.bounded(2004, 2006), r.bounded(2, 4), r.bounded(1, 4));
        };
        TData fresh(file);
        fresh.open();
        QRandomGenerator random(20261209);
        for (int step = 0; step < 300; ++step) {
            t.setFilter(filters.at(random.bounded(int(filters.size()))));
            const int what = random.bounded(10);
            const bool rolledBack = random.bounded(8) == 0;
            if (rolledBack)
                data.connection()->begin();
            if (what < 3 || t.recordCount() == 0) {
                addRide(t, random.bounded(2) ? QStringLiteral("Eva") : QStringLiteral("Jan"),
                        randomDate(random), QString::number(random.bounded(1, 90)));
            } else {
                t.setCurrentIndex(random.bounded(t.recordCount()));
                if (what < 5) {
                    t.deleteRecord();
                } else {
                    t.edit();
                    if (what < 7) {
                        const QDate date = randomDate(random);
                        t.setValue(RideField::date, date.startOfDay());
                        t.setValue(RideField::day, date.day());
                        t.setValue(RideField::month, date.month());
                        t.setValue(RideField::year, date.year());
                    }
                    t.setValue(RideField::odo, QVariant::fromValue(Fixed4::fromUnits(step)));
                    t.post();
                }
            }
            if (rolledBack) {
                data.connection()->rollback();
                t.refresh();
            }
            for (const RideFilter& filter : std::as_const(filters)) {
                t.setFilter(filter);
                const QVector<RideRow> kept = t.rows();
                fresh.table()->setFilter(filter);
                fresh.table()->refresh();
                if (kept != fresh.table()->rows())
                    QFAIL(qPrintable(QStringLiteral("step %1, %2: %3 rows kept, %4 stored")
                                         .arg(step)
                                         .arg(filter.text())
                                         .arg(kept.size())
                                         .arg(fresh.table()->rows().size())));
            }
        }
    }

    void disabledControlsHearOnceAtTheEnd()
    {
        TData data(store());
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 1));
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 2));
        QSignalSpy setSpy(&t, &ADOTable::setChanged);
        QSignalSpy currentSpy(&t, &ADOTable::currentChanged);
        t.disableControls();
        t.disableControls();
        t.setFilter(RideFilter::year(QStringLiteral("Eva"), 2005));
        t.first();
        t.next();
        t.enableControls();
        QCOMPARE(setSpy.count(), 0);
        t.enableControls();
        QCOMPARE(setSpy.count(), 1);
        QCOMPARE(currentSpy.count(), 1);
    }

    void damagedFilesAreReportedAndUntouched_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        static const char garbage[] = "\x00\x13garbage\xff\xfe not a database";
        QTest::newRow("garbage") << QByteArray(garbage, sizeof garbage - 1);
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("text") << QByteArray("Rydex.dat was here\n");
        QTest::newRow("truncated header") << QByteArray("SQLite format 3");
    }
    void damagedFilesAreReportedAndUntouched()
    {
        skipOnServer("the server keeps its own pages: no file of the program to damage");
        QFETCH(QByteArray, bytes);
        const QString file = path(QStringLiteral("Rydex.dat"));
        writeFile(file, bytes);
        TData data(file);
        try {
            data.open();
            QFAIL("a damaged store opened");
        } catch (const RydexError& e) {
            QVERIFY(!e.text().isEmpty());
            QCOMPARE(e.kind(), RydexError::Kind::Store);
        }
        QVERIFY(!data.table()->isOpen());
        QCOMPARE(fileBytes(file), bytes);
        QVERIFY(!QFile::exists(file + QStringLiteral("-wal")));
    }

    void foreignDatabaseIsReportedAndUntouched()
    {
        if (onServer()) {
            // Another program's tables, and a store of a newer version.
            const StoreLocation other = TestServer::freshStore();
            onOwnConnection(other, {QStringLiteral("CREATE TABLE members (name text)"),
                                    QStringLiteral("INSERT INTO members VALUES ('Eva')")});
            TData data(other);
            data.connection()->setCreationConsent([](const QString&) { return true; });
            QCOMPARE(errorOf([&] { data.open(); }).text(),
                     Msg::format(Msg::ServerForeign,
                                 {other.connectionText(), QStringLiteral("members")}));
            QCOMPARE(onOwnConnection(other, {QStringLiteral("SELECT string_agg(tablename, ' ') "
                                                            "FROM pg_tables WHERE schemaname = "
                                                            "current_schema()")}),
                     QStringList{"members"});
            QCOMPARE(onOwnConnection(other, {QStringLiteral("SELECT name FROM members")}),
                     QStringList{"Eva"});
            onOwnConnection(store(), {QStringLiteral("UPDATE rydex_store SET schema_version = 3")});
            TData newer(store());
            QCOMPARE(errorOf([&] { newer.open(); }).text(),
                     Msg::format(Msg::StoreNewerVersion,
                                 {store().connectionText(), QStringLiteral("3"),
                                  QString::number(ADOConnection::schemaVersion)}));
            return;
        }
        const QString file = path(QStringLiteral("Rydex.dat"));
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE other (x INTEGER)")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        const QByteArray before = fileBytes(file);
        TData data(file);
        QVERIFY_THROWS_EXCEPTION(RydexError, data.open());
        QCOMPARE(fileBytes(file), before);
    }

    // Each reported once, naming the path and what is wrong with it.
    void unusablePlacesAreReported_data()
    {
        QTest::addColumn<QString>("place");
        QTest::newRow("read-only store") << QStringLiteral("read-only store");
        QTest::newRow("read-only folder") << QStringLiteral("read-only folder");
        QTest::newRow("dangling link") << QStringLiteral("dangling link");
        QTest::newRow("folder in the way") << QStringLiteral("folder in the way");
    }
    void unusablePlacesAreReported()
    {
        skipOnServer("a server store has no folder or file of its own here");
        QFETCH(QString, place);
        const QString folder = path(QStringLiteral("data"));
        const QString file = folder + QStringLiteral("/Rydex.dat");
        QString expected;
        if (place == QLatin1String("folder in the way")) {
            writeFile(folder, "a file where the folder should be");
            expected = Msg::format(Msg::StoreFolderNotCreated, {folder, strerror(ENOTDIR)});
        } else if (place == QLatin1String("dangling link")) {
            QDir().mkpath(folder);
            QVERIFY(QFile::link(path(QStringLiteral("gone.dat")), file));
            expected =
                Msg::format(Msg::StoreDanglingLink, {file, path(QStringLiteral("gone.dat"))});
        } else {
            TData(file).open();
            if (place == QLatin1String("read-only store")) {
                QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
                expected = Msg::format(Msg::StoreReadOnly, {file});
            } else {
                QVERIFY(
                    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
                expected = Msg::format(Msg::StoreFolderReadOnly, {folder});
            }
        }
        const QStringList before = QDir(path(QString())).entryList(QDir::AllEntries, QDir::Name);
        const QByteArray bytes = fileBytes(file);
        TData data(file);
        const RydexError error = errorOf([&] { data.open(); });
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(error.text(), expected);
        QCOMPARE(error.kind(), RydexError::Kind::Store);
        QVERIFY(!data.table()->isOpen());
        QCOMPARE(fileBytes(file), bytes);
        QCOMPARE(QDir(path(QString())).entryList(QDir::AllEntries, QDir::Name), before);
    }

    // A crash during the first start leaves no store or a whole one, and a
    // file left by an interrupted write is refused as it is.
    void interruptedFirstStart()
    {
        skipOnServer("the server makes the tables in one transaction of its own");
        // Killed the moment the store appears, or a little later while the
        // first start goes on with it: every later start takes the store.
        for (const int delayUs : {0, 200, 1000, 3000, 10000}) {
            const QString file = path(QStringLiteral("data%1/Rydex.dat").arg(delayUs));
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("RYDEX_STORE_CHILD"), file);
            env.insert(QStringLiteral("RYDEX_STORE_CHILD_DELAY_US"), QString::number(delayUs));
            env.insert(QStringLiteral("TMPDIR"), m_dir);
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            QVERIFY(QFile::exists(file));
            TData data(file);
            QCOMPARE(errorOf([&] { data.open(); }).text(), QStringLiteral("(no error)"));
            QVERIFY(data.connection()->database().tables().contains(QStringLiteral("rydex")));
        }

        // The files of a start killed while it built the store go at the next
        // start; the one another copy is building at this moment stays.
        const QString built = path(QStringLiteral("data0/Rydex.dat.new-"));
        for (const char* left : {"Ab1xyz", "Ab1xyz-journal", "Cd2xyz-wal", "Ef3xyz"})
            writeFile(built + QLatin1String(left), "half a store");
        QFile building(built + QStringLiteral("Ef3xyz"));
        QVERIFY(building.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(building.handle(), LOCK_EX), 0);
        {
            TData data(path(QStringLiteral("data0/Rydex.dat")));
            data.open();
        }
        QCOMPARE(QDir(path(QStringLiteral("data0")))
                     .entryList({QStringLiteral("Rydex.dat.new-*")}, QDir::Files),
                 QStringList{QStringLiteral("Rydex.dat.new-Ef3xyz")});

        // The store of a start killed half-way by an earlier version: the
        // table is written, the journal that would undo it is still there.
        const QString other = path(QStringLiteral("copy/Rydex.dat"));
        QDir().mkpath(path(QStringLiteral("copy")));
        const QString half = path(QStringLiteral("half.dat"));
        writeFile(half, QByteArray());
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("half"));
            db.setDatabaseName(half);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA cache_size=2")));
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE first (x)")));
            QVERIFY(q.exec(QStringLiteral("BEGIN")));
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE rydex (id INTEGER PRIMARY KEY, note)")));
            // Enough to spill the cache into the file before the commit.
            for (int i = 0; i < 100; ++i)
                QVERIFY(
                    q.exec(QStringLiteral("INSERT INTO rydex (note) VALUES (hex(zeroblob(500)))")));
            QVERIFY(QFile::copy(half, other));
            QVERIFY(
                QFile::copy(half + QStringLiteral("-journal"), other + QStringLiteral("-journal")));
            q.exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("half"));
        const QByteArray bytes = fileBytes(other);
        const QByteArray journal = fileBytes(other + QStringLiteral("-journal"));
        QVERIFY(bytes.size() > 4096 && !journal.isEmpty());
        TData data(other);
        QCOMPARE(
            errorOf([&] { data.open(); }).text(),
            Msg::format(Msg::StoreUnfinishedWrite, {other, other + QStringLiteral("-journal")}));
        QCOMPARE(fileBytes(other), bytes);
        QCOMPARE(fileBytes(other + QStringLiteral("-journal")), journal);
    }

    // A log another copy left behind, with forty committed changes: replayed
    // whole, nothing is kept aside; damaged half-way, the store and the log
    // are kept as they were, privately, and the user is told where.
    void leftoverLogKeptUnlessReplayedWhole_data()
    {
        QTest::addColumn<int>("damagedFrame");
        QTest::newRow("intact") << -1;
        QTest::newRow("frame damaged half-way") << 20;
        QTest::newRow("last frame damaged") << 39;
    }
    void leftoverLogKeptUnlessReplayedWhole()
    {
        skipOnServer("the server replays its own log");
        QFETCH(int, damagedFrame);
        const QString file = path(QStringLiteral("Rydex.dat"));
        const QString left = path(QStringLiteral("left/Rydex.dat"));
        QDir().mkpath(path(QStringLiteral("left")));
        {
            TData data(file);
            data.open();
            addRide(*data.table(), QStringLiteral("Eva"), QDate(2005, 3, 1));
        }
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
            for (int i = 0; i < 40; ++i)
                QVERIFY(q.exec(QStringLiteral("UPDATE rydex SET pulse = %1").arg(100 + i)));
            // As a crash leaves them: the log not yet written into the store.
            QVERIFY(QFile::copy(file, left));
            QVERIFY(QFile::copy(file + QStringLiteral("-wal"), left + QStringLiteral("-wal")));
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        QByteArray log = fileBytes(left + QStringLiteral("-wal"));
        if (damagedFrame >= 0) {
            const auto* h = reinterpret_cast<const uchar*>(log.constData());
            const int pageSize = h[8] << 24 | h[9] << 16 | h[10] << 8 | h[11];
            QCOMPARE((log.size() - 32) / (24 + pageSize), 40);
            log[32 + damagedFrame * (24 + pageSize) + 24 + 200] ^= 0x5a;
            writeFile(left + QStringLiteral("-wal"), log);
        }
        const QByteArray storeBytes = fileBytes(left);
        TData data(left);
        data.open();
        const QStringList notices = data.connection()->takeNotices();
        data.table()->setFilter(RideFilter::cyclist(QStringLiteral("Eva")));
        const QStringList kept =
            QDir(path(QStringLiteral("left")))
                .entryList({QStringLiteral("Rydex.dat.before-open-*")}, QDir::Files, QDir::Name);
        if (damagedFrame < 0) {
            QCOMPARE(notices, QStringList());
            QCOMPARE(kept, QStringList());
            QCOMPARE(data.table()->asInteger(RideField::pulse), 139);
            return;
        }
        QCOMPARE(kept.size(), 2);
        const QString copy = path(QStringLiteral("left/")) + kept.first();
        QCOMPARE(notices, QStringList{Msg::format(Msg::StoreLogNotApplied,
                                                  {left, copy, copy + QStringLiteral("-wal")})});
        QCOMPARE(fileBytes(copy), storeBytes);
        QCOMPARE(fileBytes(copy + QStringLiteral("-wal")), log);
        for (const QString& name : kept)
            QCOMPARE(modeOf(path(QStringLiteral("left/")) + name),
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(data.table()->asInteger(RideField::pulse), 100 + damagedFrame - 1);
    }

    // A store of the first version, as earlier versions of the program left
    // it, keeps working once the rows carry versions.
    void firstVersionStoreIsUpgraded()
    {
        skipOnServer("no first-version store was ever kept on a server");
        const QString file = path(QStringLiteral("Rydex.dat"));
        onOwnConnection(
            file,
            {QStringLiteral("PRAGMA journal_mode=WAL"),
             QStringLiteral("CREATE TABLE rydex (id INTEGER PRIMARY KEY AUTOINCREMENT, date TEXT, "
                            "user TEXT, day INTEGER, month INTEGER, year INTEGER, time TEXT, "
                            "dst INTEGER, avs INTEGER, pulse INTEGER, alt INTEGER, odo INTEGER, "
                            "temperature TEXT, druh TEXT, vlivy TEXT, obtiznost TEXT, pocit TEXT, "
                            "typ TEXT, note TEXT, altmax INTEGER, pulsemax INTEGER)"),
             QStringLiteral("INSERT INTO rydex (date, user, day, month, year, note) "
                            "VALUES ('2005-03-02 00:00:00', 'Eva', 2, 3, 2005, 'old')"),
             QStringLiteral("PRAGMA user_version=1")});
        TData data(file);
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        QCOMPARE(t.asString(RideField::note), QStringLiteral("old"));
        t.edit();
        t.setValue(RideField::pulse, 140);
        t.post();
        QCOMPARE(onOwnConnection(file, {QStringLiteral("PRAGMA user_version")}), QStringList{"2"});
        QCOMPARE(
            onOwnConnection(file, {QStringLiteral("SELECT note || pulse || version FROM rydex")}),
            QStringList{"old1401"});
    }

    // Another computer's commit is heard; a server that went away is
    // reported, leaves nothing half-written, and the next command connects
    // again; "Test connection" says what it found.
    void serverChangesAndFaults()
    {
        if (!onServer())
            QSKIP("a file tells nobody of a commit; the version check guards its rides");
        QCOMPARE(checkServer(store(), {}).outcome, ServerCheck::Outcome::Ready);
        QCOMPARE(checkServer(TestServer::freshStore(), {}).outcome, ServerCheck::Outcome::Empty);
        QCOMPARE(checkServer(StoreLocation::server(QStringLiteral("host=/nowhere dbname=x")), {})
                     .outcome,
                 ServerCheck::Outcome::Failed);
        QCOMPARE(checkServer(StoreLocation::server(QStringLiteral("host=a password=b")), {}).text,
                 Msg::text(Msg::ServerTextPassword));
        // A server that asks for a password: none, a wrong one, the right one;
        // the password shows in no text.
        const StoreLocation admin = StoreLocation::server(TestServer::adminText());
        onOwnConnection(admin, {QStringLiteral("DO $$ BEGIN CREATE ROLE rydex_locked LOGIN "
                                               "PASSWORD 'club-secret'; EXCEPTION WHEN "
                                               "duplicate_object OR unique_violation THEN NULL; "
                                               "END $$")});
        const StoreLocation locked =
            StoreLocation::server(QString(admin.connectionText())
                                      .replace(QRegularExpression(QStringLiteral("user=\\S+")),
                                               QStringLiteral("user=rydex_locked")));
        const ServerCheck none = checkServer(locked, {});
        const ServerCheck wrong = checkServer(locked, QStringLiteral("not-it"));
        QCOMPARE(none.outcome, ServerCheck::Outcome::PasswordNeeded);
        QCOMPARE(none.text, Msg::format(Msg::ServerPasswordNeeded,
                                        {locked.connectionText(), QStringLiteral("rydex_locked")}));
        QCOMPARE(wrong.outcome, ServerCheck::Outcome::PasswordNeeded);
        QCOMPARE(wrong.text,
                 Msg::format(Msg::ServerPasswordWrong,
                             {locked.connectionText(), QStringLiteral("rydex_locked")}));
        QVERIFY(!wrong.text.contains(QLatin1String("not-it")));
        QCOMPARE(checkServer(locked, QStringLiteral("club-secret")).outcome,
                 ServerCheck::Outcome::Empty);

        TData here(store());
        here.open();
        ADOTable& t = *here.table();
        ADOConnection& c = *here.connection();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        QSignalSpy heard(&c, &ADOConnection::ridesChangedElsewhere);
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 1));
        {
            TData there(store());
            there.open();
            there.table()->setFilter(RideFilter::month(QStringLiteral("Jan"), 2005, 3));
            addRide(*there.table(), QStringLiteral("Jan"), QDate(2005, 3, 2));
        }
        // Within a second, and our own commit is not among what is heard.
        QTRY_COMPARE_WITH_TIMEOUT(heard.size(), 1, 1000);
        QCOMPARE(heard.first().first().toString(), QStringLiteral("Jan"));

        const QString database = QRegularExpression(QStringLiteral("dbname=(\\S+)"))
                                     .match(store().connectionText())
                                     .captured(1);
        const auto cut = [&] {
            onOwnConnection(StoreLocation::server(TestServer::adminText()),
                            {QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM "
                                            "pg_stat_activity WHERE datname = '%1'")
                                 .arg(database)});
        };
        // Gone while the program stood idle: the next read connects again.
        cut();
        t.refresh();
        QCOMPARE(t.recordCount(), 1);
        // Gone in the middle of a write: reported, nothing of it stored,
        // and the next command works on a new connection.
        c.begin();
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 3));
        cut();
        const RydexError lost = errorOf([&] { c.commit(); });
        QVERIFY2(lost.text().startsWith(Msg::text(Msg::ServerConnectionLost)
                                            .section(QLatin1String("%s"), 0, 0)
                                            .replace(QLatin1String("\"\""), QString())
                                            .left(10)),
                 qPrintable(lost.text()));
        QVERIFY(!c.isOpen());
        QCOMPARE(onOwnConnection(store(), {QStringLiteral("SELECT count(*) FROM rydex")}),
                 QStringList{"2"});
        t.refresh();
        QCOMPARE(t.recordCount(), 1);
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 4));
        QCOMPARE(onOwnConnection(store(), {QStringLiteral("SELECT count(*) FROM rydex")}),
                 QStringList{"3"});
        // Still listening on the new connection.
        heard.clear();
        {
            TData there(store());
            there.open();
            there.table()->setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
            there.table()->findFirst();
            there.table()->deleteRecord();
        }
        QTRY_COMPARE_WITH_TIMEOUT(heard.size(), 1, 1000);
        QCOMPARE(heard.first().first().toString(), QStringLiteral("Eva"));
    }

    // Two copies of the program on one store: neither overwrites what the
    // other stored since it read the ride.
    void twoCopiesNeverOverwriteEachOther()
    {
        const StoreLocation file = store();
        const RideFilter month = RideFilter::month(QStringLiteral("Eva"), 2005, 3);
        TData a(file);
        a.open();
        a.table()->setFilter(month);
        addRide(*a.table(), QStringLiteral("Eva"), QDate(2005, 3, 1));
        addRide(*a.table(), QStringLiteral("Eva"), QDate(2005, 3, 2));
        TData b(file);
        b.open();
        b.table()->setFilter(month);
        ADOTable& ta = *a.table();
        ADOTable& tb = *b.table();
        const QString told = Msg::text(Msg::RideChangedElsewhere);

        const auto save = [](ADOTable& t, RideField field, const QVariant& value) {
            t.edit();
            t.setValue(field, value);
            t.post();
        };
        // B changes the note; A, which read the ride before, its pulse: both
        // are kept, and A shows B's note.
        ta.first();
        tb.first();
        save(tb, RideField::note, QStringLiteral("from B"));
        save(ta, RideField::pulse, 150);
        QCOMPARE(ta.asString(RideField::note), QStringLiteral("from B"));
        tb.refresh();
        QCOMPARE(tb.asString(RideField::note), QStringLiteral("from B"));
        QCOMPARE(tb.asInteger(RideField::pulse), 150);

        // Both change the pulse: the later save is refused.
        save(tb, RideField::pulse, 160);
        ta.edit();
        ta.setValue(RideField::pulse, 170);
        ta.setValue(RideField::note, QStringLiteral("from A"));
        RydexError e = errorOf([&] { ta.post(); });
        QCOMPARE(e.kind(), RydexError::Kind::Conflict);
        QCOMPARE(e.text(), told);
        // A shows the ride as stored, and a change made from there keeps B's.
        QCOMPARE(ta.state(), ADOTable::State::Browse);
        QCOMPARE(ta.asString(RideField::note), QStringLiteral("from B"));
        QCOMPARE(ta.asInteger(RideField::pulse), 160);
        save(ta, RideField::alt, 300);
        tb.refresh();
        QCOMPARE(tb.asInteger(RideField::pulse), 160);
        QCOMPARE(tb.asInteger(RideField::alt), 300);

        // B deletes the second ride while A edits it.
        ta.setCurrentIndex(1);
        tb.setCurrentIndex(1);
        ta.edit();
        ta.setValue(RideField::alt, 400);
        tb.deleteRecord();
        QCOMPARE(errorOf([&] { ta.post(); }).text(), told);
        QCOMPARE(ta.recordCount(), 1);
        QCOMPARE(ta.currentIndex(), 0);

        // A deletes a ride B changed meanwhile.
        tb.first();
        save(tb, RideField::note, QStringLiteral("kept"));
        QCOMPARE(errorOf([&] { ta.deleteRecord(); }).text(), told);
        QCOMPARE(ta.recordCount(), 1);
        QCOMPARE(ta.asString(RideField::note), QStringLiteral("kept"));
        ta.deleteRecord();
        tb.refresh();
        QCOMPARE(tb.recordCount(), 0);
    }

    // Values another tool wrote that a field cannot hold: the ride is read
    // with the field empty and reported by ride, field, value and file; a
    // save of another field leaves the stored value as it was.
    void damagedRowsAreReported_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("date of ten digits") << "date"
                                            << "'2005000000-01-01 00:00:00'";
        QTest::newRow("date part of twenty digits") << "date"
                                                    << "'2005-01-99999999999999999999'";
        QTest::newRow("year beyond the date scale") << "date"
                                                    << "'99999-01-01 00:00:00'";
        QTest::newRow("letters for a distance") << "dst"
                                                << "'abc'";
        QTest::newRow("huge real for a reading") << "odo"
                                                 << "1e300";
        QTest::newRow("fraction of a unit") << "avs"
                                            << "0.5";
        QTest::newRow("pulse beyond its range") << "pulse"
                                                << "70000";
        QTest::newRow("negative pulse") << "pulse"
                                        << "-1";
        QTest::newRow("negative day") << "day"
                                      << "-5";
        QTest::newRow("year beyond int") << "year"
                                         << "99999999999";
    }
    void damagedRowsAreReported()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        const StoreLocation file = store();
        // A server's whole-number column takes no letters or fractions; the
        // values it does take are checked as a file's are.
        if (onServer() && !value.startsWith(QLatin1Char('\'')) &&
            (value.contains(QLatin1Char('.')) || value.contains(QLatin1Char('e'))))
            QSKIP("the server's column refuses the value itself");
        if (onServer() && field == QLatin1String("dst"))
            QSKIP("the server's column refuses the value itself");
        {
            TData data(file);
            data.open();
            addRide(*data.table(), QStringLiteral("Eva"), QDate(2005, 3, 1));
        }
        onOwnConnection(file, {QStringLiteral("UPDATE rydex SET \"%1\" = %2").arg(field, value)});
        const auto stored = [&] {
            return onOwnConnection(
                file, {QString::fromLatin1(onServer() ? "SELECT \"%1\"::text FROM rydex"
                                                      : "SELECT quote(\"%1\") FROM rydex")
                           .arg(field)});
        };
        const QStringList before = stored();
        const RideField damaged = *fieldByName(field);
        TData data(file);
        data.open();
        ADOTable& t = *data.table();
        QVERIFY(t.damageReport().isEmpty());
        t.setFilter(RideFilter::cyclist(QStringLiteral("Eva")));
        QCOMPARE(t.recordCount(), 1);
        QVERIFY(t.isNull(damaged));
        QVERIFY(t.isDamaged(1));
        QCOMPARE(t.damagedValue(1, damaged).toString(),
                 onOwnConnection(file, {QStringLiteral("SELECT \"%1\" FROM rydex").arg(field)})
                     .value(0));
        const QString report = t.damageReport();
        const QString expectedStart =
            Msg::format(Msg::DamagedRow, {QStringLiteral("1"), file.shown(), field, QString()});
        QVERIFY2(report.startsWith(expectedStart.section(QLatin1Char('\''), 0, 2)),
                 qPrintable(report));
        QVERIFY2(report.endsWith(Msg::format(Msg::DamagedRidesShown, {QStringLiteral("1")})),
                 qPrintable(report));
        // A look at the year that reads only that column finds it empty too
        // (a year out of range selects no ride).
        const QVector<RideRow> peeked =
            t.peekRows(RideFilter::year(QStringLiteral("Eva"), 2005), {damaged});
        QCOMPARE(peeked.size(), field == QLatin1String("year") ? 0 : 1);
        if (!peeked.isEmpty())
            QVERIFY(peeked.first()[fieldIndex(damaged)].isNull());
        // Another field saved: the damaged value stays as another tool left it.
        t.edit();
        t.setValue(RideField::note, QStringLiteral("checked"));
        t.post();
        QCOMPARE(stored(), before);
        QVERIFY(t.isDamaged(1));
        // The field saved: the damage is gone.
        t.edit();
        t.setValue(damaged, damaged == RideField::date ? QVariant(QDate(2005, 3, 2)) : QVariant(7));
        t.post();
        QVERIFY(!t.isDamaged(1));
        QVERIFY(t.damageReport().isEmpty());
        t.deleteRecord();
        QCOMPARE(onOwnConnection(file, {QStringLiteral("SELECT count(*) FROM rydex")}),
                 QStringList{"0"});
    }

    // Durations are read without Qt's format parser where the text is the
    // store's own form; every text must still come back as Qt reads it.
    void storedDurationsReadAsQtReadsThem_data()
    {
        QTest::addColumn<QString>("stored");
        for (const char* text : {"00:00:00", "23:59:59", "07:05:09", "24:00:00", "12:60:00",
                                 "7:05:09", "07:5:09", "ab:cd:ef", "07-05-09", "07:05:09 "})
            QTest::newRow(text) << QString::fromLatin1(text);
    }
    void storedDurationsReadAsQtReadsThem()
    {
        QFETCH(QString, stored);
        const StoreLocation file = store();
        {
            TData data(file);
            data.open();
            addRide(*data.table(), QStringLiteral("Eva"), QDate(2005, 3, 1));
        }
        onOwnConnection(file, {QStringLiteral("UPDATE rydex SET \"time\" = '%1'").arg(stored)});
        TData data(file);
        data.open();
        data.table()->setFilter(RideFilter::cyclist(QStringLiteral("Eva")));
        QCOMPARE(data.table()->value(RideField::time).toTime(),
                 QTime::fromString(stored, QStringLiteral("HH:mm:ss")));
    }

    // Each filter's rides come from an index in the cursor's order, neither
    // sorted afresh nor picked out of all of a cyclist's rides, in a new
    // store as in one made before the year had an index of its own.
    void everyFilterReadsFromItsIndex()
    {
        skipOnServer("the server plans its own reads (its indexes are made with its tables)");
        const QString file = path(QStringLiteral("Rydex.dat"));
        {
            TData data(file);
            data.open();
        }
        onOwnConnection(file, {QStringLiteral("DROP INDEX rydex_by_year")});
        TData data(file);
        data.open();
        const QList<std::pair<QString, QString>> filters = {
            {QStringLiteral("\"user\" = 'Eva'"), QStringLiteral("(user=?)")},
            {QStringLiteral("\"user\" = 'Eva' AND \"year\" = 2005"),
             QStringLiteral("(user=? AND year=?)")},
            {QStringLiteral("\"user\" = 'Eva' AND \"year\" = 2005 AND \"month\" = 3"),
             QStringLiteral("(user=? AND year=? AND month=?)")},
        };
        for (const auto& [where, searched] : filters) {
            QSqlQuery q(data.connection()->database());
            QVERIFY(q.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM rydex WHERE ") + where +
                           QStringLiteral(" ORDER BY \"date\", \"id\"")));
            QStringList plan;
            while (q.next())
                plan << q.value(3).toString();
            const QString shown = plan.join(QStringLiteral("; "));
            QVERIFY2(shown.contains(searched) && !shown.contains(QLatin1String("TEMP B-TREE")),
                     qPrintable(shown));
        }
    }

    void closedTableKeepsFilterForOpen()
    {
        const StoreLocation file = store();
        TData data(file);
        data.open();
        data.table()->setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        addRide(*data.table(), QStringLiteral("Eva"), QDate(2005, 3, 1));
        addRide(*data.table(), QStringLiteral("Eva"), QDate(2005, 4, 1));
        data.close(true);
        QVERIFY(!data.connection()->isOpen());
        data.table()->setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 4));
        data.open();
        QCOMPARE(data.table()->recordCount(), 1);
        QCOMPARE(data.table()->asInteger(RideField::month), 4);
    }
};

RYDEX_TEST_MAIN(TestStore, QCoreApplication)
#include "tst_store.moc"
