#include "TestMain.h"
#include "TestProgram.h"
#include "TestRides.h"

#include "LayoutChecks.h"
#include "app/TfrmBase.h"
#include "stats/SeasonMonthsModel.h"
#include "stats/SeasonWeeksChart.h"
#include "stats/TfrmSeason.h"
#include "store/ADOTable.h"
#include "theme/TsuiFileTheme.h"
#include "toolkit/Controls.h"
#include "toolkit/MenuItem.h"
#include "toolkit/TabControl.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBarSeries>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

namespace {
// Eva's rides, today being 15 March 2005. Half a kilometre goes to the even
// neighbour: 10.5 counts 10, 25.5 counts 26.
const QList<TestRide> evasRides = {
    {"Eva", {2004, 3, 2}, "20.4", {1, 0, 0}, 140, 300},
    {"Eva", {2004, 3, 20}, "10.5", {0, 30, 0}, 0, 0},
    {"Eva", {2005, 1, 3}, "30.6", {1, 30, 0}, 150, 500},
    {"Eva", {2005, 3, 1}, "25.5", {1, 0, 0}, 130, 200},
    {"Eva", {2005, 3, 14}, "42.2", {2, 0, 0}, 0, 800},
    {"Jan", {2005, 3, 14}, "500", {9, 0, 0}, 0, 0},
};

// A row of the month table as its cells read, joined by "|".
QString monthRow(const TfrmSeason& season, int row)
{
    QStringList cells;
    const SeasonMonthsModel* m = season.monthsModel();
    for (int c = 0; c < SeasonMonthsModel::ColumnCount; ++c)
        cells << m->index(row, c).data().toString();
    return cells.join(u'|');
}

// Eva signed in with her rides, her season opened.
TfrmSeason* openSeason(TestProgram& p)
{
    p.addCyclist(QStringLiteral("Eva"));
    p.addRides(evasRides);
    p.start();
    p.signIn(QStringLiteral("Eva"));
    p.window()->mnuSeason->trigger();
    TfrmSeason* season = p.window()->seasonWindow();
    if (season)
        QApplication::processEvents();
    return season;
}

int currentRideId(TestProgram& p)
{
    return p.table()->value(RideField::id).toInt();
}
} // namespace

class TestSeasonWindow : public QObject
{
    Q_OBJECT

private slots:
    void showsTheCyclistsFigures();
    void clicksShowTheRideInTheMonthView();
    void followsRidesWrittenWhileOpen();
    void wholeAtTheSmallestScreen_data();
    void wholeAtTheSmallestScreen();
};

void TestSeasonWindow::showsTheCyclistsFigures()
{
    TestProgram p;
    TfrmSeason* season = openSeason(p);
    QVERIFY(season);
    QAbstractItemModelTester tester(season->monthsModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(season->year(), 2005);
    QCOMPARE(season->monthsModel()->rowCount(), 13);
    // Jan's rides are not Eva's; March 2004 had 30 km, so 68 km is +126.7 %.
    QCOMPARE(monthRow(*season, 0), "January|1|31|01:30:00|500|150|");
    QCOMPARE(monthRow(*season, 1), "February|0|0|00:00:00|0|0|");
    QCOMPARE(monthRow(*season, 2), "March|2|68|03:00:00|1,000|130|+126.7 %");
    QCOMPARE(monthRow(*season, 12), "Celkem|3|99|04:30:00|1,500|140|+230.0 %");
    QVERIFY(season->monthsModel()->index(12, 0).data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(season->monthsModel()
                     ->index(2, SeasonMonthsModel::Distance)
                     .data(Qt::TextAlignmentRole)
                     .toInt() &
                 Qt::AlignRight,
             Qt::AlignRight);
    // Up to 15 March: 99 km against 20 km a year earlier.
    QCOMPARE(season->lblLead->text(), "+79 km oproti roku 2004 ke dni March 15");
    QCOMPARE(season->windowTitle(), "Sezóna 2005");
    // The longest ride, and the fastest of at least 20 km (42.2 km in 2 h).
    QCOMPARE(season->BestsList->item(0, 1)->text(), "42.20 km");
    QCOMPARE(season->BestsList->item(3, 1)->text(), "25.50 km/h");

    // The year before, from the rides in memory: the whole year counts.
    season->btnDown->click();
    QCOMPARE(season->year(), 2004);
    QCOMPARE(season->windowTitle(), "Sezóna 2004");
    QCOMPARE(season->lblYear->text(), "2004");
    QCOMPARE(monthRow(*season, 12), "Celkem|2|30|01:30:00|300|140|");
    QCOMPARE(season->lblLead->text(), "+30 km oproti roku 2003 ke dni December 31");
    // 2004 has 53 ISO weeks; its week 53 ends on 2 January 2005.
    QCOMPARE(season->WeeksChart->weeks().size(), 53);
    QCOMPARE(season->WeeksChart->weekTip(9), "Týden 10 od 3/1/04: 20 km, 1.0 h, jízd: 1");
    season->btnUp->click();
    season->btnUp->click();
    QCOMPARE(season->year(), 2006);
    QCOMPARE(season->lblLead->text(), "Rok 2006 ještě nezačal.");
    QCOMPARE(monthRow(*season, 12), QStringLiteral("Celkem|0|0|00:00:00|0|0|−100.0 %"));
    // The bests stand over all years, whichever is shown.
    QCOMPARE(season->BestsList->item(0, 1)->text(), "42.20 km");
    // The month view keeps its own year.
    QCOMPARE(p.window()->year(), 2005);
}

void TestSeasonWindow::clicksShowTheRideInTheMonthView()
{
    TestProgram p;
    TfrmSeason* season = openSeason(p);
    QVERIFY(season);
    TfrmBase* w = p.window();
    const int longest = season->rides().at(4).id;
    const int january = season->rides().at(2).id;
    const int firstIn2004 = season->rides().at(0).id;

    // The longest ride: March 2005, its second ride current.
    season->BestsList->cellClicked(0, 0);
    QCOMPARE(w->Mesice->tabIndex(), 2);
    QCOMPARE(currentRideId(p), longest);
    QCOMPARE(p.table()->currentIndex(), 1);

    // The first week of 2005 (3 to 9 January), its bar clicked.
    emit season->WeeksChart->bars()->clicked(0, nullptr);
    QCOMPARE(w->Mesice->tabIndex(), 0);
    QCOMPARE(currentRideId(p), january);
    // A week without rides shows the month of its Monday (7 February).
    emit season->WeeksChart->bars()->clicked(5, nullptr);
    QCOMPARE(w->Mesice->tabIndex(), 1);
    QCOMPARE(p.table()->recordCount(), 0);

    // A week of another year moves the month view to that year.
    season->setYear(2004);
    emit season->WeeksChart->bars()->clicked(9, nullptr); // 1 to 7 March 2004
    QCOMPARE(w->year(), 2004);
    QCOMPARE(w->lblYear->text(), "2004");
    QCOMPARE(w->Mesice->tabIndex(), 2);
    QCOMPARE(currentRideId(p), firstIn2004);

    // Enter on a best does what a click does.
    season->BestsList->setCurrentCell(0, 1);
    QTest::keyClick(season->BestsList, Qt::Key_Return);
    QCOMPARE(w->year(), 2005);
    QCOMPARE(currentRideId(p), longest);
    QCOMPARE(p.dialogs().raised().size(), 0);

    // Escape closes the window.
    season->activateWindow();
    QTest::keyClick(season, Qt::Key_Escape);
    QTRY_VERIFY(!w->seasonWindow());
}

void TestSeasonWindow::followsRidesWrittenWhileOpen()
{
    TestProgram p;
    TfrmSeason* season = openSeason(p);
    QVERIFY(season);
    TfrmBase* w = p.window();
    // Changing the month view's month reads nothing again.
    w->Mesice->setTabIndex(5);
    QCOMPARE(season->rides().size(), 5);

    // A ride saved in March, as the record dialog saves one.
    w->Mesice->setTabIndex(2);
    addTestRide(*p.table(), {"Eva", {2005, 3, 15}, "60", {3, 0, 0}, 0, 0});
    w->refreshAfterChange(QDate(2005, 3, 15));
    QCOMPARE(season->rides().size(), 6);
    QCOMPARE(monthRow(*season, 2), "March|3|128|06:00:00|1,000|130|+326.7 %");
    QCOMPARE(season->BestsList->item(0, 1)->text(), "60.00 km");
    QCOMPARE(season->lblLead->text(), "+139 km oproti roku 2004 ke dni March 15");

    // ... and deleted again.
    p.table()->last();
    QCOMPARE(p.table()->value(RideField::dst).value<Fixed4>(), Fixed4::fromUnits(600'000));
    p.table()->deleteRecord();
    w->refreshAfterChange(QDate());
    QCOMPARE(monthRow(*season, 2), "March|2|68|03:00:00|1,000|130|+126.7 %");
}

void TestSeasonWindow::wholeAtTheSmallestScreen_data()
{
    QTest::addColumn<QString>("theme");
    QTest::newRow("day") << "RX05TdF.sui";
    QTest::newRow("night") << "RX05Night.sui";
}

void TestSeasonWindow::wholeAtTheSmallestScreen()
{
    QFETCH(QString, theme);
    TestProgram p;
    TfrmSeason* season = openSeason(p);
    QVERIFY(season);
    p.window()->suiFileTheme->setThemeFile(QStringLiteral(RYDEX_THEMES "/") + theme);
    // A netbook's screen, less a window manager's frame and panel.
    for (const QSize size : {QSize(1000, 540), season->size()}) {
        season->resize(size);
        for (int page = 0; page < season->Pages->count(); ++page) {
            season->Pages->setCurrentIndex(page);
            QApplication::processEvents();
            for (const QStringList& faults :
                 {textsCutOff(season), controlsOverlapping(season), textsHardToRead(season)})
                QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
        }
        // Every week's label, thinned out, stands whole under its bar.
        QVERIFY(season->WeeksChart->weekLabels().size() >= 4);
    }
    qApp->setStyleSheet(QString());
}

RYDEX_TEST_MAIN(TestSeasonWindow, QApplication)
#include "tst_seasonwindow.moc"
