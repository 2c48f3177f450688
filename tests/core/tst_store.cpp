#include "TestMain.h"
#include "TestRides.h"

#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/FilterGuard.h"
#include "store/RideFilter.h"
#include "store/RydexError.h"
#include "store/TData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Adds one ride through the cursor, as the record dialog does.
void addRide(ADOTable& t, const QString& user, QDate date, const QString& km = QString(),
             QTime time = QTime(1, 0, 0), int pulse = 0)
{
    addTestRide(t, {.user = user, .date = date, .km = km, .time = time, .pulse = pulse});
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
    QString path(const QString& name) const { return QDir(m_dir).filePath(name); }

private slots:
    void init()
    {
        static int n = 0;
        m_dir = TestEnv::root() + QStringLiteral("/store%1").arg(++n);
        QDir().mkpath(m_dir);
    }

    void filterTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cyclist") << RideFilter::cyclistText(QStringLiteral("Jan"))
                                 << QStringLiteral("(user = 'Jan')");
        QTest::newRow("year") << RideFilter::yearText(QStringLiteral("Jan"), 2005)
                              << QStringLiteral("(user = 'Jan') and (year = 2005)");
        QTest::newRow("short year") << RideFilter::yearText(QStringLiteral("Jan"), 987)
                                    << QStringLiteral("(user = 'Jan') and (year = 987)");
        QTest::newRow("month") << RideFilter::monthText(QStringLiteral("Jan"), 2005, 3)
                               << QStringLiteral(
                                      "(user = 'Jan') and (year = 2005) and (month = 3)");
        QTest::newRow("apostrophe")
            << RideFilter::monthText(QStringLiteral("O'Neil"), 0, 12)
            << QStringLiteral("(user = 'O'Neil') and (year = 0) and (month = 12)");
    }
    void filterTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
        // The text reads back into the parts it was built from.
        const auto parsed = RideFilter::parse(text);
        QVERIFY(parsed);
        QCOMPARE(parsed->text(), expected);
    }

    void filterParseRejectsOtherTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("sql") << QStringLiteral("1=1");
        QTest::newRow("no close") << QStringLiteral("(user = 'Jan'");
        QTest::newRow("letters in year") << QStringLiteral("(user = 'Jan') and (year = 20x5)");
    }
    void filterParseRejectsOtherTexts()
    {
        QFETCH(QString, text);
        QVERIFY(!RideFilter::parse(text));
        TData data(path(QStringLiteral("Rydex.dat")));
        data.open();
        QVERIFY_THROWS_EXCEPTION(RydexError, data.table()->setFilter(text));
    }

    void createsStoreWhenMissing()
    {
        const QString file = path(QStringLiteral("sub/Rydex.dat"));
        {
            TData data(file);
            data.open();
            QVERIFY(data.table()->isOpen());
            QCOMPARE(data.table()->recordCount(), 0);
            QVERIFY(!data.table()->findFirst());
        }
        QVERIFY(QFile::exists(file));
        QCOMPARE(QFile::permissions(file) & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                             QFileDevice::WriteGroup | QFileDevice::WriteOther),
                 QFileDevice::Permissions());
        // A second open finds the store it made.
        TData again(file);
        again.open();
        QVERIFY(again.table()->isOpen());
    }

    void filtersSelectOnlyTheirRows()
    {
        TData data(path(QStringLiteral("Rydex.dat")));
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::cyclistText(QStringLiteral("Jan")));
        addRide(t, QStringLiteral("Jan"), QDate(2005, 3, 20));
        addRide(t, QStringLiteral("Jan"), QDate(2005, 3, 2));
        addRide(t, QStringLiteral("Jan"), QDate(2005, 4, 1));
        addRide(t, QStringLiteral("Jan"), QDate(2004, 3, 5));
        addRide(t, QStringLiteral("O'Neil"), QDate(2005, 3, 3));
        addRide(t, QStringLiteral("jan"), QDate(2005, 3, 4));
        addRide(t, QStringLiteral("Jan') or ('1'='1"), QDate(2005, 3, 6));

        t.setFilter(RideFilter::monthText(QStringLiteral("Jan"), 2005, 3));
        QCOMPARE(daysOf(t),
                 QStringList({QStringLiteral("Jan@2005-03-02"), QStringLiteral("Jan@2005-03-20")}));
        t.setFilter(RideFilter::yearText(QStringLiteral("Jan"), 2005));
        QCOMPARE(t.recordCount(), 3);
        t.setFilter(RideFilter::cyclistText(QStringLiteral("Jan")));
        QCOMPARE(daysOf(t).first(), QStringLiteral("Jan@2004-03-05"));
        QCOMPARE(t.recordCount(), 4);

        // A name with an apostrophe is that cyclist's rides, nobody else's.
        t.setFilter(RideFilter::monthText(QStringLiteral("O'Neil"), 2005, 3));
        QCOMPARE(daysOf(t), QStringList({QStringLiteral("O'Neil@2005-03-03")}));
        // Pasting SQL into a name selects nothing but that name.
        t.setFilter(RideFilter::monthText(QStringLiteral("Jan') or ('1'='1"), 2005, 3));
        QCOMPARE(t.recordCount(), 1);

        // Before any cyclist is named nothing is selected (start-up reads nothing).
        t.setFilter(QString());
        QCOMPARE(t.recordCount(), 0);

        // An empty month.
        t.setFilter(RideFilter::monthText(QStringLiteral("Jan"), 2005, 5));
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(!t.findFirst());
        QVERIFY(t.isNull(RideField::dst));
        QCOMPARE(t.asFixed(RideField::dst), Fixed4());
    }

    void sameFilterChangesNothingOtherResetsCurrent()
    {
        TData data(path(QStringLiteral("Rydex.dat")));
        data.open();
        ADOTable& t = *data.table();
        const QString month = RideFilter::monthText(QStringLiteral("Eva"), 2005, 3);
        t.setFilter(month);
        for (int d = 1; d <= 3; ++d)
            addRide(t, QStringLiteral("Eva"), QDate(2005, 3, d));
        t.first();
        t.next();
        t.next();
        QCOMPARE(t.currentIndex(), 2);
        t.setFilter(month);
        QCOMPARE(t.currentIndex(), 2);
        t.setFilter(RideFilter::yearText(QStringLiteral("Eva"), 2005));
        t.setFilter(month);
        QCOMPARE(t.currentIndex(), 0);

        // A walk under another filter puts the month back however it ends.
        t.next();
        try {
            FilterGuard year(t, RideFilter::cyclistText(QStringLiteral("Eva")));
            QCOMPARE(t.filter(), RideFilter::cyclistText(QStringLiteral("Eva")));
            throw RydexError(QStringLiteral("walk failed"), RydexError::Kind::Store);
        } catch (const RydexError&) {
        }
        QCOMPARE(t.filter(), month);
        QCOMPARE(t.currentIndex(), 0);
    }

    void orderByDateThenId()
    {
        TData data(path(QStringLiteral("Rydex.dat")));
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::monthText(QStringLiteral("Eva"), 2005, 3));
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
        const QString file = path(QStringLiteral("Rydex.dat"));
        TData data(file);
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::monthText(QStringLiteral("Eva"), 2005, 3));
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
            other.table()->setFilter(RideFilter::monthText(QStringLiteral("Eva"), 2005, 3));
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
        t.setFilter(RideFilter::yearText(QStringLiteral("Eva"), 2005));
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
        TData data(path(QStringLiteral("Rydex.dat")));
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::cyclistText(QStringLiteral("Eva")));
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

    void setsReadAgainAfterAnyWrite()
    {
        const QString file = path(QStringLiteral("Rydex.dat"));
        TData data(file);
        data.open();
        ADOTable& t = *data.table();
        const QString month = RideFilter::monthText(QStringLiteral("Eva"), 2005, 3);
        const QString year = RideFilter::yearText(QStringLiteral("Eva"), 2005);
        t.setFilter(month);
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 1));
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
        t.setFilter(year);
        QCOMPARE(t.recordCount(), 2);
        data.connection()->rollback();
        t.setFilter(month);
        t.setFilter(year);
        QCOMPARE(t.recordCount(), 1);
    }

    void disabledControlsHearOnceAtTheEnd()
    {
        TData data(path(QStringLiteral("Rydex.dat")));
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::monthText(QStringLiteral("Eva"), 2005, 3));
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 1));
        addRide(t, QStringLiteral("Eva"), QDate(2005, 3, 2));
        QSignalSpy setSpy(&t, &ADOTable::setChanged);
        QSignalSpy currentSpy(&t, &ADOTable::currentChanged);
        t.disableControls();
        t.disableControls();
        t.setFilter(RideFilter::yearText(QStringLiteral("Eva"), 2005));
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

    void readOnlyFileIsReported()
    {
        const QString file = path(QStringLiteral("Rydex.dat"));
        {
            TData data(file);
            data.open();
        }
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        const QByteArray before = fileBytes(file);
        TData data(file);
        try {
            data.open();
            QFAIL("a read-only store opened for writing");
        } catch (const RydexError& e) {
            QVERIFY(e.text().contains(QStringLiteral("readonly")));
        }
        QCOMPARE(fileBytes(file), before);
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void closedTableKeepsFilterForOpen()
    {
        const QString file = path(QStringLiteral("Rydex.dat"));
        TData data(file);
        data.open();
        data.table()->setFilter(RideFilter::monthText(QStringLiteral("Eva"), 2005, 3));
        addRide(*data.table(), QStringLiteral("Eva"), QDate(2005, 3, 1));
        addRide(*data.table(), QStringLiteral("Eva"), QDate(2005, 4, 1));
        data.close(true);
        QVERIFY(!data.connection()->isOpen());
        data.table()->setFilter(RideFilter::monthText(QStringLiteral("Eva"), 2005, 4));
        data.open();
        QCOMPARE(data.table()->recordCount(), 1);
        QCOMPARE(data.table()->asInteger(RideField::month), 4);
    }
};

RYDEX_TEST_MAIN(TestStore, QCoreApplication)
#include "tst_store.moc"
