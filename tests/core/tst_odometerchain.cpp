#include "TestMain.h"

#include "base/RydexError.h"
#include "records/OdometerChain.h"

namespace {
std::optional<Fixed4> value(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return Fixed4::parse(text, QLocale::c());
}

// "odo/dst" per ride, either side may be empty.
QVector<ChainRide> rides(const QStringList& texts)
{
    QVector<ChainRide> out;
    for (const QString& s : texts) {
        const QStringList parts = s.split(QLatin1Char('/'));
        out.append({value(parts.value(0)), value(parts.value(1))});
    }
    return out;
}
} // namespace

class TestOdometerChain : public QObject
{
    Q_OBJECT

private slots:
    void chain_data()
    {
        QTest::addColumn<QStringList>("year");
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<QString>("total");
        // After a ride stored ahead of the one holding the base: the base the
        // new first ride takes over, or "check" when the reading is kept.
        QTest::addColumn<QString>("newFirstBase");

        QTest::newRow("no rides") << QStringList() << QStringList() << "0" << QString();
        QTest::newRow("one ride keeps its base")
            << QStringList{"1234.5/40"} << QStringList() << "1234.5" << QString();
        QTest::newRow("one ride without base")
            << QStringList{"/40"} << QStringList() << "0" << QString();
        QTest::newRow("first distance is never added")
            << QStringList{"1000/30", "/12.5", "/7.25"} << QStringList{"1012.5", "1019.75"}
            << "1019.75" << QString();
        QTest::newRow("empty base counts 0")
            << QStringList{"/55", "/20", "/5"} << QStringList{"20", "25"} << "25" << QString();
        QTest::newRow("empty distance adds nothing")
            << QStringList{"100/1", "/", "/3"} << QStringList{"100", "103"} << "103" << QString();
        // Old readings of later rides play no part.
        QTest::newRow("later readings are replaced")
            << QStringList{"500/1", "9999/10", "1/10"} << QStringList{"510", "520"} << "520"
            << QString();
        // Each distance is rounded before it is added, halves away from zero;
        // rounding the sum instead would give 100.01 after three rides.
        QTest::newRow("distances rounded one by one")
            << QStringList{"100/0", "/0.004", "/0.004", "/0.004"}
            << QStringList{"100", "100", "100"} << "100" << QString();
        QTest::newRow("half a hundredth goes up")
            << QStringList{"0/0", "/12.345", "/0.0049"} << QStringList{"12.35", "12.35"} << "12.35"
            << QString();
        QTest::newRow("base rounded too")
            << QStringList{"99.995/0", "/1"} << QStringList{"101"} << "101" << QString();
        QTest::newRow("negative distance rounds away from zero")
            << QStringList{"10/0", "/-1.005"} << QStringList{"8.99"} << "8.99" << QString();
        // A sum beyond the range of the readings is an error, not a wrap.
        QTest::newRow("sum beyond the range")
            << QStringList{"900000000000000/0", "/900000000000000"} << QStringList() << "error"
            << QString();
        // The reading entered for the former first ride stays: the new first
        // ride's base is that reading less that ride's distance.
        QTest::newRow("new first ride")
            << QStringList{"/25", "1500/40.004", "/10"} << QStringList{"1500", "1510"} << "1510"
            << "1460";
        QTest::newRow("new first ride, base rounded")
            << QStringList{"/25", "99.995/0.005", "1/1"} << QStringList{"100", "101"} << "101"
            << "99.99";
        QTest::newRow("new first ride, base zero")
            << QStringList{"/25", "40/40"} << QStringList{"40"} << "40"
            << "0";
        // No base leads to a reading below the ride's own distance.
        QTest::newRow("new first ride, reading below the distance")
            << QStringList{"/25", "30/40", "/10"} << QStringList{"30", "40"} << "40"
            << "check";
        QTest::newRow("new first ride alone") << QStringList{"/25"} << QStringList() << "0"
                                              << "check-none";
    }
    void chain()
    {
        QFETCH(QStringList, year);
        QFETCH(QStringList, readings);
        QFETCH(QString, total);
        QFETCH(QString, newFirstBase);
        const bool newFirst = !newFirstBase.isEmpty();

        if (total == QLatin1String("error")) {
            QVERIFY_THROWS_EXCEPTION(RydexError, computeOdometerChain(rides(year)));
            return;
        }
        const OdometerChain chain = computeOdometerChain(rides(year), newFirst);
        QCOMPARE(chain.firstReadingToCheck, newFirstBase == QLatin1String("check"));
        const bool based = newFirst && !newFirstBase.startsWith(QLatin1String("check"));
        QCOMPARE(chain.base ? chain.base->toPlainString() : QString(),
                 based ? newFirstBase : QString());
        QStringList got;
        for (Fixed4 r : chain.readings)
            got << r.toPlainString();
        QCOMPARE(got, readings);
        QCOMPARE(chain.total.toPlainString(), total);
    }
};

RYDEX_TEST_MAIN(TestOdometerChain, QCoreApplication)
#include "tst_odometerchain.moc"
