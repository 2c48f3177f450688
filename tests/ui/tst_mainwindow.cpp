#include "TestMain.h"
#include "TestRides.h"

#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "app/TfrmInfo.h"
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
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QWindow>

namespace {
struct Paths
{
    QString dir;
    QString store;
    QString prefs;
};

Paths freshPaths()
{
    static int n = 0;
    Paths p;
    p.dir = TestEnv::root() + QStringLiteral("/run%1").arg(++n);
    QDir().mkpath(p.dir);
    p.store = p.dir + QStringLiteral("/data/Rydex.dat");
    p.prefs = p.dir + QStringLiteral("/config/Rydex 2005.conf");
    return p;
}

Startup::Options optionsFor(const Paths& p, bool engine = true)
{
    Startup::Options o;
    o.storePath = p.store;
    o.preferencePath = p.prefs;
    o.applicationDir = p.dir;
    o.engineCheck = [engine] { return engine; };
    return o;
}

QStringList itemNames(const MenuItem* submenu)
{
    QStringList out;
    for (QAction* a : submenu->submenu()->actions())
        out << a->objectName() + QLatin1Char('=') + a->text();
    return out;
}

// Opens the ride-log menu as a user does and rests the pointer on item.
QMenu* restOn(TfrmBase* w, MenuItem* item)
{
    QMenu* menu = w->mnuRydex->submenu();
    // Qt ignores a pointer that has not moved since the menu popped up.
    QTest::mouseMove(w, QPoint(w->width() - 5, w->height() - 5));
    menu->popup(w->mapToGlobal(QPoint(10, 10)));
    if (!QTest::qWaitForWindowExposed(menu))
        return menu;
    const QPoint at = menu->actionGeometry(item).center();
    QTest::mouseMove(menu, at);
    QMouseEvent move(QEvent::MouseMove, at, menu->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(menu, &move);
    QTest::qWait(400);
    return menu;
}

void addRide(ADOTable& t, const QString& user, QDate date, const QString& km, QTime time, int pulse,
             const QString& odo)
{
    addTestRide(t,
                {.user = user, .date = date, .km = km, .time = time, .pulse = pulse, .odo = odo});
}

QString fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll().toHex()) : QString();
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void firstStartOnEmptyMachine()
    {
        const Paths p = freshPaths();
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        TfrmBase* w = startup.mainWindow();
        QCOMPARE(dialogs->raised().size(), 0);
        QCOMPARE(w->metaObject()->className(), "TfrmBase");
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005"));
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QVERIFY(w->mnuLogin->submenu()->actions().isEmpty());
        QCOMPARE(w->skinPath(), QDir(p.dir).filePath(QStringLiteral("RX05TdF.sui")));
        QCOMPARE(w->languageName(), QStringLiteral("english"));
        // The keys exist afterwards; nothing was written into them.
        PreferenceStore prefs(p.prefs);
        QVERIFY(prefs.openKey(PreferenceStore::cyclistsKeyPath(), false).exists());
        QVERIFY(!prefs.openKey(PreferenceStore::programKeyPath(), false)
                     .hasValue(QStringLiteral("skin")));
        // The store was created, and closed again by the menu build.
        QVERIFY(QFile::exists(p.store));
        QVERIFY(!startup.data()->table()->isOpen());
        // The cyclist commands are off, and so are their shortcuts.
        for (MenuItem* m : {w->mnuRecords, w->mnuPrint, w->mnuLogoff, w->mnuOptions})
            QVERIFY2(!m->isEnabled(), qPrintable(m->objectName()));
        QVERIFY(!w->mnuNovyZaznam->isEnabled());
        QVERIFY(w->mnuNovyZaznam->ownEnabled());
        QVERIFY(w->mnuAbout->isEnabled());
        // Window geometry.
        QCOMPARE(w->centralWidget()->width(), 994);
        QVERIFY(w->minimumWidth() == 270);
    }

    void unwritableConfigurationFolder()
    {
        const Paths p = freshPaths();
        const QString folder = QFileInfo(p.prefs).path();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        TfrmBase* w = startup.mainWindow();
        // Reads give their defaults without a word.
        QCOMPARE(dialogs->raised().size(), 0);
        QCOMPARE(w->languageName(), QStringLiteral("english"));
        // The first write says once which folder could not be written.
        dialogs->handleNextModal([](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("edtCycling"))->insert(QStringLiteral("Eva"));
            d.findChild<QPushButton*>(QStringLiteral("btnCreate"))->click();
            return int(QDialog::Accepted);
        });
        w->mnuNewCyclist->trigger();
        QCOMPARE(dialogs->raised().size(), 2);
        QCOMPARE(dialogs->last().kind, QStringLiteral("error"));
        QVERIFY2(dialogs->last().text.contains(QStringLiteral("\"") + folder + QLatin1Char('"')),
                 qPrintable(dialogs->last().text));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner));
    }

    void titlesAreTheCaptionsAlone()
    {
        Startup::prepareApplication();
        // The window system is given the title plus the application display
        // name whenever one was set; it follows the application name only
        // while none was.
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        const QString display = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(display, QStringLiteral("probe"));

        const Paths p = freshPaths();
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        const QStringList expected = {"TfrmBase=Rydex 2005", "TfrmNewRecord=Nový záznam",
                                      "TfrmNewUser=Nový uživatel", "TfrmSettings=Nastavení",
                                      "TfrmWork=Pracuji..."};
        QStringList titles;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            const QString cls = QString::fromLatin1(top->metaObject()->className());
            if (cls.startsWith(QStringLiteral("Tfrm")))
                titles << cls + QLatin1Char('=') + top->windowTitle();
        }
        titles.sort();
        QCOMPARE(titles, expected);
    }

    void withoutEngineOnlyTheStopMessage()
    {
        const Paths p = freshPaths();
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p, false));
        startup.show();
        QVERIFY(startup.terminated());
        QCOMPARE(dialogs->raised().size(), 1);
        QCOMPARE(dialogs->last().name, QStringLiteral("msgDlgMSJet"));
        QCOMPARE(dialogs->last().caption, QStringLiteral("Stop!"));
        QCOMPARE(dialogs->last().text,
                 QStringLiteral("Nemáte nainstalován Microsoft Jet 4.0 pro práci s databázemi!"));
        // The ride store was not touched.
        QVERIFY(!QFile::exists(p.store));
        QVERIFY(!startup.mainWindow()->isVisible());
    }

    void damagedStoreOneErrorThenWelcome()
    {
        const Paths p = freshPaths();
        QDir().mkpath(QFileInfo(p.store).absolutePath());
        {
            QFile f(p.store);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("this is not a ride store at all\x01\x02");
        }
        const QString before = fileBytes(p.store);
        PreferenceStore(p.prefs)
            .openKey(PreferenceStore::cyclistsKeyPath())
            .createSubkey(QStringLiteral("Eva"));
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        QCOMPARE(dialogs->count(QStringLiteral("error")), 1);
        QVERIFY(dialogs->last().text.contains(QStringLiteral("not a database")));
        TfrmBase* w = startup.mainWindow();
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        // Signing in reports the store again and stays on the welcome page.
        dialogs->clear();
        w->findChild<MenuItem*>(QStringLiteral("menu0"))->trigger();
        QCOMPARE(dialogs->last().name, QStringLiteral("msgDlgNotDatabeseOpen"));
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Eva"));
        QVERIFY(w->mnuLogoff->isEnabled());
        QCOMPARE(fileBytes(p.store), before);
    }

    void unreadablePreferencesOneError()
    {
        const Paths p = freshPaths();
        PreferenceStore(p.prefs)
            .openKey(PreferenceStore::cyclistsKeyPath())
            .createSubkey(QStringLiteral("Eva"));
        QVERIFY(QFile::setPermissions(p.prefs, QFileDevice::WriteOwner));
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        QFile::setPermissions(p.prefs, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(dialogs->raised().size(), 1);
        QVERIFY2(dialogs->last().text.contains(p.prefs), qPrintable(dialogs->last().text));
    }

    void yearButtonsFollowTheStripWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("down");
        QTest::addColumn<int>("up");
        QTest::newRow("design width") << 994 << 451 << 520;
        QTest::newRow("narrow") << 270 << 89 << 158;
        QTest::newRow("odd") << 995 << 451 << 520;
    }
    void yearButtonsFollowTheStripWidth()
    {
        QFETCH(int, width);
        QFETCH(int, down);
        QFETCH(int, up);
        const Paths p = freshPaths();
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        TfrmBase* w = startup.mainWindow();
        w->YearStrip->resize(width, 40);
        w->Reklama();
        QCOMPARE(w->btnDown->x(), down);
        QCOMPARE(w->btnUp->x(), up);
        QCOMPARE(w->btnDown->geometry(), QRect(down, 8, 22, 22));
    }

    void hintsGoToTheStatusBar()
    {
        const Paths p = freshPaths();
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        TfrmBase* w = startup.mainWindow();
        QSignalSpy hints(w, &TfrmBase::hintChanged);
        QStatusTipEvent tip(w->toolBtnPrint->statusTip());
        QApplication::sendEvent(w->toolBtnPrint, &tip);
        QCOMPARE(w->StatusBar->currentMessage(), QStringLiteral("Print"));
        QCOMPARE(hints.last().at(0).toString(), QStringLiteral("Print"));
        QStatusTipEvent none{QString()};
        QApplication::sendEvent(w->Grid, &none);
        QCOMPARE(w->StatusBar->currentMessage(), QString());
        // A highlighted menu item shows its hint as well.
        w->mnuAbout->showStatusText(w->mnuInformace->submenu());
        QCOMPARE(w->StatusBar->currentMessage(), QStringLiteral("Informace o verzi a jiné"));
    }

    void aboutBoxFromF1()
    {
        const Paths p = freshPaths();
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        TfrmBase* w = startup.mainWindow();
        QString title;
        QSize size;
        QString version;
        dialogs->handleNextModal([&](QDialog& d) {
            title = d.windowTitle();
            size = d.size();
            version = d.findChild<QLabel*>(QStringLiteral("lblVersion"))->text();
            return int(QDialog::Accepted);
        });
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_F1);
        QCOMPARE(dialogs->count(QStringLiteral("modal")), 1);
        QCOMPARE(dialogs->last().className, QStringLiteral("TfrmInfo"));
        QCOMPARE(title, QStringLiteral("About"));
        QCOMPARE(size, QSize(271, 283));
        QCOMPARE(version, QStringLiteral("2.4.0"));
        // Ctrl+O does nothing while nobody is signed in.
        QTest::keyClick(w, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005"));
    }

    void signInMenuOrderAndMonthView()
    {
        const Paths p = freshPaths();
        {
            PreferenceStore prefs(p.prefs);
            PreferenceKey users = prefs.openKey(PreferenceStore::cyclistsKeyPath());
            users.createSubkey(QStringLiteral("Petr"));
            users.createSubkey(QStringLiteral("eva"));
            users.createSubkey(QStringLiteral("Jan"));
            users.subkey(QStringLiteral("Jan")).writeInteger(QStringLiteral("3"), 0);
            TData data(p.store);
            data.open();
            ADOTable& t = *data.table();
            addRide(t, QStringLiteral("Jan"), QDate(2005, 3, 2), QStringLiteral("12.5"),
                    QTime(23, 59, 59), 150, QStringLiteral("1012.5"));
            addRide(t, QStringLiteral("Jan"), QDate(2005, 3, 9), QStringLiteral("13.5"),
                    QTime(0, 0, 2), 0, QStringLiteral("1026"));
            addRide(t, QStringLiteral("Jan"), QDate(2005, 3, 20), QStringLiteral("1"),
                    QTime(1, 0, 0), 140, QStringLiteral("1027"));
            addRide(t, QStringLiteral("Jan"), QDate(2005, 6, 1), QStringLiteral("20"),
                    QTime(1, 0, 0), 140, QStringLiteral("1500"));
            addRide(t, QStringLiteral("eva"), QDate(2005, 3, 3), QStringLiteral("99"),
                    QTime(1, 0, 0), 100, QStringLiteral("99"));
        }
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        TfrmBase* w = startup.mainWindow();
        QCOMPARE(itemNames(w->mnuLogin),
                 QStringList({QStringLiteral("menu0=eva"), QStringLiteral("menu1=Jan"),
                              QStringLiteral("menu2=Petr")}));
        auto* jan = w->findChild<MenuItem*>(QStringLiteral("menu1"));
        QCOMPARE(jan->tag(), 1);
        QCOMPARE(jan->imageIndex(), 12);
        jan->trigger();
        QCOMPARE(dialogs->raised().size(), 0);
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Jan"));
        // Commands whose windows do not exist yet stay off while signed in.
        for (MenuItem* m : {w->mnuPrint, w->mnuTisk, w->mnuSkin, w->mnuLanguage})
            QVERIFY2(!m->isEnabled(), qPrintable(m->objectName()));
        QVERIFY(!w->toolBtnPrint->isEnabled());
        QVERIFY(w->mnuRecords->isEnabled());
        QCOMPARE(w->lblYear->text(), QStringLiteral("2005"));
        QCOMPARE(w->Mesice->tabIndex(), 2);
        QCOMPARE(startup.data()->table()->filter(),
                 QStringLiteral("(user = 'Jan') and (year = 2005) and (month = 3)"));
        QCOMPARE(w->lblHodiny->text(), QStringLiteral("25:00:01"));
        QCOMPARE(w->lblKilometry->text(), QStringLiteral("27"));
        QCOMPARE(w->lblTep->text(), QStringLiteral("145"));
        QCOMPARE(w->lblHodCelkem->text(), QStringLiteral("26:00:01"));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("1500"));
        QCOMPARE(w->Grid->isColumnHidden(3), true);
        QCOMPARE(w->Grid->isColumnHidden(4), false);
        QCOMPARE(startup.data()->table()->currentIndex(), 0);
        QCOMPARE(w->Grafy->tabIndex(), 1);
        PreferenceStore prefs(p.prefs);
        PreferenceKey janKey =
            prefs.openKey(PreferenceStore::cyclistsKeyPath()).subkey(QStringLiteral("Jan"));
        QCOMPARE(janKey.readText(QStringLiteral("CurrentYear"), QString()), QStringLiteral("2005"));

        // Another month writes nothing and refreshes only the month box.
        w->Mesice->setTabIndex(5);
        QCOMPARE(w->lblKilometry->text(), QStringLiteral("20"));
        QCOMPARE(w->lblHodCelkem->text(), QStringLiteral("26:00:01"));

        // Year buttons write CurrentYear at every change.
        w->btnDown->click();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2004"));
        QCOMPARE(janKey.readText(QStringLiteral("CurrentYear"), QString()), QStringLiteral("2004"));
        QCOMPARE(w->lblHodCelkem->text(), QStringLiteral("00:00:00"));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("0"));
        QCOMPARE(w->Mesice->tabIndex(), 5);

        // Another cyclist signs in directly and sees all columns.
        w->findChild<MenuItem*>(QStringLiteral("menu0"))->trigger();
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - eva"));
        QCOMPARE(w->Grid->isColumnHidden(3), false);
        QCOMPARE(w->Mesice->tabIndex(), 2);

        // Sign-off: welcome page, commands off, store closed.
        w->mnuLogoff->trigger();
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005"));
        QVERIFY(!w->mnuLogoff->isEnabled());
        QVERIFY(!startup.data()->table()->isOpen());
    }

    void firstCyclistFromAnEmptyMachine()
    {
        const Paths p = freshPaths();
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        TfrmBase* w = startup.mainWindow();
        QVERIFY(w->mnuLogin->submenu()->actions().isEmpty());
        QVERIFY(w->mnuNewCyclist->isVisible());
        QVERIFY(w->mnuNewCyclist->isEnabled());
        // Resting on the empty sign-in submenu first must not keep it from
        // opening once it lists a cyclist.
        restOn(w, w->mnuLogin);
        dialogs->handleNextModal([](QDialog& d) {
            auto* name = d.findChild<QLineEdit*>(QStringLiteral("edtCycling"));
            name->insert(QStringLiteral("Ondřej O'Neil"));
            d.findChild<QPushButton*>(QStringLiteral("btnCreate"))->click();
            return int(QDialog::Accepted);
        });
        QMenu* menu = restOn(w, w->mnuNewCyclist);
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(w->mnuNewCyclist).center());
        QCOMPARE(dialogs->last().className, QStringLiteral("TfrmNewUser"));
        QCOMPARE(itemNames(w->mnuLogin), QStringList({QStringLiteral("menu0=Ondřej O'Neil")}));
        QVERIFY(!w->mnuNewCyclist->isVisible());
        menu = restOn(w, w->mnuLogin);
        // What the window system is asked to show, not only the widget's flag.
        QWindow* shown = w->mnuLogin->submenu()->windowHandle();
        QVERIFY(shown && shown->isVisible());
        menu->hide();
        w->findChild<MenuItem*>(QStringLiteral("menu0"))->trigger();
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Ondřej O'Neil"));
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
    }

    void storedYearOutsideRangeIsARangeError()
    {
        const Paths p = freshPaths();
        PreferenceStore(p.prefs)
            .openKey(PreferenceStore::cyclistsKeyPath())
            .subkey(QStringLiteral("Eva"))
            .writeInteger(QStringLiteral("CurrentYear"), 70000);
        ScopedPresenter dialogs;
        Startup startup(optionsFor(p));
        startup.show();
        TfrmBase* w = startup.mainWindow();
        w->findChild<MenuItem*>(QStringLiteral("menu0"))->trigger();
        QCOMPARE(dialogs->last().kind, QStringLiteral("error"));
        QCOMPARE(dialogs->last().text, QStringLiteral("Range check error."));
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QVERIFY(!w->mnuLogoff->isEnabled());
    }
};

RYDEX_TEST_MAIN(TestMainWindow, QApplication)
#include "tst_mainwindow.moc"
