#include "TestMain.h"
#include "TestProgram.h"
#include "TestServer.h"

#include "app/CommandLine.h"
#include "app/ImportRequests.h"
#include "app/RunningCopy.h"
#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "app/TfrmDatabase.h"
#include "app/TfrmInfo.h"
#include "app/TfrmPassword.h"
#include "backup/BackupContents.h"
#include "base/Clock.h"
#include "base/MessageCatalogue.h"
#include "prefs/PreferenceStore.h"
#include "settings/TfrmNewUser.h"
#include "settings/TfrmSettings.h"
#include "stats/TfrmSeason.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/TData.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MenuItem.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindow>
#include <functional>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {
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

// What a copy that crashed leaves: a socket file that nobody listens on.
bool leaveStaleSocket(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

// What a function reads the moment a window is shown, before the showing
// lets any waiting event run.
class ReadAtShow : public QObject
{
public:
    ReadAtShow(QWidget* window, std::function<QString()> read) : m_read(std::move(read))
    {
        window->installEventFilter(this);
    }
    QString read;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            read = m_read();
        return false;
    }

private:
    std::function<QString()> m_read;
};

// The program's next start opens that server's store, as the Database
// window leaves the choice.
void chooseServer(const TestProgram& program, const StoreLocation& server)
{
    PreferenceKey key =
        PreferenceStore(program.preferencePath()).openKey(PreferenceStore::programKeyPath());
    key.writeText(QStringLiteral("server"), server.connectionText());
    key.writeText(QStringLiteral("store"), QStringLiteral("server"));
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
        TestProgram p;
        TfrmBase* w = p.start();
        QCOMPARE(p.dialogs().raised().size(), 0);
        QCOMPARE(w->metaObject()->className(), "TfrmBase");
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005"));
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QVERIFY(w->mnuLogin->submenu()->actions().isEmpty());
        QCOMPARE(w->skinPath(), QDir(p.folder()).filePath(QStringLiteral("RX05TdF.sui")));
        QCOMPARE(w->languageName(), QStringLiteral("english"));
        // The keys exist afterwards; nothing was written into them.
        PreferenceStore prefs(p.preferencePath());
        QVERIFY(prefs.openKey(PreferenceStore::cyclistsKeyPath(), false).exists());
        QVERIFY(!prefs.openKey(PreferenceStore::programKeyPath(), false)
                     .hasValue(QStringLiteral("skin")));
        // The store was created, and closed again by the menu build.
        QVERIFY(QFile::exists(p.storePath()));
        QVERIFY(!p.table()->isOpen());
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
        TestProgram p;
        const QString folder = QFileInfo(p.preferencePath()).path();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        TfrmBase* w = p.start();
        // Reads give their defaults without a word.
        QCOMPARE(p.dialogs().raised().size(), 0);
        QCOMPARE(w->languageName(), QStringLiteral("english"));
        // The first write says once which folder could not be written.
        p.dialogs().handleNextModal([](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("edtCycling"))->insert(QStringLiteral("Eva"));
            d.findChild<QPushButton*>(QStringLiteral("btnCreate"))->click();
            return int(QDialog::Accepted);
        });
        w->mnuNewCyclist->trigger();
        QCOMPARE(p.dialogs().raised().size(), 2);
        QCOMPARE(p.dialogs().last().kind, QStringLiteral("error"));
        QVERIFY2(p.dialogs().last().text.contains(QStringLiteral("\"") + folder + QLatin1Char('"')),
                 qPrintable(p.dialogs().last().text));
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

        // The dialogs are made once the main window has been painted, and
        // are translated as they are made.
        TestProgram p;
        QDir().mkpath(p.folder() + QStringLiteral("/lng"));
        QVERIFY(QFile::copy(QStringLiteral(RYDEX_LANGUAGES "/english.lng"),
                            p.folder() + QStringLiteral("/lng/english.lng")));
        TfrmBase* w = p.start(true, TestProgram::OtherWindows::Later);
        const auto titles = [] {
            QStringList all;
            for (QWidget* top : QApplication::topLevelWidgets()) {
                const QString cls = QString::fromLatin1(top->metaObject()->className());
                if (cls.startsWith(QStringLiteral("Tfrm")))
                    all << cls + QLatin1Char('=') + top->windowTitle();
            }
            all.sort();
            return all;
        };
        QCOMPARE(titles(), QStringList({"TfrmBase=Rydex 2005", "TfrmLanguage=Language"}));
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTRY_COMPARE(titles().size(), 7);
        QCOMPARE(titles(), QStringList({"TfrmBase=Rydex 2005", "TfrmLanguage=Language",
                                        "TfrmNewRecord=New record", "TfrmNewUser=New cyclist",
                                        "TfrmReport=Print preview", "TfrmSettings=Settings",
                                        "TfrmWork=Working..."}));
    }

    void withoutEngineOnlyTheStopMessage()
    {
        TestProgram p;
        p.start(false);
        QVERIFY(p.startup().terminated());
        QCOMPARE(p.dialogs().raised().size(), 1);
        QCOMPARE(p.dialogs().last().name, QStringLiteral("msgDlgMSJet"));
        QCOMPARE(p.dialogs().last().caption, QStringLiteral("Stop!"));
        QCOMPARE(p.dialogs().last().text,
                 QStringLiteral("Nemáte nainstalován Microsoft Jet 4.0 pro práci s databázemi!"));
        // The ride store was not touched.
        QVERIFY(!QFile::exists(p.storePath()));
        QVERIFY(!p.window()->isVisible());
    }

    void damagedStoreOneErrorThenWelcome()
    {
        TestProgram p;
        QDir().mkpath(QFileInfo(p.storePath()).absolutePath());
        {
            QFile f(p.storePath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("this is not a ride store at all\x01\x02");
        }
        const QString before = fileBytes(p.storePath());
        p.addCyclist(QStringLiteral("Eva"));
        p.start();
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
        const QString error = p.dialogs().last().text;
        QVERIFY(error.contains(QStringLiteral("not a database")));
        TfrmBase* w = p.window();
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        // Signing in reports the store again, as precisely, and stays on
        // the welcome page.
        p.dialogs().clear();
        p.signIn();
        QCOMPARE(p.dialogs().last().text, error);
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Eva"));
        QVERIFY(w->mnuLogoff->isEnabled());
        QCOMPARE(fileBytes(p.storePath()), before);
    }

    void unreadablePreferencesOneError()
    {
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        QVERIFY(QFile::setPermissions(p.preferencePath(), QFileDevice::WriteOwner));
        p.start();
        QFile::setPermissions(p.preferencePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(p.dialogs().raised().size(), 1);
        QVERIFY2(p.dialogs().last().text.contains(p.preferencePath()),
                 qPrintable(p.dialogs().last().text));
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
        TestProgram p;
        TfrmBase* w = p.start();
        w->YearStrip->resize(width, 40);
        w->Reklama();
        QCOMPARE(w->btnDown->x(), down);
        QCOMPARE(w->btnUp->x(), up);
        QCOMPARE(w->btnDown->geometry(), QRect(down, 8, 22, 22));
    }

    void smallScreensScrollToEveryFigure_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("desktop") << QSize(1280, 1024) << false;
        QTest::newRow("netbook") << QSize(1024, 600) << false;
        QTest::newRow("laptop at 200 %") << QSize(960, 540) << false;
        QTest::newRow("a window made small") << QSize(500, 360) << true;
    }
    void smallScreensScrollToEveryFigure()
    {
        QFETCH(QSize, screen);
        QFETCH(bool, scrolls);
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        TfrmBase* w = p.start();
        p.signIn(QStringLiteral("Eva"));
        const QSize wanted(994, 689 + w->MainMenu->sizeHint().height());
        const QSize frame(8, 32);
        w->resize(clientSizeWithin(wanted, frame, screen));
        QVERIFY(w->width() + frame.width() <= screen.width());
        QVERIFY(w->height() + frame.height() <= screen.height());
        w->show();
        QApplication::processEvents();
        auto* scroller = qobject_cast<QScrollArea*>(w->centralWidget());
        QVERIFY(scroller);
        QCOMPARE(scroller->verticalScrollBar()->isVisible(), scrolls);
        // Every figure can be brought into sight.
        for (QLabel* figure : {w->lblHodiny, w->lblTep, w->lblKMCelkem}) {
            scroller->ensureWidgetVisible(figure);
            QApplication::processEvents();
            const QRect inView(figure->mapTo(scroller->viewport(), QPoint(0, 0)), figure->size());
            QVERIFY2(scroller->viewport()->rect().contains(inView),
                     qPrintable(figure->objectName()));
        }
        w->hide();
    }

    void hintsGoToTheStatusBar()
    {
        TestProgram p;
        TfrmBase* w = p.start();
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
        TestProgram p;
        TfrmBase* w = p.start();
        QString title;
        QSize size;
        QString version;
        p.dialogs().handleNextModal([&](QDialog& d) {
            title = d.windowTitle();
            size = d.size();
            version = d.findChild<QLabel*>(QStringLiteral("lblVersion"))->text();
            return int(QDialog::Accepted);
        });
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_F1);
        QCOMPARE(p.dialogs().count(QStringLiteral("modal")), 1);
        QCOMPARE(p.dialogs().last().className, QStringLiteral("TfrmInfo"));
        QCOMPARE(title, QStringLiteral("About"));
        QCOMPARE(size, QSize(271, 283));
        QCOMPARE(version, QStringLiteral("2.4.0"));
        // Ctrl+O does nothing while nobody is signed in.
        QTest::keyClick(w, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005"));
    }

    void signInMenuOrderAndMonthView()
    {
        TestProgram p;
        for (const char* name : {"Petr", "eva", "Jan"})
            p.addCyclist(QString::fromLatin1(name));
        p.cyclistKey(QStringLiteral("Jan")).writeInteger(QStringLiteral("3"), 0);
        p.addRides({{"Jan", {2005, 3, 2}, "12.5", {23, 59, 59}, 150, 0, "1012.5"},
                    {"Jan", {2005, 3, 9}, "13.5", {0, 0, 2}, 0, 0, "1026"},
                    {"Jan", {2005, 3, 20}, "1", {1, 0, 0}, 140, 0, "1027"},
                    {"Jan", {2005, 6, 1}, "20", {1, 0, 0}, 140, 0, "1500"},
                    {"eva", {2005, 3, 3}, "99", {1, 0, 0}, 100, 0, "99"}});
        TfrmBase* w = p.start();
        QCOMPARE(p.loginMenu(),
                 QStringList({QStringLiteral("menu0=eva"), QStringLiteral("menu1=Jan"),
                              QStringLiteral("menu2=Petr")}));
        auto* jan = w->findChild<MenuItem*>(QStringLiteral("menu1"));
        QVERIFY(!w->mnuSeason->isEnabled());
        QCOMPARE(jan->tag(), 1);
        QCOMPARE(jan->imageIndex(), 12);
        // A sign-in fills the grid once, not after every figure's walk.
        QSignalSpy resets(w->Grid->model(), &QAbstractItemModel::modelReset);
        jan->trigger();
        QCOMPARE(resets.size(), 1);
        QCOMPARE(p.dialogs().raised().size(), 0);
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Jan"));
        // The theme and print commands are on while signed in.
        QVERIFY(w->mnuSkin->isEnabled());
        QVERIFY(w->mnuPrint->isEnabled());
        QVERIFY(w->toolBtnPrint->isEnabled());
        QVERIFY(w->mnuRecords->isEnabled());
        // The season opens once, for the year shown; the command again
        // brings that one window back.
        QVERIFY(w->mnuSeason->isEnabled());
        QCOMPARE(w->mnuSeason->shortcut(), QKeySequence(QStringLiteral("Ctrl+J")));
        QStringList keys;
        for (const QAction* action : w->findChildren<QAction*>()) {
            if (!action->shortcut().isEmpty() && action->shortcutContext() != Qt::WidgetShortcut)
                keys << action->shortcut().toString();
        }
        QCOMPARE(keys.count(QStringLiteral("Ctrl+J")), 1);
        w->mnuSeason->trigger();
        TfrmSeason* season = w->seasonWindow();
        QVERIFY(season && season->isVisible());
        QCOMPARE(season->windowTitle(), QStringLiteral("Sezóna 2005"));
        w->toolBtnSeason->click();
        QCOMPARE(w->seasonWindow(), season);
        QCOMPARE(w->findChildren<TfrmSeason*>().size(), 1);
        QCOMPARE(w->lblYear->text(), QStringLiteral("2005"));
        QCOMPARE(w->Mesice->tabIndex(), 2);
        QCOMPARE(p.table()->filter(),
                 QStringLiteral("(user = 'Jan') and (year = 2005) and (month = 3)"));
        QCOMPARE(w->lblHodiny->text(), QStringLiteral("25:00:01"));
        QCOMPARE(w->lblKilometry->text(), QStringLiteral("27"));
        QCOMPARE(w->lblTep->text(), QStringLiteral("145"));
        QCOMPARE(w->lblHodCelkem->text(), QStringLiteral("26:00:01"));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("1500"));
        QCOMPARE(w->Grid->isColumnHidden(3), true);
        QCOMPARE(w->Grid->isColumnHidden(4), false);
        QCOMPARE(p.table()->currentIndex(), 0);
        QCOMPARE(w->Grafy->tabIndex(), 1);
        const PreferenceKey janKey = p.cyclistKey(QStringLiteral("Jan"));
        QCOMPARE(janKey.readText(QStringLiteral("CurrentYear"), QString()), QStringLiteral("2005"));

        // Another month writes nothing and refreshes only the month box.
        w->Mesice->setTabIndex(5);
        QCOMPARE(w->Grid->model()->rowCount(), 1);
        QCOMPARE(w->lblKilometry->text(), QStringLiteral("20"));
        QCOMPARE(w->lblHodCelkem->text(), QStringLiteral("26:00:01"));

        // Year buttons write CurrentYear at every change, once it is shown.
        w->btnDown->click();
        QCOMPARE(w->Grid->model()->rowCount(), 0);
        QCOMPARE(w->lblYear->text(), QStringLiteral("2004"));
        QTRY_COMPARE(janKey.readText(QStringLiteral("CurrentYear"), QString()),
                     QStringLiteral("2004"));
        QCOMPARE(w->lblHodCelkem->text(), QStringLiteral("00:00:00"));
        QCOMPARE(w->lblKMCelkem->text(), QStringLiteral("0"));
        QCOMPARE(w->Mesice->tabIndex(), 5);

        // Another cyclist signs in directly and sees all columns.
        p.signIn();
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - eva"));
        // Jan's season is not shown to eva.
        QTRY_VERIFY(!w->seasonWindow());
        QCOMPARE(w->Grid->isColumnHidden(3), false);
        QCOMPARE(w->Mesice->tabIndex(), 2);

        // Sign-off: welcome page, commands off, store closed.
        w->mnuLogoff->trigger();
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005"));
        QVERIFY(!w->mnuLogoff->isEnabled());
        QVERIFY(!w->mnuSeason->isEnabled());
        QVERIFY(!p.table()->isOpen());
    }

    // Every way out of the month view stores the year changed just before,
    // at once and not only once the event loop comes round: the dialogs and a
    // restore read or replace the preferences it belongs to, and a restore
    // must not have it written over what it brought back.
    void leavingStoresYear_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("stored");
        QTest::newRow("sign-out") << QStringLiteral("signOut") << QStringLiteral("2006");
        QTest::newRow("exit") << QStringLiteral("exit") << QStringLiteral("2006");
        QTest::newRow("window closed") << QStringLiteral("close") << QStringLiteral("2006");
        QTest::newRow("settings") << QStringLiteral("settings") << QStringLiteral("2006");
        QTest::newRow("new cyclist") << QStringLiteral("newCyclist") << QStringLiteral("2006");
        QTest::newRow("another cyclist")
            << QStringLiteral("anotherCyclist") << QStringLiteral("2006");
        // The backup was taken while 2005 was shown.
        QTest::newRow("restore") << QStringLiteral("restore") << QStringLiteral("2005");
    }

    void leavingStoresYear()
    {
        QFETCH(QString, way);
        QFETCH(QString, stored);
        TestProgram p;
        p.addCyclist(QStringLiteral("Jan"));
        p.addCyclist(QStringLiteral("Eva"));
        TfrmBase* w = p.start();
        p.signIn(QStringLiteral("Jan"));
        const QString backup = p.folder() + QStringLiteral("/before.rydexbackup");
        w->chooseBackupFile = [&backup](const QString&) { return backup; };
        w->chooseRestoreFile = [&backup](const QString&) { return backup; };
        w->mnuBackup->trigger();
        w->btnUp->click();
        QCOMPARE(w->lblYear->text(), QStringLiteral("2006"));
        const auto storedYear = [&p] {
            return p.cyclistKey(QStringLiteral("Jan"))
                .readText(QStringLiteral("CurrentYear"), QString());
        };
        // The dialogs are read as they open: showing them lets the event
        // loop come round.
        const ReadAtShow settingsSees(w->settingsDialog(), storedYear);
        const ReadAtShow newUserSees(w->newUserDialog(), storedYear);

        if (way == QLatin1String("signOut"))
            w->mnuLogoff->trigger();
        else if (way == QLatin1String("exit"))
            w->mnuQuit->trigger();
        else if (way == QLatin1String("close"))
            w->close();
        else if (way == QLatin1String("settings"))
            w->mnuOptions->trigger();
        else if (way == QLatin1String("newCyclist"))
            w->openNewCyclistDialog();
        else if (way == QLatin1String("anotherCyclist"))
            p.signIn(QStringLiteral("Eva"));
        else if (way == QLatin1String("restore"))
            w->mnuRestore->trigger();
        QCOMPARE(storedYear(), stored);
        if (way == QLatin1String("settings"))
            QCOMPARE(settingsSees.read, stored);
        if (way == QLatin1String("newCyclist"))
            QCOMPARE(newUserSees.read, stored);
        // Nothing left waiting to be written afterwards: the next sign-in
        // shows that year.
        p.signIn(QStringLiteral("Jan"));
        QCOMPARE(w->lblYear->text(), stored);
        w->mnuLogoff->trigger();
        w->waitForAutomaticBackup();
    }

    // "Back up..." offers a dated name in the documents folder (or the home
    // folder without one) and says where
    // it wrote; a place it cannot write is an error and leaves nothing. A
    // sign-out takes the day's automatic backup beside the store, once.
    void backupCommands()
    {
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        p.addRides({{.date = QDate(2005, 3, 2), .km = QStringLiteral("12.5")},
                    {.user = QStringLiteral("Jan"),
                     .date = QDate(2006, 1, 2),
                     .km = QStringLiteral("3")}});
        TfrmBase* w = p.start();
        QString offered;
        const QString target = p.folder() + QStringLiteral("/mine.rydexbackup");
        w->chooseBackupFile = [&](const QString& suggested) {
            offered = suggested;
            return target;
        };
        // A fresh account has no documents folder yet: the home folder is offered.
        const QString name = QStringLiteral("/Rydex 2005 backup ") +
                             TestEnv::today().toString(Qt::ISODate) +
                             QStringLiteral(".rydexbackup");
        w->mnuBackup->trigger();
        QCOMPARE(offered, QDir::homePath() + name);
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        w->mnuBackup->trigger();
        QCOMPARE(offered, documents + name);
        QCOMPARE(w->StatusBar->currentMessage(), QStringLiteral("Záloha uložena: ") + target);
        QCOMPARE(readBackup(target).rides, 2);
        w->chooseBackupFile = [&](const QString&) {
            return p.folder() + QStringLiteral("/no/b.rydexbackup");
        };
        w->mnuBackup->trigger();
        QCOMPARE(p.dialogs().last().kind, QStringLiteral("error"));
        QVERIFY(!QFileInfo::exists(p.folder() + QStringLiteral("/no")));

        const QString today = QFileInfo(p.storePath()).absolutePath() +
                              QStringLiteral("/backups/Rydex 2005 backup ") +
                              TestEnv::today().toString(Qt::ISODate) +
                              QStringLiteral(".rydexbackup");
        p.signIn(QStringLiteral("Eva"));
        addTestRide(*p.table(), {.date = QDate(2005, 3, 9), .km = QStringLiteral("4")});
        w->mnuLogoff->trigger();
        w->waitForAutomaticBackup();
        QCOMPARE(readBackup(today).rides, 3);
        QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);

        // "Restore..." starts in the automatic backups, shows what the
        // backup holds, keeps the state before and shows the welcome page.
        p.signIn(QStringLiteral("Eva"));
        QStringList listed;
        p.dialogs().handleNextModal([&](QDialog& d) {
            const QTreeWidgetItem* row =
                d.findChild<QTreeWidget*>(QStringLiteral("lstBackups"))->topLevelItem(0);
            listed << row->text(1) << row->text(2);
            return int(QDialog::Rejected);
        });
        w->mnuRestore->trigger();
        QCOMPARE(listed, QStringList({"Eva (2), Jan (1)", "3"}));
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
        QString folder;
        w->chooseRestoreFile = [&](const QString& start) {
            folder = start;
            return target;
        };
        w->mnuRestore->trigger();
        QCOMPARE(folder, QFileInfo(today).absolutePath());
        QVERIFY2(p.dialogs().last().text.contains(QStringLiteral("Eva (1), Jan (1)")),
                 qPrintable(p.dialogs().last().text));
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QCOMPARE(p.stored(QStringLiteral("Eva")).size(), 1);
        QVERIFY(w->StatusBar->currentMessage().startsWith(QStringLiteral("Obnoveno ze zálohy: ")));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
        p.signIn(QStringLiteral("Eva"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Eva"));
        w->mnuLogoff->trigger();
        // Closed from the welcome page another day, after a change of the
        // preferences only.
        Clock::setFixedToday(TestEnv::today().addDays(1));
        p.cyclistKey(QStringLiteral("Eva")).writeInteger(QStringLiteral("3"), 1);
        w->close();
        w->waitForAutomaticBackup();
        Clock::setFixedToday(TestEnv::today());
        QCOMPARE(QDir(QFileInfo(today).absolutePath()).entryList(QDir::Files).size(), 3);
    }

    // "Database...": a text the program will not keep is refused with the
    // dialog open; a store that cannot be used leaves the one in use; the
    // choice reaches the preference file only once a store opened.
    void databaseCommand_data()
    {
        QTest::addColumn<QString>("text"); // null: this computer's file
        QTest::addColumn<QString>("refusal");
        QTest::newRow("this computer, as before") << QString() << QString();
        QTest::newRow("empty text")
            << QString(QLatin1String("")) << Msg::text(Msg::ServerTextEmpty);
        QTest::newRow("password in the text")
            << QStringLiteral("host=db dbname=club password=Tajne123")
            << Msg::text(Msg::ServerTextPassword);
        QTest::newRow("password in a URI") << QStringLiteral("postgresql://jan:Tajne123@db/club")
                                           << Msg::text(Msg::ServerTextPassword);
        QTest::newRow("no server there")
            << QStringLiteral("host=/nonexistent/socket/folder dbname=club connect_timeout=2")
            << QString();
        // Taken once the user agreed to its tables; then back to the file.
        QTest::newRow("an empty server database") << QStringLiteral("(fresh)") << QString();
    }
    void databaseCommand()
    {
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        const bool fresh = text == QLatin1String("(fresh)");
        if (fresh)
            text = TestServer::freshStore().connectionText();
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        p.addRides({{.date = QDate(2005, 3, 2), .km = QStringLiteral("12.5")}});
        TfrmBase* w = p.start();
        p.signIn(QStringLiteral("Eva"));
        const QByteArray before = p.preferenceBytes();
        bool stayed = false;
        bool copyEnabled = false;
        p.dialogs().handleNextModal([&](QDialog& d) {
            auto& dialog = dynamic_cast<TfrmDatabase&>(d);
            if (!text.isNull()) {
                dialog.rbServer->setChecked(true);
                dialog.edtServer->setText(text);
            }
            if (fresh) {
                // Tried, then this computer's rides copied there twice:
                // the second copy adds nothing.
                dialog.btnTest->click();
                copyEnabled = dialog.btnCopy->isEnabled();
                dialog.btnCopy->click();
                dialog.btnCopy->click();
            }
            dialog.btnOk->click();
            stayed = dialog.isVisible() && dialog.result() != QDialog::Accepted;
            return dialog.result();
        });
        w->mnuDatabase->trigger();
        QCOMPARE(p.dialogs().raised().first().className, QStringLiteral("TfrmDatabase"));
        const ScriptedPresenter::Raised last = p.dialogs().last();
        if (fresh) {
            QVERIFY(copyEnabled);
            QStringList seen;
            for (const ScriptedPresenter::Raised& r : p.dialogs().raised())
                seen << r.name + QLatin1Char(':') + r.text;
            QCOMPARE(seen, QStringList({QStringLiteral("frmDatabase:"),
                                        QStringLiteral("CreateTablesQuestion:") +
                                            Msg::format(Msg::ServerEmptyQuestion,
                                                        {StoreLocation::server(text).shown()}),
                                        QStringLiteral("CopyDone:") +
                                            Msg::format(Msg::DatabaseCopyDone, {"1", "0"}),
                                        QStringLiteral("CopyDone:") +
                                            Msg::format(Msg::DatabaseCopyDone, {"0", "1"})}));
            QVERIFY(!stayed);
            QCOMPARE(p.data()->connection()->location(), StoreLocation::server(text));
            QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
            const PreferenceKey program = PreferenceStore(p.preferencePath())
                                              .openKey(PreferenceStore::programKeyPath(), false);
            QCOMPARE(program.readText(QStringLiteral("store"), QString()),
                     QStringLiteral("server"));
            QCOMPARE(program.readText(QStringLiteral("server"), QString()), text);
            p.signIn(QStringLiteral("Eva"));
            QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
            QCOMPARE(p.table()->recordCount(), 1);
            // Backups are of this computer's file: never of a file named by
            // the connection text, never a restore over it.
            const QString backupRefused = standardErrorText(
                Msg::format(Msg::DatabaseServerBackup, {StoreLocation::server(text).shown()}));
            for (MenuItem* command : {w->mnuBackup, w->mnuRestore}) {
                p.dialogs().clear();
                command->trigger();
                QCOMPARE(p.dialogs().raised().size(), 1);
                QCOMPARE(p.dialogs().last().text, backupRefused);
            }
            w->mnuLogoff->trigger();
            w->waitForAutomaticBackup();
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 1);
            p.signIn(QStringLiteral("Eva"));
            // Back to this computer's rides; the text stays for next time.
            p.dialogs().handleNextModal([](QDialog& d) {
                auto& dialog = dynamic_cast<TfrmDatabase&>(d);
                dialog.rbFile->setChecked(true);
                dialog.btnOk->click();
                return dialog.result();
            });
            w->mnuDatabase->trigger();
            QCOMPARE(p.data()->connection()->location(), StoreLocation::file(p.storePath()));
            QCOMPARE(program.readText(QStringLiteral("store"), QString()), QStringLiteral("file"));
            QCOMPARE(program.readText(QStringLiteral("server"), QString()), text);
            p.signIn(QStringLiteral("Eva"));
            QCOMPARE(p.table()->recordCount(), 1);
            return;
        }
        if (text.isNull()) {
            // Nothing changed: still signed in, nothing written.
            QCOMPARE(p.dialogs().raised().size(), 1);
            QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
        } else if (!refusal.isNull()) {
            QVERIFY(stayed);
            QCOMPARE(last.kind, QStringLiteral("error"));
            QCOMPARE(last.text, standardErrorText(refusal));
            QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
        } else {
            // Told which store it stays with, and why; the file is in use.
            QVERIFY(stayed);
            QCOMPARE(last.kind, QStringLiteral("error"));
            const QString prefix =
                Msg::format(Msg::DatabaseNotUsed, {QDir::toNativeSeparators(p.storePath()),
                                                   StoreLocation::server(text).shown(), QString()});
            QVERIFY2(last.text.startsWith(prefix), qPrintable(last.text));
            QCOMPARE(p.data()->connection()->location(), StoreLocation::file(p.storePath()));
            p.signIn(QStringLiteral("Eva"));
            QCOMPARE(p.table()->recordCount(), 1);
        }
        QCOMPARE(p.preferenceBytes(), before);
    }

    // Rides another computer saved for the cyclist shown appear in the month
    // view, the current ride kept; not under a dialog, nor for another cyclist.
    // On the file the word of a change is given by hand; the server sends
    // its own.
    void changesFromElsewhere_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("file") << false;
        QTest::newRow("server") << true;
    }
    void changesFromElsewhere()
    {
        QFETCH(bool, server);
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        const StoreLocation store =
            server ? TestServer::freshStore() : StoreLocation::file(p.storePath());
        TData other(store);
        other.connection()->setCreationConsent([](const QString&) { return true; });
        other.open();
        for (const TestRide& ride :
             {TestRide{.date = QDate(2005, 3, 2), .km = QStringLiteral("12.5")},
              TestRide{.date = QDate(2005, 3, 9), .km = QStringLiteral("20")}})
            addTestRide(*other.table(), ride);
        if (server)
            chooseServer(p, store);
        TfrmBase* w = p.start();
        p.signIn(QStringLiteral("Eva"));
        QCOMPARE(p.data()->connection()->location(), store);
        p.table()->last();
        const int current = p.table()->value(RideField::id).toInt();
        ADOConnection* connection = p.data()->connection();
        const auto elsewhere = [&](const QString& user, const QDate& date) {
            addTestRide(*other.table(), {.user = user, .date = date, .km = QStringLiteral("10")});
            if (!server)
                emit connection->ridesChangedElsewhere(user);
        };
        QSignalSpy filled(w, &TfrmBase::monthViewChanged);
        elsewhere(QStringLiteral("Jan"), QDate(2005, 3, 5));
        QTest::qWait(300);
        QCOMPARE(filled.count(), 0);

        elsewhere(QStringLiteral("Eva"), QDate(2005, 3, 20));
        QTRY_COMPARE_WITH_TIMEOUT(p.table()->recordCount(), 3, 1000);
        QCOMPARE(w->lblKilometry->text(), QStringLiteral("42"));
        QCOMPARE(p.table()->value(RideField::id).toInt(), current);

        // The record dialog open on the current ride: its rows stay put.
        int whileOpen = -1;
        int currentWhileOpen = -1;
        p.dialogs().handleNextModal([&](QDialog& d) {
            elsewhere(QStringLiteral("Eva"), QDate(2005, 3, 25));
            QTest::qWait(400);
            whileOpen = p.table()->recordCount();
            currentWhileOpen = p.table()->value(RideField::id).toInt();
            return d.result();
        });
        w->mnuUpravaZaznamu->trigger();
        QCOMPARE(whileOpen, 3);
        QCOMPARE(currentWhileOpen, current);
        QTRY_COMPARE_WITH_TIMEOUT(w->lblKilometry->text(), QStringLiteral("52"), 1000);
        QCOMPARE(p.table()->recordCount(), 4);
        QCOMPARE(p.table()->value(RideField::id).toInt(), current);
    }

    // A server that asks for a password at start-up: what the user types
    // opens it and serves the sign-in; Cancel leaves the store closed with
    // the server's words, as a store that cannot be opened. The password
    // reaches no file.
    void serverPasswordAtStartUp_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::newRow("typed") << true;
        QTest::newRow("cancelled") << false;
    }
    void serverPasswordAtStartUp()
    {
        QFETCH(bool, typed);
        const StoreLocation store = TestServer::freshStore();
        {
            TData owner(store);
            owner.connection()->setCreationConsent([](const QString&) { return true; });
            owner.open();
            addTestRide(*owner.table(), {.date = QDate(2005, 3, 2), .km = QStringLiteral("12.5")});
        }
        onOwnConnection(StoreLocation::server(TestServer::adminText()),
                        {QStringLiteral("DO $$ BEGIN CREATE ROLE rydex_locked LOGIN PASSWORD "
                                        "'club-secret'; EXCEPTION WHEN duplicate_object OR "
                                        "unique_violation THEN NULL; END $$")});
        onOwnConnection(store,
                        {QStringLiteral("GRANT USAGE ON SCHEMA public TO rydex_locked"),
                         QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON rydex, imports "
                                        "TO rydex_locked"),
                         QStringLiteral("GRANT SELECT, UPDATE ON rydex_store TO rydex_locked"),
                         QStringLiteral("GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA public TO "
                                        "rydex_locked")});
        const StoreLocation locked =
            StoreLocation::server(QString(store.connectionText())
                                      .replace(QRegularExpression(QStringLiteral("user=\\S+")),
                                               QStringLiteral("user=rydex_locked")));
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        chooseServer(p, locked);
        QString reason;
        p.dialogs().setModalHandler([&](QDialog& d) {
            auto& dialog = dynamic_cast<TfrmPassword&>(d);
            reason = dialog.lblReason->text();
            if (!typed)
                return int(QDialog::Rejected);
            dialog.edtPassword->setText(QStringLiteral("club-secret"));
            dialog.btnOk->click();
            return dialog.result();
        });
        TfrmBase* w = p.start();
        const QString asked = Msg::format(
            Msg::ServerPasswordNeeded, {locked.connectionText(), QStringLiteral("rydex_locked")});
        QCOMPARE(reason, asked);
        QCOMPARE(p.dialogs().count(QStringLiteral("modal")), 1);
        p.signIn(QStringLiteral("Eva"));
        if (typed) {
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 0);
            QCOMPARE(p.dialogs().count(QStringLiteral("modal")), 1);
            QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
            QCOMPARE(p.table()->recordCount(), 1);
        } else {
            // Asked again at sign-in, cancelled again: the welcome page.
            QCOMPARE(p.dialogs().count(QStringLiteral("modal")), 2);
            QCOMPARE(p.dialogs().count(QStringLiteral("error")), 2);
            QCOMPARE(p.dialogs().last().text, standardErrorText(asked));
            QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        }
        QVERIFY(!p.preferenceBytes().contains("club-secret"));
    }

    void firstCyclistFromAnEmptyMachine()
    {
        TestProgram p;
        QDir().mkpath(p.folder() + QStringLiteral("/lng"));
        QVERIFY(QFile::copy(QStringLiteral(RYDEX_LANGUAGES "/english.lng"),
                            p.folder() + QStringLiteral("/lng/english.lng")));
        TfrmBase* w = p.start();
        QVERIFY(w->mnuLogin->submenu()->actions().isEmpty());
        QVERIFY(w->mnuNewCyclist->isVisible());
        QVERIFY(w->mnuNewCyclist->isEnabled());
        // The welcome page says how to begin, naming the menu as it reads.
        QVERIFY(w->lblFirstCyclist->isVisibleTo(w));
        QCOMPARE(
            w->lblFirstCyclist->text(),
            QStringLiteral("There is no cyclist yet. To begin, choose Rydex › New cyclist..."));
        // Resting on the empty sign-in submenu first must not keep it from
        // opening once it lists a cyclist.
        restOn(w, w->mnuLogin);
        p.dialogs().handleNextModal([](QDialog& d) {
            auto* name = d.findChild<QLineEdit*>(QStringLiteral("edtCycling"));
            name->insert(QStringLiteral("Ondřej O'Neil"));
            d.findChild<QPushButton*>(QStringLiteral("btnCreate"))->click();
            return int(QDialog::Accepted);
        });
        QMenu* menu = restOn(w, w->mnuNewCyclist);
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(w->mnuNewCyclist).center());
        QCOMPARE(p.dialogs().last().className, QStringLiteral("TfrmNewUser"));
        QCOMPARE(p.loginMenu(), QStringList({QStringLiteral("menu0=Ondřej O'Neil")}));
        QVERIFY(!w->mnuNewCyclist->isVisible());
        QVERIFY(!w->lblFirstCyclist->isVisibleTo(w));
        menu = restOn(w, w->mnuLogin);
        // What the window system is asked to show, not only the widget's flag.
        QWindow* shown = w->mnuLogin->submenu()->windowHandle();
        QVERIFY(shown && shown->isVisible());
        menu->hide();
        p.signIn();
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Ondřej O'Neil"));
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
    }

    void commandLineFiles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("missing");
        // "@" stands for the working folder, which holds a.fit, b.gpx.gz,
        // -odd.tcx and the folder Activities.
        QTest::newRow("relative, made absolute")
            << QStringList{"a.fit"} << QStringList{"@/a.fit"} << QStringList{};
        QTest::newRow("options skipped, order kept")
            << QStringList{"-x", "Activities", "--style=y", "b.gpx.gz", "a.fit"}
            << QStringList{"@/Activities", "@/b.gpx.gz", "@/a.fit"} << QStringList{};
        QTest::newRow("missing listed apart")
            << QStringList{"gone.tcx", "a.fit", "Activities/gone.fit"} << QStringList{"@/a.fit"}
            << QStringList{"@/gone.tcx", "@/Activities/gone.fit"};
        QTest::newRow("after --, a file whatever its name")
            << QStringList{"--", "-odd.tcx"} << QStringList{"@/-odd.tcx"} << QStringList{};
        QTest::newRow("file address and dot segments")
            << QStringList{"file://@/Activities/../a.fit", "./Activities/"}
            << QStringList{"@/a.fit", "@/Activities"} << QStringList{};
        QTest::newRow("absolute stays")
            << QStringList{"@/b.gpx.gz"} << QStringList{"@/b.gpx.gz"} << QStringList{};
    }

    void commandLineFiles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        QFETCH(QStringList, missing);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Activities")));
        for (const char* name : {"a.fit", "b.gpx.gz", "-odd.tcx"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const auto placed = [&dir](QStringList list) {
            return list.replaceInStrings(QStringLiteral("@"), dir.path());
        };
        const CommandLine::FileArguments got =
            CommandLine::fileArguments(placed(arguments), dir.path());
        QCOMPARE(got.files, placed(files));
        QCOMPARE(got.missing, placed(missing));
        // A file named like an option after "--" is not taken for one.
        QByteArray program("rydex"), dashes("--"), help("--help");
        const char* argv[] = {program.data(), dashes.data(), help.data()};
        QCOMPARE(CommandLine::request(3, argv), CommandLine::Request::Run);
    }

    void oneCopyTakesTheFilesOfTheOthers()
    {
        QTemporaryDir dir;
        const QString address = dir.filePath(QStringLiteral("rydex.socket"));
        RunningCopy first(address);
        QSignalSpy arrived(&first, &RunningCopy::filesArrived);
        QCOMPARE(first.start({}), RunningCopy::Start::Listening);

        // A second copy hands its files over and is told they were taken;
        // it blocks meanwhile, so it runs on a thread of its own here.
        const QStringList files{QStringLiteral("/rides/b.fit"), QStringLiteral("relative.gpx"),
                                QStringLiteral("/rides/a ř\n.tcx")};
        RunningCopy::Start secondStart = RunningCopy::Start::Alone;
        std::thread second([&] { secondStart = RunningCopy(address).start(files); });
        QTRY_COMPARE(arrived.size(), 1);
        second.join();
        QCOMPARE(secondStart, RunningCopy::Start::HandedOver);
        // In their order; a path that is not absolute means nothing here.
        QCOMPARE(arrived.at(0).at(0).toStringList(),
                 (QStringList{QStringLiteral("/rides/b.fit"), QStringLiteral("/rides/a ř\n.tcx")}));
        // A copy without files runs beside the first, and hands nothing over.
        QCOMPARE(RunningCopy(address).start({}), RunningCopy::Start::Beside);
        QTest::qWait(50);
        QCOMPARE(arrived.size(), 1);
        // A stranger's bytes are not taken for files.
        QLocalSocket stranger;
        stranger.connectToServer(address);
        QVERIFY(stranger.waitForConnected(1000));
        stranger.write(QByteArray("GET / HTTP/1.0\r\n\r\n\0\0", 20));
        QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(arrived.size(), 1);

        // The socket of a copy that crashed is removed and taken over, and
        // the files are not handed to nobody.
        const QString stale = dir.filePath(QStringLiteral("crashed.socket"));
        QVERIFY(leaveStaleSocket(stale));
        RunningCopy after(stale);
        QCOMPARE(after.start({QStringLiteral("/rides/c.fit")}), RunningCopy::Start::Listening);
        QLocalSocket probe;
        probe.connectToServer(stale);
        QVERIFY(probe.waitForConnected(1000));
        // Nowhere to put a socket: the copy runs alone.
        QCOMPARE(RunningCopy(dir.filePath(QStringLiteral("no/such/folder/s"))).start({}),
                 RunningCopy::Start::Alone);
    }

    void filesWaitUntilTheWindowCanTakeThem()
    {
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva"));
        p.addCyclist(QStringLiteral("Jan"));
        TfrmBase* w = p.start();
        QList<std::pair<QString, QStringList>> opened;
        ImportRequests requests;
        requests.setOpener([&opened](TfrmBase& window, const QStringList& files) {
            opened.append({window.cyclistName(), files});
        });
        const QStringList a{QStringLiteral("/r/a.fit")}, b{QStringLiteral("/r/b.gpx")};

        // Before the window exists, and while a modal dialog is open, files
        // wait, and come together in their order once it closes.
        requests.add(a);
        QTest::qWait(300);
        requests.setWindow(w);
        QDialog modal(w);
        modal.setModal(true);
        modal.show();
        requests.add(b);
        QTest::qWait(600);
        QVERIFY(opened.isEmpty());
        QCOMPARE(requests.waiting(), a + b);
        // Nobody signed in: told, then asked who; the files go to him.
        p.dialogs().handleNextModal([](QDialog& d) {
            static_cast<QInputDialog&>(d).setTextValue(QStringLiteral("Jan"));
            return int(QDialog::Accepted);
        });
        modal.close();
        QTRY_COMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0), std::make_pair(QStringLiteral("Jan"), a + b));
        QCOMPARE(p.dialogs().raised().size(), 2);
        QCOMPARE(p.dialogs().raised().at(0).name, QStringLiteral("msgDlgImportSignIn"));
        QCOMPARE(p.dialogs().raised().at(1).name, QStringLiteral("SignInPrompt"));
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);

        // Signed in: straight to the preview.
        requests.add(a);
        QTRY_COMPARE(opened.size(), 2);
        QCOMPARE(p.dialogs().raised().size(), 2);

        // Files that come while the import window is open join it.
        ImportRequests toPreview;
        toPreview.setWindow(w);
        bool joined = false;
        p.dialogs().handleNextModal([&](QDialog&) {
            toPreview.add(b);
            joined = QTest::qWaitFor([&] { return toPreview.waiting().isEmpty(); }, 2000);
            return int(QDialog::Rejected);
        });
        toPreview.add(a);
        QTRY_COMPARE(p.dialogs().count(QStringLiteral("modal")), 2);
        QTest::qWait(400);
        QVERIFY(joined);
        QCOMPARE(p.dialogs().count(QStringLiteral("modal")), 2);
        QCOMPARE(p.dialogs().last().className, QStringLiteral("TfrmImport"));

        // Declining to sign in drops the files and changes nothing.
        w->mnuLogoffClick();
        p.dialogs().clear();
        requests.add(b);
        QTRY_COMPARE(p.dialogs().count(QStringLiteral("modal")), 1);
        QTest::qWait(300);
        QCOMPARE(opened.size(), 2);
        QVERIFY(requests.waiting().isEmpty());
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);

        // No cyclist at all: told how to make one; nothing else is asked.
        TestProgram empty;
        ImportRequests none;
        none.setOpener([&opened](TfrmBase&, const QStringList& files) {
            opened.append({QString(), files});
        });
        none.setWindow(empty.start());
        none.add(a);
        QTRY_COMPARE(empty.dialogs().raised().size(), 1);
        QVERIFY2(empty.dialogs().last().text.contains(QStringLiteral("Rydex › Nový uživatel")),
                 qPrintable(empty.dialogs().last().text));
        QTest::qWait(300);
        QCOMPARE(opened.size(), 2);
    }

    void storedYearOutsideRangeIsARangeError()
    {
        TestProgram p;
        p.addCyclist(QStringLiteral("Eva")).writeInteger(QStringLiteral("CurrentYear"), 70000);
        TfrmBase* w = p.start();
        p.signIn();
        QCOMPARE(p.dialogs().last().kind, QStringLiteral("error"));
        QCOMPARE(p.dialogs().last().text, QStringLiteral("Range check error."));
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QVERIFY(!w->mnuLogoff->isEnabled());
    }
};

RYDEX_TEST_MAIN(TestMainWindow, QApplication)
#include "tst_mainwindow.moc"
