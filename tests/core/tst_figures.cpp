#include "TestMain.h"

#include "stats/DurationTotal.h"
#include "stats/Figures.h"

#include <limits>

Q_DECLARE_METATYPE(RideFigures)

namespace {
QLocale czech()
{
    return QLocale(QStringLiteral("cs_CZ"));
}

QLocale english()
{
    return QLocale(QStringLiteral("en_US"));
}

// "h:mm:ss" durations separated by blanks; "x3" repeats the one before.
QList<QTime> durations(const QString& text)
{
    QList<QTime> times;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (part.startsWith(QLatin1Char('x'))) {
            const int repeat = part.mid(1).toInt();
            for (int i = 1; i < repeat; ++i)
                times.append(times.last());
        } else {
            times.append(QTime::fromString(part, QStringLiteral("H:mm:ss")));
        }
    }
    return times;
}

RideFigures ride(const char* time, double dst, int alt, int pulse)
{
    const QTime t = QTime::fromString(QString::fromLatin1(time), QStringLiteral("H:mm:ss"));
    return RideFigures{t.hour(), t.minute(), t.second(), Fixed4::fromDouble(dst), alt, pulse};
}
} // namespace

class TestFigures : public QObject
{
    Q_OBJECT

private slots:
    void durationTotal_data();
    void durationTotal();
    void emptyTimesAddNothing();
    void monthFigures_data();
    void monthFigures();
    void yearAndTitleTexts();
    void dayAxis_data();
    void dayAxis();
    void dayAxisAgreesWithCalendar();
    void shareLabels_data();
    void shareLabels();
    void valueLabels();
    void axisLabels_data();
    void axisLabels();
};

void TestFigures::durationTotal_data()
{
    QTest::addColumn<QString>("rides");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("none") << "" << qint64(0) << "00:00:00";
    QTest::newRow("single digits padded") << "7:05:00" << qint64(25500) << "07:05:00";
    QTest::newRow("past a day") << "23:59:59 0:00:02" << qint64(86401) << "24:00:01";
    QTest::newRow("carries") << "1:20:30 x3" << qint64(14490) << "04:01:30";
    QTest::newRow("three-digit hours") << "23:59:59 x5 11:40:14" << qint64(474009) << "131:40:09";
    QTest::newRow("four-digit hours") << "23:00:00 x50" << qint64(4140000) << "1150:00:00";
}

void TestFigures::durationTotal()
{
    QFETCH(QString, rides);
    QFETCH(qint64, seconds);
    QFETCH(QString, text);

    DurationTotal total;
    for (const QTime& t : durations(rides))
        total.add(t);
    QCOMPARE(total.totalSeconds(), seconds);
    QCOMPARE(total.text(), text);
}

void TestFigures::emptyTimesAddNothing()
{
    DurationTotal total;
    total.add(QTime());
    total.add(QTime(25, 0));
    total.add(QTime(1, 0, 0, 999));
    QCOMPARE(total.text(), QStringLiteral("01:00:00"));

    DurationTotal parts;
    parts.add(0, 59, 59);
    parts.add(0, 0, 1);
    QCOMPARE(parts.text(), QStringLiteral("01:00:00"));
}

void TestFigures::monthFigures_data()
{
    QTest::addColumn<QVector<RideFigures>>("rides");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<qint64>("km");
    QTest::addColumn<qint64>("alt");
    QTest::addColumn<QString>("pulse");

    using Rides = QVector<RideFigures>;
    QTest::newRow("empty month") << Rides{} << "00:00:00" << qint64(0) << qint64(0) << "0";
    QTest::newRow("halves to even")
        << Rides{ride("1:00:00", 12.5, 0, 0), ride("1:00:00", 13.5, 0, 0)} << "02:00:00"
        << qint64(26) << qint64(0) << "0";
    QTest::newRow("half a km counts nothing")
        << Rides{ride("0:02:00", 0.5, 0, 0)} << "00:02:00" << qint64(0) << qint64(0) << "0";
    QTest::newRow("each ride rounded before summing")
        << Rides{ride("0:10:00", 0.6, 0, 0), ride("0:10:00", 0.6, 0, 0), ride("0:10:00", 0.4, 0, 0)}
        << "00:30:00" << qint64(2) << qint64(0) << "0";
    QTest::newRow("zero pulse left out")
        << Rides{ride("1:00:00", 20, 100, 150), ride("1:00:00", 20, 200, 0),
                 ride("1:00:00", 20, 50, 140)}
        << "03:00:00" << qint64(60) << qint64(350) << "145";
    QTest::newRow("remainder dropped")
        << Rides{ride("1:00:00", 30.25, 120, 151), ride("0:45:30", 25.75, 80, 150)} << "01:45:30"
        << qint64(56) << qint64(200) << "150";
    QTest::newRow("no pulse at all") << Rides{ride("23:59:59", 0, 0, 0), ride("0:00:02", 0, 0, 0)}
                                     << "24:00:01" << qint64(0) << qint64(0) << "0";
}

void TestFigures::monthFigures()
{
    QFETCH(QVector<RideFigures>, rides);
    QFETCH(QString, hours);
    QFETCH(qint64, km);
    QFETCH(qint64, alt);
    QFETCH(QString, pulse);

    const MonthFigures figures = computeMonthFigures(rides);
    QCOMPARE(figures.hours, hours);
    QCOMPARE(figures.km, km);
    QCOMPARE(figures.alt, alt);
    QCOMPARE(figures.pulse, pulse);
}

void TestFigures::yearAndTitleTexts()
{
    QCOMPARE(yearKmText(Fixed4::fromDouble(1234.5), czech()), QStringLiteral("1234,5"));
    QCOMPARE(yearKmText(Fixed4::fromInt(1500), czech()), QStringLiteral("1500"));
    QCOMPARE(yearKmText(Fixed4(), english()), QStringLiteral("0"));
    QCOMPARE(odoTotalText(Fixed4::fromDouble(1234.5), czech()), QStringLiteral("1234,50"));
    QCOMPARE(odoTotalText(Fixed4(), english()), QStringLiteral("0.00"));
    QCOMPARE(chartTitle(QStringLiteral("Březen"), 245), QStringLiteral("Březen 245km"));
    QCOMPARE(chartTitle(QStringLiteral("Leden"), 0), QStringLiteral("Leden 0km"));
}

void TestFigures::dayAxis_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("maximum");

    QTest::newRow("January") << 2005 << 1 << 32;
    QTest::newRow("December") << 2005 << 12 << 32;
    QTest::newRow("February 2005") << 2005 << 2 << 29;
    QTest::newRow("February 2004") << 2004 << 2 << 30;
    QTest::newRow("February 1900") << 1900 << 2 << 29;
    QTest::newRow("February 2000") << 2000 << 2 << 30;
    QTest::newRow("February 0") << 0 << 2 << 30;
    QTest::newRow("February 400") << 400 << 2 << 30;
    QTest::newRow("February 65532") << 65532 << 2 << 30;
    QTest::newRow("February 65535") << 65535 << 2 << 29;
    QTest::newRow("no month 13") << 2005 << 13 << 32;
}

void TestFigures::dayAxis()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, maximum);
    QCOMPARE(dayAxisMaximum(year, month), maximum);
}

void TestFigures::dayAxisAgreesWithCalendar()
{
    for (int year = 1; year <= 2400; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int expected = QDate(year, month, 1).daysInMonth() + 1;
            if (dayAxisMaximum(year, month) != expected)
                QFAIL(qPrintable(QStringLiteral("%1-%2").arg(year).arg(month)));
        }
    }
}

void TestFigures::shareLabels_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("label");

    QTest::newRow("quarter") << "en_US" << qint64(3600) << qint64(14400) << "25 %";
    QTest::newRow("third") << "cs_CZ" << qint64(1) << qint64(3) << "33,3 %";
    QTest::newRow("two thirds") << "de_DE" << qint64(2) << qint64(3) << "66,7 %";
    QTest::newRow("half of a tenth") << "en_US" << qint64(1) << qint64(2000) << "0.1 %";
    QTest::newRow("below") << "en_US" << qint64(1) << qint64(20001) << "0 %";
    QTest::newRow("no total") << "en_US" << qint64(0) << qint64(0) << "0 %";
}

void TestFigures::shareLabels()
{
    QFETCH(QString, locale);
    QFETCH(qint64, seconds);
    QFETCH(qint64, total);
    QFETCH(QString, label);
    QCOMPARE(durationShareLabel(seconds, total, QLocale(locale)), label);
}

void TestFigures::valueLabels()
{
    QCOMPARE(valueLabel(1234.5, english()), QStringLiteral("1,234.5"));
    QCOMPARE(valueLabel(1234.5, czech()), QStringLiteral("1\u00A0234,5"));
    QCOMPARE(valueLabel(12.3456, english()), QStringLiteral("12.346"));
}

void TestFigures::axisLabels_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QString>("label");

    QTest::newRow("midnight") << 0.0 << "0:00";
    QTest::newRow("noon") << 0.5 << "12:00";
    QTest::newRow("seconds cut off") << (5 * 60 + 59) / 86400.0 << "0:05";
    QTest::newRow("nearest millisecond") << 1799.9996 / 86400.0 << "0:30";
    QTest::newRow("last minute") << 0.9999 << "23:59";
    QTest::newRow("whole day") << 1.0 << "24:00";
    QTest::newRow("day and a half") << 1.5 << "36:00";
    QTest::newRow("absurd") << 1e300 << "";
    QTest::newRow("negative") << -0.25 << "6:00";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "";
}

void TestFigures::axisLabels()
{
    QFETCH(double, fraction);
    QFETCH(QString, label);
    QCOMPARE(durationAxisLabel(fraction), label);
}

RYDEX_TEST_MAIN(TestFigures, QCoreApplication)
#include "tst_figures.moc"
