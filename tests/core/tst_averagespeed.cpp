#include "TestMain.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "records/AverageSpeed.h"

#include <QCoreApplication>

class TestAverageSpeed : public QObject
{
    Q_OBJECT

private slots:
    void speed_data()
    {
        QTest::addColumn<QTime>("duration");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("speed");
        QTest::newRow("25 km in an hour")
            << QTime(1, 0) << QStringLiteral("25") << QStringLiteral("25");
        QTest::newRow("30 km in 1:20")
            << QTime(1, 20) << QStringLiteral("30") << QStringLiteral("22.5");
        QTest::newRow("10 km in 0:45 rounds down")
            << QTime(0, 45) << QStringLiteral("10") << QStringLiteral("13.33");
        QTest::newRow("20 km in 0:45 rounds up")
            << QTime(0, 45) << QStringLiteral("20") << QStringLiteral("26.67");
        QTest::newRow("no distance") << QTime(0, 30) << QStringLiteral("0") << QStringLiteral("0");
        QTest::newRow("milliseconds dropped")
            << QTime(1, 0, 0, 999) << QStringLiteral("25") << QStringLiteral("25");
        QTest::newRow("a whole day less a second")
            << QTime(23, 59, 59) << QStringLiteral("86399") << QStringLiteral("3600");
        // Exact halves: a double would land a hair on either side.
        QTest::newRow("half of a hundredth")
            << QTime(1, 0) << QStringLiteral("12.345") << QStringLiteral("12.35");
        QTest::newRow("half after division")
            << QTime(0, 1, 12) << QStringLiteral("0.0001") << QStringLiteral("0.01");
        QTest::newRow("just below a half")
            << QTime(0, 1, 13) << QStringLiteral("0.0001") << QStringLiteral("0");
        QTest::newRow("negative half away from zero")
            << QTime(1, 0) << QStringLiteral("-12.345") << QStringLiteral("-12.35");
        QTest::newRow("one second")
            << QTime(0, 0, 1) << QStringLiteral("1") << QStringLiteral("3600");
    }
    void speed()
    {
        QFETCH(QTime, duration);
        QFETCH(QString, distance);
        QFETCH(QString, speed);
        const Fixed4 d = *Fixed4::parse(distance, QLocale::c());
        QCOMPARE(averageSpeed(duration, d).toPlainString(), speed);
    }

    void zeroDurationHasNoSpeed_data()
    {
        QTest::addColumn<QTime>("duration");
        QTest::newRow("0:00:00") << QTime(0, 0);
        QTest::newRow("only milliseconds") << QTime(0, 0, 0, 500);
        QTest::newRow("no time at all") << QTime();
    }
    void zeroDurationHasNoSpeed()
    {
        QFETCH(QTime, duration);
        try {
            averageSpeed(duration, Fixed4::fromInt(25));
            QFAIL("no error for a zero duration");
        } catch (const RydexError& e) {
            QCOMPARE(e.text(), Msg::text(Msg::AverageSpeedZeroDuration));
            QVERIFY(e.text().contains(QStringLiteral("0:00:00")));
        }
    }

    // What the field cannot hold is refused, not stored.
    void speedMustFitItsField_data()
    {
        QTest::addColumn<QTime>("duration");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<bool>("fits");
        QTest::newRow("the largest") << QTime(1, 0) << QStringLiteral("999.99") << true;
        QTest::newRow("the smallest") << QTime(1, 0) << QStringLiteral("-999.99") << true;
        QTest::newRow("a hundredth more") << QTime(1, 0) << QStringLiteral("1000") << false;
        QTest::newRow("a hundredth less") << QTime(1, 0) << QStringLiteral("-1000") << false;
        QTest::newRow("the longest distance in a day")
            << QTime(23, 59, 59) << QStringLiteral("9999999") << false;
    }
    void speedMustFitItsField()
    {
        QFETCH(QTime, duration);
        QFETCH(QString, distance);
        QFETCH(bool, fits);
        const Fixed4 speed = averageSpeed(duration, *Fixed4::parse(distance, QLocale::c()));
        try {
            checkAverageSpeedFits(speed);
            QVERIFY(fits);
        } catch (const RydexError& e) {
            QVERIFY2(!fits, qPrintable(e.text()));
            QVERIFY(e.text().contains(QStringLiteral("999.99")));
        }
    }

    void hugeDistanceIsARangeErrorNotAnOverflow()
    {
        const Fixed4 far = Fixed4::fromUnits(std::numeric_limits<qint64>::max());
        QVERIFY_THROWS_EXCEPTION(RydexError, averageSpeed(QTime(0, 0, 1), far));
        // Long distances come out exactly all the same.
        QCOMPARE(averageSpeed(QTime(1, 0), Fixed4::fromInt(123456789)).toPlainString(),
                 QStringLiteral("123456789"));
    }
};

RYDEX_TEST_MAIN(TestAverageSpeed, QCoreApplication)
#include "tst_averagespeed.moc"
