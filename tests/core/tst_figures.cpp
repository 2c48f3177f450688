#include "TestMain.h"
#include "TestRides.h"

#include "base/MessageCatalogue.h"
#include "stats/DurationTotal.h"
#include "stats/Figures.h"
#include "stats/PersonalBests.h"
#include "stats/SeasonCurves.h"
#include "stats/SeasonMonths.h"
#include "stats/SeasonWeeks.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "store/TData.h"

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

// Rides in day order, "day/km/h:mm:ss/alt/pulse" each (the later parts may
// be left out), numbered from 1.
QVector<SeasonRide> seasonRides(const QString& text)
{
    QVector<SeasonRide> rides;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList f = part.split(QLatin1Char('/'));
        SeasonRide r;
        r.id = int(rides.size()) + 1;
        r.day = QDate::fromString(f.at(0), Qt::ISODate);
        r.dst = Fixed4::parse(f.value(1), QLocale::c()).value_or(Fixed4());
        const QTime t = QTime::fromString(f.value(2), QStringLiteral("H:mm:ss"));
        r.seconds = t.isValid() ? QTime(0, 0).secsTo(t) : 0;
        r.alt = f.value(3).toInt();
        r.pulse = f.value(4).toInt();
        rides.append(r);
    }
    return rides;
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
    void seasonWeeks_data();
    void seasonWeeks();
    void seasonCurves_data();
    void seasonCurves();
    void seasonLead_data();
    void seasonLead();
    void seasonMonths_data();
    void seasonMonths();
    void personalBests_data();
    void personalBests();
    void seasonTexts();
    void seasonRidesFromStore();
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

void TestFigures::seasonWeeks_data()
{
    QTest::addColumn<QString>("rides");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("count");
    QTest::addColumn<QDate>("firstMonday");
    QTest::addColumn<QString>("weeks"); // "week:km:seconds:rides:first ride" of weeks ridden

    QTest::newRow("week 53 of 2020 runs into 2021")
        << "2019-12-29/5 2019-12-30/10/1:00:00 2021-01-03/20/0:30:00 2021-01-04/7" << 2020 << 53
        << QDate(2019, 12, 30) << "1:10:3600:1:2 53:20:1800:1:3";
    QTest::newRow("2026 starts in 2025, halves to even")
        << "2025-12-28/4 2025-12-29/12.5/1:00:00 2026-01-01/13.5/1:00:00 2026-12-31/8 "
           "2027-01-03/1 2027-01-04/3"
        << 2026 << 53 << QDate(2025, 12, 29) << "1:26:7200:2:2 53:9:0:2:4";
    QTest::newRow("1 January on a Sunday")
        << "2023-01-01/9 2023-01-02/10/0:20:00 2023-12-31/11 2024-01-01/12" << 2023 << 52
        << QDate(2023, 1, 2) << "1:10:1200:1:2 52:11:0:1:3";
    QTest::newRow("that Sunday ends the year before")
        << "2023-01-01/9 2023-01-02/10/0:20:00" << 2022 << 52 << QDate(2022, 1, 3)
        << "52:9:0:1:1";
    QTest::newRow("empty year") << "" << 2021 << 52 << QDate(2021, 1, 4) << "";
    QTest::newRow("no year 0") << "0001-01-01/3" << 0 << 0 << QDate() << "";
}

void TestFigures::seasonWeeks()
{
    QFETCH(QString, rides);
    QFETCH(int, year);
    QFETCH(int, count);
    QFETCH(QDate, firstMonday);
    QFETCH(QString, weeks);

    const QVector<SeasonWeek> got = ::seasonWeeks(seasonRides(rides), year);
    QCOMPARE(got.size(), count);
    QStringList ridden;
    for (int i = 0; i < got.size(); ++i) {
        QCOMPARE(got[i].week, i + 1);
        QCOMPARE(got[i].monday, firstMonday.addDays(7 * i));
        if (got[i].rides > 0)
            ridden << QStringLiteral("%1:%2:%3:%4:%5")
                          .arg(got[i].week)
                          .arg(got[i].km)
                          .arg(got[i].seconds)
                          .arg(got[i].rides)
                          .arg(got[i].firstRideId);
    }
    QCOMPARE(ridden.join(QLatin1Char(' ')), weeks);
}

void TestFigures::seasonCurves_data()
{
    QTest::addColumn<QString>("rides");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("curves"); // "year:days:km at the end", newest first
    QTest::addColumn<QString>("probes"); // "day index=km" of the first curve

    const QString leap = QStringLiteral("2023-02-28/5 2023-03-01/7 2024-02-29/10 2024-12-31/1");
    QTest::newRow("29 February")
        << leap << 2024 << "2024:366:11 2023:365:12 2022:365:0 2021:365:0 2020:366:0"
        << "58=0 59=10 364=10 365=11";
    QTest::newRow("a year without it") << leap << 2023 << "2023:365:12 2022:365:0 2021:365:0 "
                                                          "2020:366:0 2019:365:0"
                                       << "58=5 59=12";
    const QString now = QStringLiteral("2025-12-31/4 2026-01-01/2.5 2026-12-10/3 2026-12-11/50");
    QTest::newRow("this year up to today")
        << now << 2026 << "2026:344:5 2025:365:4 2024:366:0 2023:365:0 2022:365:0"
        << "0=2 342=2 343=5";
    QTest::newRow("a year after today")
        << now << 2027 << "2027:0:0 2026:344:5 2025:365:4 2024:366:0 2023:365:0" << "";
    QTest::newRow("the calendar's first years") << "" << 2 << "2:365:0 1:365:0" << "0=0";
}

void TestFigures::seasonCurves()
{
    QFETCH(QString, rides);
    QFETCH(int, year);
    QFETCH(QString, curves);
    QFETCH(QString, probes);

    const QVector<SeasonCurve> got = ::seasonCurves(seasonRides(rides), year, QDate(2026, 12, 10));
    QStringList shown;
    for (const SeasonCurve& c : got)
        shown << QStringLiteral("%1:%2:%3").arg(c.year).arg(c.km.size()).arg(c.km.value(c.km.size() - 1));
    QCOMPARE(shown.join(QLatin1Char(' ')), curves);
    for (const QString& probe : probes.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList p = probe.split(QLatin1Char('='));
        QCOMPARE(got.first().km.at(p.at(0).toInt()), p.at(1).toLongLong());
    }
}

void TestFigures::seasonLead_data()
{
    QTest::addColumn<QString>("rides");
    QTest::addColumn<int>("year");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("lead"); // "km on year at day", or "none"

    QTest::newRow("29 February against 28 February")
        << "2023-02-28/10 2023-03-01/100 2024-02-29/25" << 2024 << QDate(2024, 2, 29)
        << "15 on 2023 at 2024-02-29";
    QTest::newRow("today counts, tomorrow not")
        << "2025-12-10/7 2025-12-11/100 2026-12-10/4" << 2026 << QDate(2026, 12, 10)
        << "-3 on 2025 at 2026-12-10";
    QTest::newRow("an earlier year to its end") << "2022-12-31/5 2023-06-01/3" << 2023
                                                << QDate(2026, 12, 10) << "-2 on 2022 at 2023-12-31";
    QTest::newRow("empty years") << "" << 2026 << QDate(2026, 12, 10) << "0 on 2025 at 2026-12-10";
    QTest::newRow("a year after today") << "2026-01-01/5" << 2027 << QDate(2026, 12, 10) << "none";
}

void TestFigures::seasonLead()
{
    QFETCH(QString, rides);
    QFETCH(int, year);
    QFETCH(QDate, today);
    QFETCH(QString, lead);

    const std::optional<SeasonLead> got = ::seasonLead(seasonRides(rides), year, today);
    QCOMPARE(got ? QStringLiteral("%1 on %2 at %3")
                       .arg(got->km)
                       .arg(got->comparedYear)
                       .arg(got->at.toString(Qt::ISODate))
                 : QStringLiteral("none"),
             lead);
}

void TestFigures::seasonMonths_data()
{
    QTest::addColumn<QString>("rides");
    QTest::addColumn<int>("year");
    // "month|rides|km|hours|alt|pulse|change" of the months ridden or
    // compared, then the total row (month 0).
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("a single ride") << "2025-03-15/12.5/1:00:00/300/140" << 2025
                                   << QStringList{"3|1|12|01:00:00|300|140|",
                                                  "0|1|12|01:00:00|300|140|"};
    QTest::newRow("against a year earlier")
        << "2024-03-10/40 2024-05-05/20 2025-03-02/50 2025-04-01/10" << 2025
        << QStringList{"3|1|50|00:00:00|0|0|+25.0 %", "4|1|10|00:00:00|0|0|",
                       QStringLiteral("5|0|0|00:00:00|0|0|\u2212100.0 %"), "0|2|60|00:00:00|0|0|+0.0 %"};
    QTest::newRow("29 February a year later")
        << "2024-02-29/10" << 2025
        << QStringList{QStringLiteral("2|0|0|00:00:00|0|0|\u2212100.0 %"), QStringLiteral("0|0|0|00:00:00|0|0|\u2212100.0 %")};
    QTest::newRow("each ride rounded, halves to even")
        << "2025-07-01/0.5/0:30:00 2025-07-02/0.5/0:30:00 2025-12-31/2.5" << 2025
        << QStringList{"7|2|0|01:00:00|0|0|", "12|1|2|00:00:00|0|0|", "0|3|2|01:00:00|0|0|"};
    QTest::newRow("empty year") << "" << 2025 << QStringList{"0|0|0|00:00:00|0|0|"};
    QTest::newRow("no year 0, a ride without a day")
        << "/5 0001-01-01/3" << 0 << QStringList{"0|0|0|00:00:00|0|0|"};
}

void TestFigures::seasonMonths()
{
    QFETCH(QString, rides);
    QFETCH(int, year);
    QFETCH(QStringList, rows);

    const QVector<SeasonMonthRow> got = ::seasonMonths(seasonRides(rides), year);
    QCOMPARE(got.size(), 13);
    QStringList shown;
    for (int i = 0; i < got.size(); ++i) {
        const SeasonMonthRow& r = got[i];
        QCOMPARE(r.month, (i + 1) % 13);
        if (r.month != 0 && r.rides == 0 && !r.changePercent)
            continue;
        shown << QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                     .arg(r.month)
                     .arg(r.rides)
                     .arg(r.figures.km)
                     .arg(r.figures.hours)
                     .arg(r.figures.alt)
                     .arg(r.figures.pulse, changePercentText(r.changePercent, QLocale::c()));
    }
    QCOMPARE(shown, rows);
}

void TestFigures::personalBests_data()
{
    QTest::addColumn<QString>("rides");
    // "ride|value|when" of each record in the order of BestKind.
    QTest::addColumn<QStringList>("bests");

    QTest::newRow("no rides") << "" << QStringList(bestKindCount, QStringLiteral("0||"));
    QTest::newRow("ties keep the earliest")
        << "2024-05-06/50/2:00:00/500 2024-05-13/50/2:00:00/500"
        << QStringList{"1|50.00 km|5/6/24", "1|2:00:00|5/6/24", "1|500 m|5/6/24",
                       "1|25.00 km/h|5/6/24", "1|50 km|5/6/24", "1|100 km|May 2024",
                       QStringLiteral("1|2 jízdy|2024")};
    QTest::newRow("fastest of 20 km and more, rides without a time")
        << "2024-01-10/19.99/0:30:00 2024-01-11/20/1:00:00 2024-01-12/30 "
           "2024-02-01/25/1:15:00/2345"
        << QStringList{"3|30.00 km|1/12/24", "4|1:15:00|2/1/24", "4|2,345 m|2/1/24",
                       "2|20.00 km/h|1/11/24", "1|70 km|1/8/24", "1|70 km|January 2024",
                       QStringLiteral("1|4 jízdy|2024")};
    QTest::newRow("a week across the new year")
        << "2024-12-30/100 2025-01-02/100 2025-06-01/1 2025-06-02/1 2025-06-03/1 2025-06-04/1"
        << QStringList{"1|100.00 km|12/30/24", "0||", "0||", "0||", "1|200 km|12/30/24",
                       "1|100 km|December 2024", QStringLiteral("2|5 jízd|2025")};
    QTest::newRow("one ride") << "2025-08-01/0.5"
                              << QStringList{"1|0.50 km|8/1/25", "0||", "0||", "0||", "0||",
                                             "0||", QStringLiteral("1|1 jízda|2025")};
}

void TestFigures::personalBests()
{
    QFETCH(QString, rides);
    QFETCH(QStringList, bests);

    const auto got = ::personalBests(seasonRides(rides));
    QStringList shown;
    for (int k = 0; k < bestKindCount; ++k) {
        QCOMPARE(got[k].kind, BestKind(k));
        QCOMPARE(got[k].found, got[k].rideId != 0);
        shown << QStringLiteral("%1|%2|%3").arg(got[k].rideId).arg(
                     bestValueText(got[k], english()), bestWhenText(got[k], english()));
    }
    QCOMPARE(shown, bests);
}

void TestFigures::seasonTexts()
{
    SeasonWeek week;
    week.monday = QDate(2026, 12, 28);
    QCOMPARE(weekLabel(week, czech()), QStringLiteral("28.12.26"));
    const SeasonLead lead{312, 2025, QDate(2026, 12, 10)};
    QCOMPARE(seasonLeadText(lead, czech()),
             QStringLiteral("+312 km oproti roku 2025 ke dni 10. prosince"));
    QCOMPARE(seasonLeadText(SeasonLead{-1312, 2023, QDate(2024, 2, 29)}, english()),
             QStringLiteral("\u22121,312 km oproti roku 2023 ke dni February 29"));
    Msg::setRouter([](int id) -> std::optional<QString> {
        if (id == Msg::SeasonLead)
            return QStringLiteral("%s km on %s at %s");
        return std::nullopt;
    });
    const QString english = seasonLeadText(lead, QLocale(QStringLiteral("en_GB")));
    Msg::setRouter({});
    QCOMPARE(english, QStringLiteral("+312 km on 2025 at 10 December"));
    QCOMPARE(changePercentText(12.345, czech()), QStringLiteral("+12,3 %"));
    QCOMPARE(changePercentText(-0.04, czech()), QStringLiteral("+0,0 %"));
    QCOMPARE(changePercentText(std::nullopt, czech()), QString());
    PersonalBest month;
    month.kind = BestKind::BiggestMonth;
    month.found = true;
    month.periodStart = QDate(2025, 5, 1);
    QCOMPARE(bestWhenText(month, czech()), QStringLiteral("Květen 2025"));
    QCOMPARE(bestTitle(BestKind::FastestRide), Msg::text(Msg::BestFastestRide));
}

// The rides of one cyclist in day order, read without moving the table.
void TestFigures::seasonRidesFromStore()
{
    TData data(TestEnv::root() + QStringLiteral("/season/Rydex.dat"));
    data.open();
    ADOTable& t = *data.table();
    const RideFilter month = RideFilter::month(QStringLiteral("Eva"), 2024, 6);
    t.setFilter(month);
    addTestRide(t, {.date = QDate(2024, 6, 2), .km = QStringLiteral("25.55"),
                    .time = QTime(1, 2, 3), .pulse = 140, .alt = 300});
    addTestRide(t, {.date = QDate(2023, 1, 5), .km = QStringLiteral("10")});
    addTestRide(t, {.user = QStringLiteral("Jan"), .date = QDate(2024, 6, 1), .km = QStringLiteral("30")});
    addTestRide(t, {.date = QDate(2024, 6, 1), .time = QTime(0, 20)});
    t.setFilter(month);
    t.setCurrentIndex(1);
    const int current = t.rowAt(1)[fieldIndex(RideField::id)].toInt();

    const QVector<SeasonRide> rides = readSeasonRides(t, QStringLiteral("Eva"));
    QCOMPARE(rides, (QVector<SeasonRide>{
                        {2, QDate(2023, 1, 5), 0, Fixed4::fromInt(10), 0, 0},
                        {4, QDate(2024, 6, 1), 1200, Fixed4(), 0, 0},
                        {1, QDate(2024, 6, 2), 3723, Fixed4::fromUnits(255'500), 300, 140},
                    }));
    QCOMPARE(t.rideFilter(), month);
    QCOMPARE(t.currentIndex(), 1);
    QCOMPARE(t.rowAt(1)[fieldIndex(RideField::id)].toInt(), current);
    QVERIFY(readSeasonRides(t, QStringLiteral("Nobody")).isEmpty());
}

RYDEX_TEST_MAIN(TestFigures, QCoreApplication)
#include "tst_figures.moc"
