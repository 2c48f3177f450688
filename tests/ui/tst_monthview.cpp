#include "TestMain.h"
#include "TestRides.h"

#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "stats/MonthChartView.h"
#include "store/ADOTable.h"
#include "store/PreferenceStore.h"
#include "store/RideFilter.h"
#include "store/TData.h"
#include "toolkit/DBGrid.h"
#include "toolkit/MenuItem.h"
#include "toolkit/ScriptedPresenter.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <memory>

namespace {
struct Ride
{
    QDate date;
    QString km;
    QTime time;
    int pulse;
    int alt;
    QString odo;
};

// A program started on its own files, with one cyclist "Eva" and her rides.
class Session
{
public:
    explicit Session(const QList<Ride>& rides, const QList<QPair<QString, QString>>& prefs = {})
    {
        static int n = 0;
        m_dir = TestEnv::root() + QStringLiteral("/view%1").arg(++n);
        QDir().mkpath(m_dir);
        m_options.storePath = m_dir + QStringLiteral("/Rydex.dat");
        m_options.preferencePath = m_dir + QStringLiteral("/prefs.conf");
        m_options.applicationDir = m_dir;
        m_options.engineCheck = [] { return true; };
        PreferenceStore store(m_options.preferencePath);
        PreferenceKey eva =
            store.openKey(PreferenceStore::cyclistsKeyPath()).subkey(QStringLiteral("Eva"));
        for (const auto& p : prefs)
            eva.writeText(p.first, p.second);
        TData data(m_options.storePath);
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::cyclistText(QStringLiteral("Eva")));
        for (const Ride& r : rides)
            addTestRide(t, {.date = r.date,
                            .km = r.km,
                            .time = r.time,
                            .pulse = r.pulse,
                            .alt = r.alt,
                            .odo = r.odo});
    }
    TfrmBase* start()
    {
        m_startup = std::make_unique<Startup>(m_options);
        m_startup->show();
        return m_startup->mainWindow();
    }
    void signIn()
    {
        m_startup->mainWindow()->findChild<MenuItem*>(QStringLiteral("menu0"))->trigger();
    }
    PreferenceKey eva() const
    {
        return PreferenceStore(m_options.preferencePath)
            .openKey(PreferenceStore::cyclistsKeyPath())
            .subkey(QStringLiteral("Eva"));
    }
    QString prefsBytes() const
    {
        QFile f(m_options.preferencePath);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    ADOTable* table() const { return m_startup->data()->table(); }

private:
    QString m_dir;
    Startup::Options m_options;
    std::unique_ptr<Startup> m_startup;
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
        ScopedPresenter dialogs;
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
        QCOMPARE(dialogs->raised().size(), 0);
    }

    void monthFiguresFromTheRows()
    {
        ScopedPresenter dialogs;
        Session s({{QDate(2005, 3, 1), QStringLiteral("12.5"), QTime(1, 20, 30), 151, 100,
                    QStringLiteral("500")},
                   {QDate(2005, 3, 1), QStringLiteral("13.5"), QTime(1, 20, 30), 150, 50,
                    QStringLiteral("513.5")},
                   {QDate(2005, 3, 31), QStringLiteral("0.5"), QTime(1, 20, 30), 0, 0,
                    QStringLiteral("514")},
                   {QDate(2004, 2, 10), QStringLiteral("40"), QTime(2, 0, 0), 140, 0,
                    QStringLiteral("40")}});
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
        QCOMPARE(dialogs->raised().size(), 0);
    }

    void navigationWritesOnlyYears()
    {
        ScopedPresenter dialogs;
        Session s({}, {{QStringLiteral("CurrentYear"), QStringLiteral("2004")}});
        TfrmBase* w = s.start();
        s.signIn();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2004"));
        QCOMPARE(w->Mesice->tabIndex(), 2);
        // An earlier stored year is not rewritten at sign-in.
        const QString before = s.prefsBytes();
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2004"));
        // Month tabs write nothing; the same tab runs nothing.
        w->Mesice->setTabIndex(5);
        w->Mesice->setTabIndex(5);
        QCOMPARE(s.prefsBytes(), before);
        QCOMPARE(s.table()->filter(), RideFilter::monthText(QStringLiteral("Eva"), 2004, 6));
        w->btnUp->click();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2005"));
        QCOMPARE(w->Mesice->tabIndex(), 5);
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2005"));
        // The focus follows a click, so the keyboard goes on from there.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTabBar* months = w->Mesice->tabBar();
        QTest::mouseClick(months, Qt::LeftButton, {}, months->tabRect(3).center());
        QCOMPARE(QApplication::focusWidget(), months);
        QTest::keyClick(months, Qt::Key_Right);
        QCOMPARE(w->Mesice->tabIndex(), 4);
        QTest::mouseClick(w->btnDown, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), w->btnDown);
        QTest::keyClick(w->btnDown, Qt::Key_Space);
        QCOMPARE(s.eva().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2003"));
        // Sign off and on: the year last shown and today's month again.
        w->mnuLogoff->trigger();
        s.signIn();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2003"));
        QCOMPARE(w->Mesice->tabIndex(), 2);
        QCOMPARE(dialogs->raised().size(), 0);
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
        ScopedPresenter dialogs;
        Session s({}, {{QStringLiteral("CurrentYear"), stored}});
        TfrmBase* w = s.start();
        s.signIn();
        QCOMPARE(w->lblYear->text(), stored);
        const QString filter = s.table()->filter();
        (up ? w->btnUp : w->btnDown)->click();
        QCOMPARE(dialogs->last().kind, QStringLiteral("error"));
        QCOMPARE(dialogs->last().text, QStringLiteral("Range check error."));
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
        ScopedPresenter dialogs;
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
        ScopedPresenter dialogs;
        Session s({}, {{QStringLiteral("8"), stored}});
        TfrmBase* w = s.start();
        s.signIn();
        QCOMPARE(w->Grid->isColumnHidden(8), hidden);
        QCOMPARE(w->Grid->isColumnHidden(7), false);
    }
};

RYDEX_TEST_MAIN(TestMonthView, QApplication)
#include "tst_monthview.moc"
