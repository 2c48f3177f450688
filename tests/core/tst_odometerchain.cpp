#include "TestMain.h"

#include "records/OdometerChain.h"
#include "store/RydexError.h"

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

        QTest::newRow("no rides") << QStringList() << QStringList() << "0";
        QTest::newRow("one ride keeps its base")
            << QStringList{"1234.5/40"} << QStringList() << "1234.5";
        QTest::newRow("one ride without base") << QStringList{"/40"} << QStringList() << "0";
        QTest::newRow("first distance is never added")
            << QStringList{"1000/30", "/12.5", "/7.25"} << QStringList{"1012.5", "1019.75"}
            << "1019.75";
        QTest::newRow("empty base counts 0")
            << QStringList{"/55", "/20", "/5"} << QStringList{"20", "25"} << "25";
        QTest::newRow("empty distance adds nothing")
            << QStringList{"100/1", "/", "/3"} << QStringList{"100", "103"} << "103";
        // Old readings of later rides play no part.
        QTest::newRow("later readings are replaced")
            << QStringList{"500/1", "9999/10", "1/10"} << QStringList{"510", "520"} << "520";
        // Each distance is rounded before it is added, halves away from zero;
        // rounding the sum instead would give 100.01 after three rides.
        QTest::newRow("distances rounded one by one")
            << QStringList{"100/0", "/0.004", "/0.004", "/0.004"}
            << QStringList{"100", "100", "100"} << "100";
        QTest::newRow("half a hundredth goes up")
            << QStringList{"0/0", "/12.345", "/0.0049"} << QStringList{"12.35", "12.35"} << "12.35";
        QTest::newRow("base rounded too")
            << QStringList{"99.995/0", "/1"} << QStringList{"101"} << "101";
        QTest::newRow("negative distance rounds away from zero")
            << QStringList{"10/0", "/-1.005"} << QStringList{"8.99"} << "8.99";
        // A sum beyond the range of the readings is an error, not a wrap.
        QTest::newRow("sum beyond the range")
            << QStringList{"900000000000000/0", "/900000000000000"} << QStringList() << "error";
    }
    void chain()
    {
        QFETCH(QStringList, year);
        QFETCH(QStringList, readings);
        QFETCH(QString, total);

        if (total == QLatin1String("error")) {
            QVERIFY_THROWS_EXCEPTION(RydexError, computeOdometerChain(rides(year)));
            return;
        }
        const OdometerChain chain = computeOdometerChain(rides(year));
        QStringList got;
        for (Fixed4 r : chain.readings)
            got << r.toPlainString();
        QCOMPARE(got, readings);
        QCOMPARE(chain.total.toPlainString(), total);
    }
};

RYDEX_TEST_MAIN(TestOdometerChain, QCoreApplication)
#include "tst_odometerchain.moc"
