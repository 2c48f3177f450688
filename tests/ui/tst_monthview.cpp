#include "TestMain.h"
#include "TestProgram.h"

#include "app/TfrmBase.h"
#include "stats/MonthChartView.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBMemo.h"
#include "toolkit/MenuItem.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

namespace {
// A program started on its own files, with one cyclist "Eva" and her rides.
struct Session : TestProgram
{
    explicit Session(const QList<TestRide>& rides,
                     const QList<std::pair<QString, QString>>& prefs = {})
    {
        addCyclist(QStringLiteral("Eva"), prefs);
        addRides(rides);
    }
    PreferenceKey eva() const { return cyclistKey(QStringLiteral("Eva")); }
};

QStringList monthBox(TfrmBase* w)
{
    return {w->lblHodiny->text(), w->lblKilometry->text(), w->lblPrevyseni->text(),
            w->lblTep->text()};
}
} // namespace

class TestMonthView : public QObject
{
    Q_OBJECT

private slots:
    void labelsStartAsPlaceholders()
    {
        Session s({});
        TfrmBase* w = s.start();
        for (QLabel* l : {w->lblHodiny, w->lblKilometry, w->lblPrevyseni, w->lblTep,
                          w->lblHodCelkem, w->lblKMCelkem})
            QCOMPARE(l->text(), QStringLiteral("hodnota"));
        QCOMPARE(w->Graf->dayAxisMaximum(), 32);
    }

    void emptyMonthAndYear()
    {
        Session s({});
        TfrmBase* w = s.start();
        s.signIn();
        QCOMPARE(monthBox(w), QStringList({QStringLiteral("00:00:00"), QStringLiteral("0"),
                                           QStringLiteral("0"), QStringLiteral("0")}));
        QCOMPARE(w->lblHodCelkem->text(), QStringLiteral("00:00:00"));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("0"));
        QCOMPARE(w->Graf->titleText(), QStringLiteral("Březen 0km"));
        QCOMPARE(w->Graf->dayAxisMaximum(), 32);
        QCOMPARE(w->Grid->model()->rowCount(), 0);
        // First sign-in of a new cyclist: today's year is stored, distance chart.
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2005"));
        QCOMPARE(w->Grafy->tabIndex(), 1);
        QCOMPARE(w->Graf->activeSeries(), 1);
        QCOMPARE(s.dialogs().raised().size(), 0);
    }

    void monthFiguresFromTheRows()
    {
        const QString eva = QStringLiteral("Eva");
        Session s({{eva, {2005, 3, 1}, "12.5", {1, 20, 30}, 151, 100, "500"},
                   {eva, {2005, 3, 1}, "13.5", {1, 20, 30}, 150, 50, "513.5"},
                   {eva, {2005, 3, 31}, "0.5", {1, 20, 30}, 0, 0, "514"},
                   {eva, {2004, 2, 10}, "40", {2, 0, 0}, 140, 0, "40"}});
        TfrmBase* w = s.start();
        s.signIn();
        // 12.5 counts 12, 13.5 counts 14, 0.5 counts 0; zero pulse left out.
        QCOMPARE(monthBox(w), QStringList({QStringLiteral("04:01:30"), QStringLiteral("26"),
                                           QStringLiteral("150"), QStringLiteral("150")}));
        QCOMPARE(w->Graf->titleText(), QStringLiteral("Březen 26km"));
        // The year's kilometres are the last ride's reading, not a sum.
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("514"));
        // Two rides on one day give two points at that day.
        const ChartSeriesData& data = w->Graf->seriesData();
        QCOMPARE(data[1].size(), 3);
        QCOMPARE(data[1][0].day, 1);
        QCOMPARE(data[1][1].day, 1);
        QCOMPARE(data[1][0].label, QStringLiteral("12.5"));
        // The grid shows the month's first ride selected.
        QCOMPARE(s.table()->currentIndex(), 0);

        // February of a leap year: the day axis ends at 30.
        w->btnDown->click();
        w->Mesice->setTabIndex(1);
        QCOMPARE(w->Graf->dayAxisMaximum(), 30);
        QCOMPARE(w->Graf->titleText(), QStringLiteral("Únor 40km"));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("40"));
        // The chart tabs change only the drawn series.
        w->Grafy->setTabIndex(0);
        QCOMPARE(w->Graf->activeSeries(), 0);
        QCOMPARE(w->Graf->titleText(), QStringLiteral("Únor 40km"));
        QCOMPARE(w->Graf->dayAxisMaximum(), 30);
        QCOMPARE(s.dialogs().raised().size(), 0);
    }

    void navigationWritesOnlyYears()
    {
        Session s({}, {{QStringLiteral("CurrentYear"), QStringLiteral("2004")}});
        TfrmBase* w = s.start();
        s.signIn();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2004"));
        QCOMPARE(w->Mesice->tabIndex(), 2);
        // An earlier stored year is not rewritten at sign-in.
        const QByteArray before = s.preferenceBytes();
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2004"));
        // Month tabs write nothing; the same tab runs nothing.
        w->Mesice->setTabIndex(5);
        w->Mesice->setTabIndex(5);
        QCOMPARE(s.preferenceBytes(), before);
        QCOMPARE(s.table()->filter(), RideFilter::month(QStringLiteral("Eva"), 2004, 6).text());
        w->btnUp->click();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2005"));
        QCOMPARE(w->Mesice->tabIndex(), 5);
        // Stored once the new year is on the screen.
        QCOMPARE(s.preferenceBytes(), before);
        QTRY_COMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                     QStringLiteral("2005"));
        // The focus follows a click, so the keyboard goes on from there.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTabBar* months = w->Mesice->tabBar();
        QTest::mouseClick(months, Qt::LeftButton, {}, months->tabRect(3).center());
        QCOMPARE(QApplication::focusWidget(), months);
        QTest::keyClick(months, Qt::Key_Right);
        QCOMPARE(w->Mesice->tabIndex(), 4);
        // The keys of tabbed views, wherever the focus is in the window (the
        // grid pages with Page Up/Down of its own); the months go round.
        w->Grid->setFocus();
        QTest::keyClick(w->Grid, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(w->Mesice->tabIndex(), 5);
        w->Note->setFocus();
        QTest::keyClick(w->Note, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(w->Mesice->tabIndex(), 4);
        w->Mesice->setTabIndex(11);
        QTest::keyClick(w->Grid, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(w->Mesice->tabIndex(), 0);
        QTest::keyClick(w->Grid, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->lblYear->text(), QStringLiteral("2006"));
        QTest::keyClick(w->Grid, Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->lblYear->text(), QStringLiteral("2005"));
        w->Mesice->setTabIndex(4);
        QTest::mouseClick(w->btnDown, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), w->btnDown);
        QTest::keyClick(w->btnDown, Qt::Key_Space);
        QTRY_COMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                     QStringLiteral("2003"));
        // Quick clicks store the last year, at the latest when the cyclist
        // signs off.
        w->btnDown->click();
        w->btnDown->click();
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2003"));
        w->mnuLogoff->trigger();
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2001"));
        s.signIn();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2001"));
        w->btnUp->click();
        w->btnUp->click();
        // Sign off and on: the year last shown and today's month again.
        w->mnuLogoff->trigger();
        s.signIn();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2003"));
        QCOMPARE(w->Mesice->tabIndex(), 2);
        QCOMPARE(s.dialogs().raised().size(), 0);
    }

    // A year that cannot be stored is reported after the month view shows
    // the new year whole; the grid no longer stays in the old year under
    // the new year's number.
    void yearThatCannotBeStored()
    {
        Session s({}, {{QStringLiteral("CurrentYear"), QStringLiteral("2004")}});
        TfrmBase* w = s.start();
        s.signIn();
        const QFileDevice::Permissions writable = QFile::permissions(s.preferencePath());
        QVERIFY(QFile::setPermissions(s.preferencePath(), QFileDevice::ReadOwner));
        w->btnUp->click();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2005"));
        QCOMPARE(s.table()->filter(), RideFilter::month(QStringLiteral("Eva"), 2005, 3).text());
        QTRY_COMPARE(s.dialogs().raised().size(), 1);
        QCOMPARE(s.dialogs().last().kind, QStringLiteral("error"));
        QVERIFY2(s.dialogs().last().text.contains(QDir::toNativeSeparators(s.preferencePath())),
                 qPrintable(s.dialogs().last().text));
        QVERIFY(QFile::setPermissions(s.preferencePath(), writable));
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2004"));
    }

    void yearRangeEnds_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("up");
        QTest::newRow("top") << QStringLiteral("65535") << true;
        QTest::newRow("bottom") << QStringLiteral("0") << false;
    }
    void yearRangeEnds()
    {
        QFETCH(QString, stored);
        QFETCH(bool, up);
        Session s({}, {{QStringLiteral("CurrentYear"), stored}});
        TfrmBase* w = s.start();
        s.signIn();
        QCOMPARE(w->lblYear->text(), stored);
        const QString filter = s.table()->filter();
        (up ? w->btnUp : w->btnDown)->click();
        QCOMPARE(s.dialogs().last().kind, QStringLiteral("error"));
        QCOMPARE(s.dialogs().last().text, QStringLiteral("Range check error."));
        QCOMPARE(w->lblYear->text(), stored);
        QCOMPARE(s.table()->filter(), filter);
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()), stored);
        // The other direction works.
        (up ? w->btnDown : w->btnUp)->click();
        QCOMPARE(w->lblYear->text(), QString::number(stored.toInt() + (up ? -1 : 1)));
    }

    void firstChartFromThePreference_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("tab");
        QTest::newRow("duration") << QStringLiteral("0") << 0;
        QTest::newRow("pulse") << QStringLiteral("2") << 2;
        QTest::newRow("elevation") << QStringLiteral("3") << 3;
        QTest::newRow("out of range") << QStringLiteral("7") << 1;
        QTest::newRow("negative") << QStringLiteral("-1") << 1;
        QTest::newRow("letters") << QStringLiteral("x") << 1;
    }
    void firstChartFromThePreference()
    {
        QFETCH(QString, stored);
        QFETCH(int, tab);
        Session s({}, {{QStringLiteral("DefaultGraf"), stored}});
        TfrmBase* w = s.start();
        s.signIn();
        QCOMPARE(w->Grafy->tabIndex(), tab);
        QCOMPARE(w->Graf->activeSeries(), tab);
        QCOMPARE(s.eva().readText(QStringLiteral("DefaultGraf"), QString()), stored);
    }

    void columnValuesOnlyZeroHides_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("0") << QStringLiteral("0") << true;
        QTest::newRow("1") << QStringLiteral("1") << false;
        QTest::newRow("2") << QStringLiteral("2") << false;
        QTest::newRow("-1") << QStringLiteral("-1") << false;
        QTest::newRow("letters") << QStringLiteral("abc") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void columnValuesOnlyZeroHides()
    {
        QFETCH(QString, stored);
        QFETCH(bool, hidden);
        Session s({}, {{QStringLiteral("8"), stored}});
        TfrmBase* w = s.start();
        s.signIn();
        QCOMPARE(w->Grid->isColumnHidden(8), hidden);
        QCOMPARE(w->Grid->isColumnHidden(7), false);
    }
};

RYDEX_TEST_MAIN(TestMonthView, QApplication)
#include "tst_monthview.moc"
