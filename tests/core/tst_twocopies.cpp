#include "ChildProcess.h"
#include "TestMain.h"
#include "TestRides.h"

#include "records/YearOdometer.h"
#include "store/ADOTable.h"
#include "prefs/CyclistPreferences.h"
#include "prefs/PreferenceStore.h"
#include "store/RideFilter.h"
#include "base/RydexError.h"
#include "store/TData.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <cstdio>
#include <memory>

namespace {
const QString jan = QStringLiteral("Jan");
const QString savedPrefix = QStringLiteral("SAVED ");
const QString lastYearPrefix = QStringLiteral("LAST-YEAR ");
const QString lastCountPrefix = QStringLiteral("LAST-COUNT ");

QString storeIn(const QString& folder)
{
    return folder + QStringLiteral("/data/Rydex.dat");
}
QString preferencesIn(const QString& folder)
{
    return folder + QStringLiteral("/config/Rydex 2005.conf");
}

// Whatever reaches the user in the program reaches stderr here.
void reportError(const QString& what, const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(what), qPrintable(text));
    std::fflush(stderr);
}

// Helper mode of this executable: one copy of the program's store and
// preference code. For the given seconds it saves Jan's rides, now and then
// recomputes his year's readings, and writes his year shown (a value both
// copies write) and a count of its own (a value only this copy writes).
[[noreturn]] void runOneCopy(const QString& copy)
{
    const QString folder = qEnvironmentVariable("RYDEX_TWO_COPIES_DIR");
    const int seconds = qEnvironmentVariableIntValue("RYDEX_TWO_COPIES_SECONDS");
    const int yearBase = copy == QLatin1String("a") ? 1000 : 3000;
    QRandomGenerator random(copy == QLatin1String("a") ? 1 : 2);
    TData data(storeIn(folder));
    PreferenceStore store(preferencesIn(folder));
    int failures = 0;
    const auto step = [&](const QString& what, const std::function<void()>& f) {
        try {
            f();
            return true;
        } catch (const RydexError& e) {
            reportError(what, e.text());
        } catch (const std::exception& e) {
            reportError(what, QString::fromUtf8(e.what()));
        }
        ++failures;
        return false;
    };
    if (const std::optional<QString> problem = store.check())
        reportError(QStringLiteral("preferences"), *problem);
    // A month without rides: each Save reads back only what it must.
    data.table()->setFilter(RideFilter::month(jan, 1999, 1));
    if (!step(QStringLiteral("open"), [&] { data.open(); }))
        std::_Exit(1);
    const QDeadlineTimer deadline(seconds * 1000);
    int n = 0;
    for (; !deadline.hasExpired() && failures < 10; ++n) {
        const QString note = copy + QLatin1Char('-') + QString::number(n);
        const QDate date(2005, 1 + int(random.bounded(12)), 1 + int(random.bounded(28)));
        if (step(QStringLiteral("save ") + note, [&] {
                addTestRide(*data.table(), {.user = jan,
                                            .date = date,
                                            .km = QString::number(1 + random.bounded(90)),
                                            .time = QTime(1, 0),
                                            .note = note});
            }))
            reportLine(savedPrefix + note);
        if (n % 10 == 9)
            step(QStringLiteral("recompute"),
                 [&] { recomputeYearOdometer(*data.table(), jan, 2005); });
        const int year = yearBase + n;
        if (step(QStringLiteral("preferences"), [&] {
                PreferenceKey key = store.openKey(PreferenceStore::cyclistsKeyPath()).subkey(jan);
                CyclistPreferences(key).setCurrentYear(year);
                key.writeInteger(QStringLiteral("copy-") + copy, n);
            })) {
            reportLine(lastYearPrefix + QString::number(year));
            reportLine(lastCountPrefix + QString::number(n));
        }
    }
    std::fflush(stdout);
    std::_Exit(failures == 0 ? 0 : 2);
}

// The last value a copy reported under the prefix.
QString lastReported(const QStringList& lines, const QString& prefix)
{
    QString last;
    for (const QString& line : lines) {
        if (line.startsWith(prefix))
            last = line.mid(prefix.size());
    }
    return last;
}
} // namespace

class TestTwoCopies : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsSet("RYDEX_TWO_COPIES_CHILD"))
            runOneCopy(qEnvironmentVariable("RYDEX_TWO_COPIES_CHILD"));
    }

    // Two copies of the program started at once on a new installation, each
    // saving rides and writing the same cyclist's preferences, for 30 seconds
    // when run by hand (ctest sets RYDEX_TWO_COPIES_SECONDS=5 for CI): no
    // error reaches either user, no ride is lost or stored twice, and no
    // preference write is lost.
    void twoCopiesSaveAndWriteAtOnce()
    {
        const int seconds = countFromEnvironment("RYDEX_TWO_COPIES_SECONDS", 30);
        const QString folder = TestEnv::root() + QStringLiteral("/two-copies");
        QVERIFY(QDir().mkpath(folder));
        std::unique_ptr<ChildProcess> copies[2];
        const QString names[2] = {QStringLiteral("a"), QStringLiteral("b")};
        for (int c = 0; c < 2; ++c)
            copies[c] = std::make_unique<ChildProcess>(
                ChildProcess::Environment{
                    {QStringLiteral("RYDEX_TWO_COPIES_CHILD"), names[c]},
                    {QStringLiteral("RYDEX_TWO_COPIES_DIR"), folder},
                    {QStringLiteral("RYDEX_TWO_COPIES_SECONDS"), QString::number(seconds)}},
                folder);
        QStringList lines[2];
        for (int c = 0; c < 2; ++c) {
            QVERIFY2(copies[c]->waitForEnd(seconds * 1000 + 60000),
                     qPrintable(QStringLiteral("copy %1 did not end").arg(names[c])));
            lines[c] = copies[c]->lines();
            const QByteArray errors = copies[c]->errors();
            QVERIFY2(errors.isEmpty(), qPrintable(QStringLiteral("copy %1 told its user: %2")
                                                      .arg(names[c], QString::fromUtf8(errors))));
            QCOMPARE(copies[c]->exitStatus(), QProcess::NormalExit);
            QCOMPARE(copies[c]->exitCode(), 0);
        }

        TData data(storeIn(folder));
        data.table()->setFilter(RideFilter::cyclist(jan));
        data.open();
        QHash<QString, int> stored;
        const int notes = fieldIndex(RideField::note);
        for (const RideRow& row : data.table()->rows())
            ++stored[row[notes].toString()];
        int saved = 0;
        for (int c = 0; c < 2; ++c) {
            for (const QString& line : lines[c]) {
                if (!line.startsWith(savedPrefix))
                    continue;
                ++saved;
                const QString note = line.mid(savedPrefix.size());
                QVERIFY2(stored.value(note) == 1,
                         qPrintable(QStringLiteral("ride %1 is stored %2 times")
                                        .arg(note)
                                        .arg(stored.value(note))));
            }
        }
        QVERIFY(saved > 0);

        PreferenceStore store(preferencesIn(folder));
        QCOMPARE(store.check(), std::nullopt);
        const PreferenceKey key =
            store.openKey(PreferenceStore::cyclistsKeyPath(), false).subkey(jan, false);
        const QString year = key.readText(QStringLiteral("CurrentYear"), QString());
        const QStringList lastYears = {lastReported(lines[0], lastYearPrefix),
                                       lastReported(lines[1], lastYearPrefix)};
        QVERIFY2(lastYears.contains(year), qPrintable(year + " / " + lastYears.join(", ")));
        for (int c = 0; c < 2; ++c)
            QCOMPARE(key.readText(QStringLiteral("copy-") + names[c], QString()),
                     lastReported(lines[c], lastCountPrefix));
        qInfo("%d rides saved by two copies in %d seconds", saved, seconds);
    }
};

RYDEX_TEST_MAIN(TestTwoCopies, QCoreApplication)
#include "tst_twocopies.moc"
