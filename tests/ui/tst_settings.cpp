#include "TestMain.h"
#include "TestProgram.h"

#include "app/TfrmBase.h"
#include "settings/JerseyPictures.h"
#include "settings/TfrmNewUser.h"
#include "settings/TfrmSettings.h"
#include "stats/MonthChartView.h"
#include "store/ADOTable.h"
#include "prefs/PreferenceStore.h"
#include "store/RideFilter.h"
#include "store/TData.h"
#include "toolkit/DBGrid.h"
#include "toolkit/GroupFrame.h"
#include "toolkit/ImageList.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>

namespace {
struct Ride
{
    QString user;
    QDate date;
};

// One run of the program on its own store and preferences, the cyclists and
// rides given already there.
class Run : public TestProgram
{
public:
    explicit Run(const QStringList& cyclists, const QList<Ride>& rides = {})
    {
        for (const QString& name : cyclists)
            addCyclist(name);
        QList<TestRide> written;
        for (const Ride& r : rides)
            written.append({.user = r.user, .date = r.date});
        addRides(written);
        w = start();
        settings = w->settingsDialog();
        newUser = w->newUserDialog();
    }

    // Opens the settings dialog from the menu as the user would, does what
    // the test asks while it is shown, and closes it by its title bar.
    void withSettings(const std::function<void(TfrmSettings&)>& act)
    {
        bool ran = false;
        dialogs().handleNextModal([&](QDialog& d) {
            act(*settings);
            d.close();
            ran = true;
            return int(QDialog::Rejected);
        });
        w->mnuOptions->trigger();
        QVERIFY2(ran, "the settings dialog did not open");
    }

    // Queues the answer of the next new cyclist dialog: the name typed, then
    // "Vytvoř" pressed (once, or as often as the dialog stays open).
    void typeNewCyclist(const QString& name, int* result = nullptr)
    {
        dialogs().handleNextModal([this, name, result](QDialog& d) {
            newUser->edtCycling->setText(name);
            newUser->btnCreate->click();
            if (result)
                *result = d.result();
            return d.result();
        });
    }

    int ridesOf(const QString& name) const { return int(stored(name).size()); }

    TfrmBase* w = nullptr;
    TfrmSettings* settings = nullptr;
    TfrmNewUser* newUser = nullptr;
};

QStringList texts(const QTreeWidget* tree)
{
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        out << tree->topLevelItem(i)->text(0);
    return out;
}

// The jersey a node wears: 0 to 3, -1 for none.
int jerseyOf(const QTreeWidgetItem* node)
{
    const QIcon icon = node->icon(0);
    if (icon.isNull())
        return -1;
    const QImage shown = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    QImage blank(shown.size(), QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    if (shown == blank)
        return -1;
    for (int k = 0; k < JerseyPictures::count; ++k) {
        if (shown == JerseyPictures::jersey(k).toImage().convertToFormat(QImage::Format_ARGB32))
            return k;
    }
    return -2;
}

QList<int> jerseys(const QTreeWidget* tree)
{
    QList<int> out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        out << jerseyOf(tree->topLevelItem(i));
    return out;
}

bool cyclistCommandsOff(const TfrmBase* w)
{
    return !w->mnuLogoff->isEnabled() && !w->mnuPrint->isEnabled() && !w->mnuRecords->isEnabled() &&
           !w->mnuOptions->isEnabled();
}

const RideFilter monthOfAda = RideFilter::month(QStringLiteral("Ada"), 2005, 3);
} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void columnAndChartChoices()
    {
        Run run({QStringLiteral("Eva"), QStringLiteral("Jan")});
        TfrmBase* w = run.w;
        run.signIn(QStringLiteral("Eva"));
        const PreferenceKey eva = run.cyclistKey(QStringLiteral("Eva"));
        run.withSettings([&](TfrmSettings& s) {
            QCOMPARE(s.windowTitle(), QStringLiteral("Nastavení"));
            QCOMPARE(s.size(), QSize(389, 245));
            QCOMPARE(s.Pages->geometry(), QRect(0, 32, 389, 213));
            QCOMPARE(s.Pages->currentIndex(), int(TfrmSettings::UsersPage));
            QCOMPARE(s.Pages->count(), 3);
            // The groups' texts lie inside their frames, below the frame line.
            for (QGroupBox* group : {s.grbTabulka, s.grpGraf}) {
                const QRect inside = group->rect().adjusted(0, groupFrameTop(group), 0, 0);
                for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    QVERIFY2(inside.contains(child->geometry()), qPrintable(child->objectName()));
            }
            for (QCheckBox* box : s.columnBoxes)
                QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
            QVERIFY(s.rdbDst->isChecked());
            // Showing the defaults writes nothing.
            QVERIFY(!eva.hasValue(QStringLiteral("8")));
            QVERIFY(!eva.hasValue(QStringLiteral("DefaultGraf")));

            s.chboxCelkem->click();
            QVERIFY(w->Grid->isColumnHidden(8));
            QCOMPARE(eva.readText(QStringLiteral("8"), QString()), QStringLiteral("0"));
            s.chboxCelkem->click();
            QVERIFY(!w->Grid->isColumnHidden(8));
            QCOMPARE(eva.readText(QStringLiteral("8"), QString()), QStringLiteral("1"));
            s.chboxObtiznost->click();
            QVERIFY(w->Grid->isColumnHidden(3));

            s.rdbPulse->click();
            QCOMPARE(w->Grafy->tabIndex(), 2);
            QCOMPARE(w->Graf->activeSeries(), 2);
            QCOMPARE(eva.readText(QStringLiteral("DefaultGraf"), QString()), QStringLiteral("2"));
            s.Pages->setCurrentIndex(TfrmSettings::TablePage);
        });
        QCOMPARE(run.dialogs().count(QStringLiteral("error")), 0);
        // The page open at closing opens next time.
        run.withSettings([](TfrmSettings& s) {
            QCOMPARE(s.Pages->currentIndex(), int(TfrmSettings::TablePage));
        });

        // Another cyclist sees his own choices; only the controls that change
        // write anything.
        run.signIn(QStringLiteral("Jan"));
        const PreferenceKey jan = run.cyclistKey(QStringLiteral("Jan"));
        run.withSettings([&](TfrmSettings& s) {
            QVERIFY(s.chboxObtiznost->isChecked());
            QVERIFY(s.rdbDst->isChecked());
            QVERIFY(!w->Grid->isColumnHidden(3));
            QCOMPARE(w->Grafy->tabIndex(), 1);
        });
        QCOMPARE(jan.readText(QStringLiteral("3"), QString()), QStringLiteral("1"));
        QCOMPARE(jan.readText(QStringLiteral("DefaultGraf"), QString()), QStringLiteral("1"));
        QVERIFY(!jan.hasValue(QStringLiteral("8")));

        run.signIn(QStringLiteral("Eva"));
        run.withSettings([&](TfrmSettings& s) {
            QVERIFY(!s.chboxObtiznost->isChecked());
            QVERIFY(s.chboxCelkem->isChecked());
            QVERIFY(s.rdbPulse->isChecked());
            QVERIFY(w->Grid->isColumnHidden(3));
        });
        QCOMPARE(eva.readText(QStringLiteral("DefaultGraf"), QString()), QStringLiteral("2"));
    }

    void seasonsCountsAndJerseys()
    {
        Run run({QStringLiteral("Ada"), QStringLiteral("Bob"), QStringLiteral("Cyr"),
                 QStringLiteral("Dan"), QStringLiteral("Eda")},
                {{QStringLiteral("Ada"), QDate(2003, 5, 1)},
                 {QStringLiteral("Ada"), QDate(2003, 7, 1)},
                 {QStringLiteral("Ada"), QDate(2005, 3, 2)},
                 {QStringLiteral("Cyr"), QDate(2004, 8, 8)},
                 {QStringLiteral("ada"), QDate(2002, 1, 1)}});
        run.signIn(QStringLiteral("Ada"));
        ADOTable* table = run.data()->table();
        run.withSettings([&](TfrmSettings& s) {
            QTreeWidget* list = s.listCycling;
            QCOMPARE(texts(list), QStringList({QStringLiteral("Ada"), QStringLiteral("Bob"),
                                               QStringLiteral("Cyr"), QStringLiteral("Dan"),
                                               QStringLiteral("Eda")}));
            QCOMPARE(list->selectedItems().value(0), list->topLevelItem(0));
            QCOMPARE(texts(s.listSezon),
                     QStringList({QStringLiteral("2003"), QStringLiteral("2005")}));
            QCOMPARE(s.lblUserInfo->text(), QStringLiteral("3"));
            QCOMPARE(jerseys(list), QList<int>({0, 1, 2, 3, -1}));
            // The month view's rows are back, its first ride current.
            QCOMPARE(table->rideFilter(), monthOfAda);
            QCOMPARE(table->recordCount(), 1);
            QCOMPARE(table->currentIndex(), 0);
            QVERIFY(!table->controlsDisabled());

            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(list->currentItem()->text(0), QStringLiteral("Bob"));
            QVERIFY(texts(s.listSezon).isEmpty());
            QCOMPARE(s.lblUserInfo->text(), QStringLiteral("0"));
            QCOMPARE(jerseys(list), QList<int>({0, 0, 2, 3, -1}));
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(texts(s.listSezon), QStringList({QStringLiteral("2004")}));
            QCOMPARE(s.lblUserInfo->text(), QStringLiteral("1"));
            QTest::keyClick(list, Qt::Key_End);
            QCOMPARE(s.lblUserInfo->text(), QStringLiteral("0"));
            QCOMPARE(jerseys(list), QList<int>({0, 1, 2, 3, 0}));
            QCOMPARE(table->rideFilter(), monthOfAda);

            // A click of the mouse on a node does the same.
            const QRect first = list->visualItemRect(list->topLevelItem(0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
            QCOMPARE(texts(s.listSezon),
                     QStringList({QStringLiteral("2003"), QStringLiteral("2005")}));
            const QImage season = s.listSezon->topLevelItem(0)->icon(0).pixmap(16, 16).toImage();
            QCOMPARE(season, ImageList::menuImage(0).pixmap(16, 16).toImage());
        });
        QCOMPARE(run.dialogs().raised().size(), 1); // the dialog itself
        // Closing empties the cyclists tree; the seasons stay.
        QCOMPARE(run.settings->listCycling->topLevelItemCount(), 0);
        QCOMPARE(run.settings->listSezon->topLevelItemCount(), 2);
    }

    void storeFailureWhileListingSeasons()
    {
        Run run({QStringLiteral("Ada")}, {{QStringLiteral("Ada"), QDate(2005, 3, 2)}});
        run.signIn(QStringLiteral("Ada"));
        TData* data = run.data();
        // The store goes bad under the running program.
        data->close(true);
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(run.storePath() + suffix);
        {
            QFile f(run.storePath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        run.dialogs().clear();
        run.withSettings([&](TfrmSettings& s) {
            QCOMPARE(run.dialogs().last().name, QStringLiteral("msgDlgNotDatabeseOpen"));
            QCOMPARE(s.lblUserInfo->text(), s.lblPocet->text());
            QVERIFY(texts(s.listSezon).isEmpty());
            QCOMPARE(data->table()->rideFilter(), monthOfAda);
            QVERIFY(!data->table()->controlsDisabled());
        });
        QCOMPARE(run.dialogs().count(QStringLiteral("error")), 0);
    }

    void deletingAndRecreatingCyclists()
    {
        Run run({QStringLiteral("Eva"), QStringLiteral("Jan")},
                {{QStringLiteral("Jan"), QDate(2003, 6, 1)},
                 {QStringLiteral("Jan"), QDate(2005, 3, 2)},
                 {QStringLiteral("Eva"), QDate(2005, 3, 1)}});
        TfrmBase* w = run.w;
        run.cyclistKey(QStringLiteral("Jan")).writeText(QStringLiteral("8"), QStringLiteral("0"));
        run.signIn(QStringLiteral("Eva"));
        run.withSettings([&](TfrmSettings& s) {
            s.listCycling->setCurrentItem(s.listCycling->topLevelItem(1));
            run.dialogs().answerNext(false);
            s.btnDelete->click();
            QCOMPARE(run.dialogs().last().name, QStringLiteral("msgDlgCyclistDelete"));
            QVERIFY(run.cyclistKey(QStringLiteral("Jan")).exists());
            QCOMPARE(w->Pages->currentWidget(), w->WorkPage);

            // Deleting another cyclist signs the main window out all the same.
            s.btnDelete->click();
            QCOMPARE(run.cyclistsKey().subkeys(), QStringList({QStringLiteral("Eva")}));
            QCOMPARE(texts(s.listCycling), QStringList({QStringLiteral("Eva")}));
            QCOMPARE(run.loginMenu(), QStringList({QStringLiteral("menu0=Eva")}));
            QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
            QVERIFY(cyclistCommandsOff(w));
            QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Eva"));
            QVERIFY(!run.data()->table()->isOpen());
            QCOMPARE(run.ridesOf(QStringLiteral("Jan")), 2);

            s.btnDelete->click();
            QCOMPARE(run.dialogs().last().name, QStringLiteral("msgDlgNoDelete"));

            // Created again, Jan finds his rides.
            run.typeNewCyclist(QStringLiteral("Jan"));
            s.btnCreate->click();
            s.listCycling->setCurrentItem(s.listCycling->topLevelItem(1));
            s.listCyclingClick();
            QCOMPARE(texts(s.listSezon),
                     QStringList({QStringLiteral("2003"), QStringLiteral("2005")}));

            // Eva deletes herself: nobody is signed in, so the choices write
            // nothing and her key does not come back.
            s.listCycling->setCurrentItem(s.listCycling->topLevelItem(0));
            s.btnDelete->click();
            QVERIFY(!run.cyclistKey(QStringLiteral("Eva")).exists());
            QVERIFY(!s.grbTabulka->isEnabled() && !s.grpGraf->isEnabled());
            s.chboxCelkem->setChecked(false);
            s.rdbAlt->setChecked(true);
            QVERIFY(!run.cyclistKey(QStringLiteral("Eva")).exists());
            QCOMPARE(w->Grafy->tabIndex(), 1);
        });
        // Jan starts with the default preferences.
        run.signIn(QStringLiteral("Jan"));
        QCOMPARE(run.data()->table()->recordCount(), 1);
        QVERIFY(!w->Grid->isColumnHidden(8));
        run.withSettings([](TfrmSettings& s) {
            QVERIFY(s.grbTabulka->isEnabled());
            QVERIFY(s.chboxCelkem->isChecked());
        });
        QCOMPARE(run.dialogs().count(QStringLiteral("error")), 0);
    }

    void refusedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString exists = QStringLiteral("msgDlgUserExist");
        const QString noName = QStringLiteral("msgDlgNoName");
        const QString invisible = QStringLiteral("msgDlgNameCharacters");
        QTest::newRow("empty") << QString() << noName;
        QTest::newRow("spaces only") << QStringLiteral("   ") << noName;
        QTest::newRow("right-to-left override") << QStringLiteral("Eva\u202Eavon") << invisible;
        QTest::newRow("tab") << QStringLiteral("Eva\tB") << invisible;
        QTest::newRow("lone surrogate") << (QStringLiteral("Eva") + QChar(0xD800)) << invisible;
        QTest::newRow("first, as listed") << QStringLiteral("Anna") << exists;
        QTest::newRow("middle, other case") << QStringLiteral("EVA") << exists;
        QTest::newRow("last, other case") << QStringLiteral("petr") << exists;
    }
    void refusedNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        Run run({QStringLiteral("Anna"), QStringLiteral("eva"), QStringLiteral("Petr")});
        run.signIn(QStringLiteral("Anna"));
        const QStringList menuBefore = run.loginMenu();
        run.withSettings([&](TfrmSettings& s) {
            int result = -1;
            run.typeNewCyclist(name, &result);
            run.dialogs().clear();
            s.btnCreate->click();
            QCOMPARE(result, int(QDialog::Rejected));
            // Each refusal says why.
            QCOMPARE(run.dialogs().count(QStringLiteral("message")), 1);
            QCOMPARE(run.dialogs().last().name, message);
            // The name stays for correcting; nothing changed anywhere.
            QCOMPARE(run.newUser->edtCycling->text(), name);
            QCOMPARE(run.newUser->focusWidget(), run.newUser->edtCycling);
            QCOMPARE(texts(s.listCycling).size(), 3);
            QVERIFY(s.choicesActive());
        });
        QCOMPARE(run.cyclistsKey().subkeys().size(), 3);
        QCOMPARE(run.loginMenu(), menuBefore);
        QCOMPARE(run.w->Pages->currentWidget(), run.w->WorkPage);
    }

    void creatingACyclist()
    {
        Run run({QStringLiteral("Anna"), QStringLiteral("eva")},
                {{QStringLiteral("Anna"), QDate(2004, 1, 1)}});
        TfrmBase* w = run.w;
        TfrmNewUser* dialog = run.newUser;
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Nový uživatel"));
        QCOMPARE(dialog->edtCycling->maxLength(), 20);
        run.signIn(QStringLiteral("Anna"));
        run.withSettings([&](TfrmSettings& s) {
            QString typed;
            run.dialogs().handleNextModal([&](QDialog& d) {
                QTest::keyClicks(dialog->edtCycling, QStringLiteral("Zdenek z Dlouhe Vsi 21"));
                typed = dialog->edtCycling->text();
                dialog->edtCycling->setText(QStringLiteral("Zdeněk"));
                QTest::keyClick(dialog->edtCycling, Qt::Key_Return);
                return d.result();
            });
            s.btnCreate->click();
            // The 21st character is refused.
            QCOMPARE(typed, QStringLiteral("Zdenek z Dlouhe Vsi "));
            QCOMPARE(run.dialogs().last().answer, int(QDialog::Accepted));
            QVERIFY(!dialog->isVisible());
            QVERIFY(dialog->edtCycling->text().isEmpty());
            // Listed last in the tree, in yellow, until the tree is filled again;
            // the seasons still show Anna.
            QCOMPARE(texts(s.listCycling),
                     QStringList({QStringLiteral("Anna"), QStringLiteral("eva"),
                                  QStringLiteral("Zdeněk")}));
            QCOMPARE(jerseyOf(s.listCycling->topLevelItem(2)), 0);
            QCOMPARE(texts(s.listSezon), QStringList({QStringLiteral("2004")}));
            QVERIFY(!s.choicesActive());
        });
        const PreferenceKey created = run.cyclistKey(QStringLiteral("Zdeněk"));
        QVERIFY(created.exists());
        QVERIFY(created.valueNames().isEmpty());
        QCOMPARE(run.loginMenu(),
                 QStringList({QStringLiteral("menu0=Anna"), QStringLiteral("menu1=eva"),
                              QStringLiteral("menu2=Zdeněk")}));
        QCOMPARE(w->Pages->currentWidget(), w->WelcomePage);
        QVERIFY(cyclistCommandsOff(w));
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Anna"));

        // He signs in with every default.
        run.signIn(QStringLiteral("Zdeněk"));
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
        for (int c = 0; c < TfrmSettings::columnCount; ++c)
            QVERIFY(!w->Grid->isColumnHidden(c));
        QCOMPARE(w->Grafy->tabIndex(), 1);
        QCOMPARE(w->lblYear->text(), QStringLiteral("2005"));
        QCOMPARE(run.dialogs().count(QStringLiteral("error")), 0);
    }

    void firstCyclistWithoutTheSettingsDialog()
    {
        Run run({});
        TfrmBase* w = run.w;
        run.typeNewCyclist(QStringLiteral("Eva"));
        w->openNewCyclistDialog();
        QCOMPARE(run.dialogs().last().className, QStringLiteral("TfrmNewUser"));
        QCOMPARE(run.loginMenu(), QStringList({QStringLiteral("menu0=Eva")}));
        QVERIFY(!run.settings->isVisible());
        QCOMPARE(run.settings->listCycling->topLevelItemCount(), 0);
        QVERIFY(cyclistCommandsOff(w));
        // The store is asked when the settings dialog is not open.
        int result = -1;
        run.typeNewCyclist(QStringLiteral("eVA"), &result);
        w->openNewCyclistDialog();
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(run.dialogs().last().name, QStringLiteral("msgDlgUserExist"));
        QCOMPARE(run.cyclistsKey().subkeys(), QStringList({QStringLiteral("Eva")}));
        run.signIn(QStringLiteral("Eva"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - Eva"));
    }

    void namesWithApostropheOrBackslash_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << QStringLiteral("O'Neil");
        QTest::newRow("backslash") << QStringLiteral("C:\\kolo\\2");
        QTest::newRow("both, quoted") << QStringLiteral("a') or ('1'='1\\");
    }
    void namesWithApostropheOrBackslash()
    {
        QFETCH(QString, name);
        QVERIFY(name.size() <= TfrmNewUser::maxNameLength);
        // His rides are in the store before he is created.
        Run run({QStringLiteral("Zora")}, {{name, QDate(2004, 5, 5)},
                                           {name, QDate(2005, 3, 1)},
                                           {name, QDate(2005, 3, 9)},
                                           {QStringLiteral("Zora"), QDate(2005, 3, 3)}});
        TfrmBase* w = run.w;
        run.signIn(QStringLiteral("Zora"));
        run.withSettings([&](TfrmSettings& s) {
            run.typeNewCyclist(name);
            s.btnCreate->click();
        });
        QCOMPARE(run.cyclistsKey().subkeys(), QStringList({name, QStringLiteral("Zora")}));
        QVERIFY(run.cyclistKey(name).subkeys().isEmpty());
        QCOMPARE(run.loginMenu(),
                 QStringList({QStringLiteral("menu0=") + name, QStringLiteral("menu1=Zora")}));

        run.signIn(name);
        QCOMPARE(w->Pages->currentWidget(), w->WorkPage);
        QCOMPARE(w->windowTitle(), QStringLiteral("Rydex 2005 - ") + name);
        QCOMPARE(run.data()->table()->recordCount(), 2);
        run.withSettings([&](TfrmSettings& s) {
            QCOMPARE(s.listCycling->currentItem()->text(0), name);
            QCOMPARE(texts(s.listSezon),
                     QStringList({QStringLiteral("2004"), QStringLiteral("2005")}));
            QCOMPARE(s.lblUserInfo->text(), QStringLiteral("3"));
            s.chboxTep->click();
            QCOMPARE(run.cyclistKey(name).readText(QStringLiteral("11"), QString()),
                     QStringLiteral("0"));
            s.btnDelete->click();
        });
        QCOMPARE(run.cyclistsKey().subkeys(), QStringList({QStringLiteral("Zora")}));
        QCOMPARE(run.loginMenu(), QStringList({QStringLiteral("menu0=Zora")}));
        QCOMPARE(run.ridesOf(name), 3);
        QCOMPARE(run.ridesOf(QStringLiteral("Zora")), 1);
        QCOMPARE(run.dialogs().count(QStringLiteral("error")), 0);
    }
};

RYDEX_TEST_MAIN(TestSettings, QApplication)
#include "tst_settings.moc"
