#include "TestMain.h"

#include "ScopedLocale.h"
#include "base/Fixed4.h"
#include "stats/ReportColumns.h"
#include "stats/ReportLayout.h"

#include <QTime>

using ReportLayout::Band;

namespace {
// A page as "H T C D0 D1 ... S F": the bands in the order placed.
QString describe(const ReportLayout::PageBands& page)
{
    QStringList out;
    for (const ReportLayout::PlacedBand& b : page) {
        switch (b.band) {
        case Band::PageHeader:
            out << "H";
            break;
        case Band::Title:
            out << "T";
            break;
        case Band::ColumnHeader:
            out << "C";
            break;
        case Band::Detail:
            out << QStringLiteral("D%1").arg(b.row);
            break;
        case Band::Summary:
            out << "S";
            break;
        case Band::PageFooter:
            out << "F";
            break;
        }
    }
    return out.join(u' ');
}
} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
    void bandPositions();
    void cellTexts_data();
    void cellTexts();
};

void TestReport::pages_data()
{
    QTest::addColumn<int>("rides");
    // The rides on each page.
    QTest::addColumn<QList<int>>("details");

    // A4 less 10 mm margins leaves 277 mm: the first page holds 17 rides
    // below its header, title and column header, later pages 29.
    QTest::newRow("no rides") << 0 << QList<int>{0};
    QTest::newRow("three") << 3 << QList<int>{3};
    // The summary band, empty as it is, takes a page of its own when the
    // rides fill the last one.
    QTest::newRow("first page full") << 17 << QList<int>{17, 0};
    QTest::newRow("room for the summary") << 15 << QList<int>{15};
    QTest::newRow("no room for the summary") << 16 << QList<int>{16, 0};
    QTest::newRow("one over") << 18 << QList<int>{17, 1};
    QTest::newRow("sixty") << 60 << QList<int>{17, 29, 14};
    QTest::newRow("second page full") << 46 << QList<int>{17, 29, 0};
    QTest::newRow("a negative count is none") << -5 << QList<int>{0};
}

void TestReport::pages()
{
    QFETCH(int, rides);
    QFETCH(QList<int>, details);

    const QVector<ReportLayout::PageBands> pages = ReportLayout::layout(rides);
    int row = 0;
    int summaries = 0;
    QCOMPARE(pages.size(), details.size());
    for (int n = 0; n < pages.size(); ++n) {
        const QString page = describe(pages.at(n));
        // Every page starts with its headers (the title on the first only)
        // and ends with the footer; the rides follow in order.
        QVERIFY2(page.startsWith(n == 0 ? "H T C" : "H C"), qPrintable(page));
        QVERIFY2(page.endsWith(u'F'), qPrintable(page));
        QCOMPARE(page.count(u'D'), details.at(n));
        for (const ReportLayout::PlacedBand& b : pages.at(n)) {
            if (b.band == Band::Detail)
                QCOMPARE(b.row, row++);
            summaries += b.band == Band::Summary;
            if (b.band != Band::PageFooter)
                QVERIFY(b.top + b.height <= 297 - 10 - 8.5 + 1e-9);
        }
    }
    QCOMPARE(row, std::max(rides, 0));
    QCOMPARE(summaries, 1);
    QVERIFY(describe(pages.last()).endsWith("S F"));
}

void TestReport::bandPositions()
{
    const QVector<ReportLayout::PageBands> pages = ReportLayout::layout(20);
    const ReportLayout::PageBands& first = pages.at(0);
    QCOMPARE(first.at(0).top, 10.0);        // page header at the top margin
    QCOMPARE(first.at(1).top, 80.6);        // title below 70.6 mm of header
    QCOMPARE(first.at(2).top, 157.9);       // column header below 77.3 mm of title
    QCOMPARE(first.at(3).top, 167.4);       // the first ride
    QCOMPARE(first.at(4).top, 167.4 + 6.3); // the second
    QCOMPARE(first.last().top, 297 - 10 - 8.5);
    QCOMPARE(pages.at(1).at(1).top, 80.6); // the column header follows the header
    QCOMPARE(pages.at(1).at(2).top, 90.1);

    // A page too small for one ride below its headers still takes one a page.
    ReportLayout::Page tiny;
    tiny.height = 100;
    const QVector<ReportLayout::PageBands> squeezed = ReportLayout::layout(3, tiny);
    QVERIFY(squeezed.size() >= 3);
    QVERIFY(squeezed.size() <= 5);
}

void TestReport::cellTexts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("duration without leading zero")
        << "cs_CZ" << 6 << QVariant(QTime(1, 5, 0)) << "1:05:00";
    QTest::newRow("long duration") << "cs_CZ" << 6 << QVariant(QTime(12, 0, 9)) << "12:00:09";
    QTest::newRow("distance with comma")
        << "cs_CZ" << 7 << QVariant::fromValue(Fixed4::fromDouble(45.5)) << "45,50";
    QTest::newRow("below one, no leading zero")
        << "cs_CZ" << 7 << QVariant::fromValue(Fixed4::fromDouble(0.5)) << ",50";
    QTest::newRow("point in English")
        << "en_US" << 8 << QVariant::fromValue(Fixed4::fromDouble(10371.434)) << "10371.43";
    QTest::newRow("average rounded")
        << "cs_CZ" << 9 << QVariant::fromValue(Fixed4::fromDouble(27.745)) << "27,75";
    QTest::newRow("integer") << "cs_CZ" << 11 << QVariant(142) << "142";
    QTest::newRow("text kept") << "cs_CZ" << 10 << QVariant(QStringLiteral("0 -  5 C'"))
                               << "0 -  5 C'";
    QTest::newRow("empty field") << "cs_CZ" << 7 << QVariant() << "";
    // The lists below: a stored item reads as the language writes it, any
    // other text as it is.
    QTest::newRow("kind in the language") << "en_US" << 1 << QVariant("Cyklistika") << "Cycling";
    QTest::newRow("band in the language")
        << "en_US" << 10 << QVariant("-10 -  5 C'") << "-10 to -5 °C";
    QTest::newRow("item without a text of the language")
        << "en_US" << 1 << QVariant("Plavání") << "Plavání";
    QTest::newRow("typed text") << "en_US" << 1 << QVariant("MTB") << "MTB";
    QTest::newRow("letter case counts") << "en_US" << 1 << QVariant("cyklistika") << "cyklistika";
    QTest::newRow("empty stays empty") << "en_US" << 1 << QVariant("") << "";
    QTest::newRow("another field's list") << "en_US" << 2 << QVariant("Cyklistika") << "Cyklistika";
}

void TestReport::cellTexts()
{
    QFETCH(QString, locale);
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    const ScopedLocale scoped(locale);
    ValueList kinds({"Cyklistika", "Plavání", "Beh", ""});
    // The language fills the list's empty item with a text of its own.
    kinds.setShown({"Cycling", "", "Running", "Hiking"});
    ValueList bands({"-10 -  5 C'"});
    bands.setShown({"-10 to -5 °C"});
    ValueLists lists;
    lists.set(RideField::druh, kinds);
    lists.set(RideField::temperature, bands);
    QCOMPARE(reportCellText(reportColumns().at(column), value, QLocale(), lists), text);
}

RYDEX_TEST_MAIN(TestReport, QCoreApplication)
#include "tst_report.moc"
