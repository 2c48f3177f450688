#include "TestMain.h"
#include "TestServer.h"

#include "SampleData.h"

#include "prefs/PreferenceStore.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "store/TData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>

namespace {
// The texts the record dialog offers, typed afresh from its lists.
const QStringList druhItems = {QStringLiteral("Cyklistika"), QStringLiteral("Plavání"),
                               QStringLiteral("Beh"), QStringLiteral("Fitness"),
                               QStringLiteral("Bežky")};
const QStringList obtiznostItems = {QStringLiteral("vysoká"), QStringLiteral("strední"),
                                    QStringLiteral("nízká")};
const QStringList pocitItems = {QStringLiteral("100%"), QStringLiteral("90%"),
                                QStringLiteral("80%"),  QStringLiteral("70%"),
                                QStringLiteral("60%"),  QStringLiteral("50%")};
const QStringList vlivyItems = {QStringLiteral(":o("), QStringLiteral(":o|"),
                                QStringLiteral(";o)")};
const QStringList temperatureItems = {
    QStringLiteral("35 - 40 C'"), QStringLiteral("25 - 30 C'"), QStringLiteral("20 - 25 C'"),
    QStringLiteral("15 - 20 C'"), QStringLiteral("10 - 15 C'"), QStringLiteral("5 - 10 C'"),
    QStringLiteral("0 -  5 C'"),  QStringLiteral("-5 -  0 C'"), QStringLiteral("-10 -  5 C'"),
    QStringLiteral("-15 -10 C'"), QStringLiteral("-20 -15 C'"), QStringLiteral("-25 -20 C'")};
const QStringList typItems = {QStringLiteral("Závod"), QStringLiteral("Trénink"),
                              QStringLiteral("Trenažer"), QStringLiteral("Turistika")};

// Every row of the store as text, in the cursor's order: the file's, or
// the server's database given.
QStringList allRows(const QString& storePath, const QString& server = {})
{
    TData data(server.isEmpty() ? StoreLocation::file(storePath) : StoreLocation::server(server));
    data.open();
    data.table()->setFiltered(false);
    QStringList out;
    for (const RideRow& row : data.table()->rows()) {
        QStringList cells;
        for (int i = 0; i < rideFieldCount; ++i)
            cells << ADOTable::displayText(static_cast<RideField>(i), row[i], QLocale::c());
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

int rowCount(const QString& storePath)
{
    TData data(storePath);
    data.open();
    data.table()->setFiltered(false);
    return data.table()->recordCount();
}

// Walks one cyclist's year as the odometer recomputation does and reports the
// first ride whose reading does not follow from the one before.
QString chainFault(ADOTable* table, const QString& name, int year)
{
    table->setFilter(RideFilter::year(name, year));
    if (!table->findFirst())
        return QString();
    Fixed4 expected = table->asFixed(RideField::odo);
    for (int k = 1; k < table->recordCount(); ++k) {
        table->next();
        expected += table->asFixed(RideField::dst).roundedTo2();
        if (table->asFixed(RideField::odo) != expected)
            return QStringLiteral("%1 %2 ride %3: odo %4, expected %5")
                .arg(name)
                .arg(year)
                .arg(k + 1)
                .arg(table->asFixed(RideField::odo).toPlainString(), expected.toPlainString());
    }
    return QString();
}
} // namespace

class TestSampleData : public QObject
{
    Q_OBJECT

private:
    QString m_dir;

    SampleOptions options(const QString& tag) const
    {
        SampleOptions o;
        o.storePath = QDir(m_dir).filePath(tag + QStringLiteral(".dat"));
        o.preferencePath = QDir(m_dir).filePath(tag + QStringLiteral(".conf"));
        o.cyclists = 2;
        o.years = 2;
        o.ridesPerYear = 40;
        o.firstYear = 2004;
        return o;
    }

private slots:
    void init()
    {
        static int n = 0;
        m_dir = TestEnv::root() + QStringLiteral("/sample%1").arg(++n);
        QDir().mkpath(m_dir);
    }

    void names()
    {
        const QStringList first = sampleCyclistNames(3);
        QCOMPARE(first.size(), 3);
        QVERIFY(first.join(QString()).contains(QLatin1Char('\'')));
        bool nonAscii = false;
        for (const QChar c : first.join(QString()))
            nonAscii = nonAscii || c.unicode() > 127;
        QVERIFY(nonAscii);

        // Many cyclists: every name fits `user` and names its own preference
        // key, which compares without regard to case.
        const QStringList many = sampleCyclistNames(1000);
        QSet<QString> seen;
        for (const QString& name : many) {
            QVERIFY2(name.size() <= 20, qPrintable(name));
            QVERIFY2(!name.contains(QLatin1Char('\\')), qPrintable(name));
            seen.insert(name.toCaseFolded());
        }
        QCOMPARE(seen.size(), 1000);
    }

    void sameSeedSameRows()
    {
        SampleOptions a = options(QStringLiteral("a"));
        SampleOptions b = options(QStringLiteral("b"));
        a.seed = b.seed = 7;
        generateSample(a);
        generateSample(b);
        const QStringList rowsA = allRows(a.storePath);
        QCOMPARE(rowsA.size(), 2 * 2 * 40);
        QCOMPARE(allRows(b.storePath), rowsA);

        // Written many rides to a statement on a server: the same rows, and
        // a database that holds rides is not added to unless asked.
        SampleOptions onServer = options(QStringLiteral("s"));
        onServer.seed = 7;
        onServer.server = TestServer::freshStore().connectionText();
        generateSample(onServer);
        QCOMPARE(allRows(QString(), onServer.server), rowsA);
        onServer.preferencePath = QDir(m_dir).filePath(QStringLiteral("again.conf"));
        QVERIFY_THROWS_EXCEPTION(SampleRefusal, generateSample(onServer));
        QCOMPARE(allRows(QString(), onServer.server).size(), rowsA.size());

        SampleOptions c = options(QStringLiteral("c"));
        c.seed = 8;
        generateSample(c);
        QVERIFY(allRows(c.storePath) != rowsA);
    }

    void ridesArePlausibleAndConsistent()
    {
        SampleOptions o = options(QStringLiteral("r"));
        o.cyclists = 3;
        o.ridesPerYear = 60;
        const SampleSummary summary = generateSample(o);
        QCOMPARE(summary.rides, 3 * 2 * 60);
        QCOMPARE(summary.firstYear, 2004);
        QCOMPARE(summary.lastYear, 2005);

        // The cyclists exist and hold nothing: every preference takes its default.
        PreferenceStore prefs(o.preferencePath);
        const PreferenceKey users = prefs.openKey(PreferenceStore::cyclistsKeyPath(), false);
        QStringList expectedNames = sampleCyclistNames(3);
        std::sort(expectedNames.begin(), expectedNames.end(),
                  [](const QString& x, const QString& y) {
                      return x.compare(y, Qt::CaseInsensitive) < 0;
                  });
        QCOMPARE(users.subkeys(), expectedNames);
        for (const QString& name : expectedNames) {
            QVERIFY(users.subkey(name, false).valueNames().isEmpty());
            QVERIFY(users.subkey(name, false).subkeys().isEmpty());
        }

        TData data(o.storePath);
        data.open();
        ADOTable* t = data.table();
        int notes = 0;
        int twoLineNotes = 0;
        int sameDay = 0;
        for (const QString& name : summary.cyclists) {
            for (int year = 2004; year <= 2005; ++year) {
                QVERIFY2(chainFault(t, name, year).isEmpty(),
                         qPrintable(chainFault(t, name, year)));
                t->setFilter(RideFilter::year(name, year));
                QCOMPARE(t->recordCount(), 60);
                t->first();
                const Fixed4 base = t->asFixed(RideField::odo);
                QVERIFY(base >= Fixed4::fromInt(1000) && base <= Fixed4::fromInt(20000));
                QCOMPARE(base.roundedTo2(), base);
                QDate previous;
                for (int k = 0; k < t->recordCount(); ++k, t->next()) {
                    const QString where =
                        QStringLiteral("%1 %2 ride %3").arg(name).arg(year).arg(k + 1);
                    const QByteArray atText = where.toUtf8();
                    const char* at = atText.constData();
                    const QDate date = t->asDateTime(RideField::date).date();
                    QVERIFY2(date.year() == year, at);
                    QCOMPARE(t->asInteger(RideField::day), date.day());
                    QCOMPARE(t->asInteger(RideField::month), date.month());
                    QCOMPARE(t->asInteger(RideField::year), date.year());
                    QCOMPARE(t->asString(RideField::user), name);
                    if (date == previous)
                        ++sameDay;
                    previous = date;

                    const QTime time = t->asTime(RideField::time);
                    QVERIFY2(time >= QTime(0, 20) && time <= QTime(6, 0), at);
                    const qint64 seconds = QTime(0, 0).secsTo(time);
                    const qint64 dst = t->asFixed(RideField::dst).units();
                    const qint64 avs = t->asFixed(RideField::avs).units();
                    QVERIFY2(dst > 0 && dst % 100 == 0, at);
                    QVERIFY2(avs % 100 == 0, at);
                    QVERIFY2(avs >= 150000 && avs <= 380000, at);
                    // avs in hundredths is the exact km/h rounded half up:
                    // avs - 1/2 <= dst * 3600 / seconds < avs + 1/2.
                    const qint64 h = avs / 100;
                    QVERIFY2((2 * h - 1) * seconds * 50 <= dst * 3600, at);
                    QVERIFY2(dst * 3600 < (2 * h + 1) * seconds * 50, at);

                    const int pulse = t->asInteger(RideField::pulse);
                    const int pulsemax = t->asInteger(RideField::pulsemax);
                    if (pulse != 0)
                        QVERIFY2(pulse >= 110 && pulse <= 175 && pulsemax > pulse, at);
                    const int alt = t->asInteger(RideField::alt);
                    const int altmax = t->asInteger(RideField::altmax);
                    QVERIFY2(alt >= 0 && alt <= 2500, at);
                    QVERIFY2(altmax >= 200 && altmax <= 2500, at);

                    QVERIFY2(druhItems.contains(t->asString(RideField::druh)), at);
                    QVERIFY2(obtiznostItems.contains(t->asString(RideField::obtiznost)), at);
                    QVERIFY2(pocitItems.contains(t->asString(RideField::pocit)), at);
                    QVERIFY2(vlivyItems.contains(t->asString(RideField::vlivy)), at);
                    QVERIFY2(temperatureItems.contains(t->asString(RideField::temperature)), at);
                    QVERIFY2(typItems.contains(t->asString(RideField::typ)), at);
                    const QString note = t->asString(RideField::note);
                    notes += note.isEmpty() ? 0 : 1;
                    twoLineNotes += note.contains(QLatin1Char('\n')) ? 1 : 0;
                }
            }
        }
        QVERIFY(notes > 0 && notes < 360 / 2);
        QVERIFY(twoLineNotes > 0);
        QVERIFY(sameDay > 0 && sameDay < 360 / 4);
    }

    void refusesExistingDataUnlessAppending()
    {
        const SampleOptions o = options(QStringLiteral("x"));
        generateSample(o);
        const QStringList before = allRows(o.storePath);
        QVERIFY_THROWS_EXCEPTION(SampleRefusal, generateSample(o));
        QCOMPARE(allRows(o.storePath), before);

        // A preference file that already lists cyclists is someone's log too.
        SampleOptions freshStore = o;
        freshStore.storePath = QDir(m_dir).filePath(QStringLiteral("other.dat"));
        QVERIFY_THROWS_EXCEPTION(SampleRefusal, generateSample(freshStore));
        QVERIFY(!QFile::exists(freshStore.storePath));

        // Appended rides interleave with the old ones of the same cyclists and
        // years; every year's chain still holds across both.
        SampleOptions again = o;
        again.append = true;
        again.seed = 2;
        generateSample(again);
        QCOMPARE(rowCount(o.storePath), 2 * before.size());
        TData data(o.storePath);
        data.open();
        for (const QString& name : sampleCyclistNames(2)) {
            for (int year = 2004; year <= 2005; ++year) {
                const QString fault = chainFault(data.table(), name, year);
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
            }
        }
    }

    void badOptionsAndFailuresLeaveNothing_data()
    {
        QTest::addColumn<int>("cyclists");
        QTest::addColumn<int>("years");
        QTest::addColumn<int>("rides");
        QTest::addColumn<int>("firstYear");
        QTest::addColumn<bool>("prefsIsFolder");
        QTest::newRow("no cyclist") << 0 << 1 << 10 << 2004 << false;
        QTest::newRow("no year") << 1 << 0 << 10 << 2004 << false;
        QTest::newRow("negative rides") << 1 << 1 << -1 << 2004 << false;
        QTest::newRow("rides beyond the odometer") << 1 << 1 << 2001 << 2004 << false;
        QTest::newRow("years past 9999") << 1 << 2 << 10 << 9999 << false;
        QTest::newRow("preferences cannot be written") << 2 << 1 << 10 << 2004 << true;
    }
    void badOptionsAndFailuresLeaveNothing()
    {
        QFETCH(int, cyclists);
        QFETCH(int, years);
        QFETCH(int, rides);
        QFETCH(int, firstYear);
        QFETCH(bool, prefsIsFolder);
        SampleOptions o = options(QStringLiteral("bad"));
        o.cyclists = cyclists;
        o.years = years;
        o.ridesPerYear = rides;
        o.firstYear = firstYear;
        if (prefsIsFolder)
            QVERIFY(QDir().mkpath(o.preferencePath));
        QVERIFY_THROWS_EXCEPTION(RydexError, generateSample(o));
        // A failed run can simply be run again: no store is left behind.
        QVERIFY(!QFile::exists(o.storePath));
        QVERIFY(!QFile::exists(o.storePath + QStringLiteral("-wal")));
    }

    void apostropheNameThroughMonthFilter()
    {
        SampleOptions o = options(QStringLiteral("apo"));
        o.years = 1;
        o.ridesPerYear = 24;
        generateSample(o);
        const QString name = QStringLiteral("O'Brien");
        QVERIFY(sampleCyclistNames(2).contains(name));
        TData data(o.storePath);
        data.open();
        ADOTable* t = data.table();
        int total = 0;
        for (int month = 1; month <= 12; ++month) {
            t->setFilter(RideFilter::month(name, 2004, month));
            for (int k = 0; k < t->recordCount(); ++k, t->next()) {
                QCOMPARE(t->asString(RideField::user), name);
                QCOMPARE(t->asInteger(RideField::month), month);
            }
            total += t->recordCount();
        }
        QCOMPARE(total, 24);
        PreferenceStore prefs(o.preferencePath);
        QVERIFY(prefs.openKey(PreferenceStore::cyclistsKeyPath(), false).subkeys().contains(name));
    }
};

RYDEX_TEST_MAIN(TestSampleData, QCoreApplication)
#include "tst_sampledata.moc"
