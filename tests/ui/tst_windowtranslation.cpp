#include "ScopedLocale.h"
#include "TestMain.h"
#include "TestProgram.h"

#include "app/TfrmBase.h"
#include "polyglot/MessageCatalogue.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotManager.h"
#include "records/TfrmNewRecord.h"
#include "records/TfrmWork.h"
#include "settings/TfrmNewUser.h"
#include "settings/TfrmSettings.h"
#include "toolkit/DBComboBox.h"
#include "toolkit/DBGrid.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

namespace {
// A language of our own that renames something of every kind in every
// window, written in the Windows code page of a Czech desktop.
const char renaming[] =
    "[TfrmBase]\r\n"
    "mnuLanguage.Caption='&Language...'\r\n"
    "mnuLanguage.Hint='Choose the language'\r\n"
    "Mesice.Tabs.Strings=Jan,Feb,Mar,Apr,May,Jun,Jul,Aug,Sep,Oct,Nov,Dec\r\n"
    "DBGrid.Columns.Items(0).Title.Caption='Day'\r\n"
    "msgDlgDeleteRecord.Text='Delete the ride?'\r\n"
    "msgDlgDeleteRecord.Button2Caption='Keep it'\r\n"
    "StatisticsPerMonth.Caption='This month'\r\n"
    "StatisticsPerMonthCaption0.Caption='Hours in all, counted to the last second:'\r\n"
    "lblToolBarCaption.Font.Size=14\r\n"
    "[TfrmNewRecord]\r\n"
    "Caption='New ride'\r\n"
    "frmNewRecordSui.Caption='New ride'\r\n"
    "frmNewRecordSui.GroupBox1.Caption='Kind of activity'\r\n"
    "Label1.Caption='Sport'\r\n"
    "btnOk.Caption='Save'\r\n"
    "btnOk.Hint='Stores the ride'\r\n"
    "ComboObtiznost.Items.Strings=hard,medium,easy\r\n"
    "btnCancel.Visible=Yes\r\n" // no element: stops the pass here
    "btnAdd.Caption='never'\r\n"
    "[TfrmSettings]\r\n"
    "TabSheet1.Caption='Table'\r\n"
    "chboxDen.Caption='Day'\r\n"
    "[TfrmNewUser]\r\n"
    "Label1.Caption='Name of the cyclist:'\r\n"
    "msgDlgUserExist.Text='This cyclist exists already!'\r\n"
    "[TfrmWork]\r\n"
    "Caption='Working...'\r\n"
    "Label1.Caption='Please wait...'\r\n"
    "[TfrmInfo]\r\n"
    "btnOk.Caption='Close'\r\n"
    "lblVersionCaption.Caption='Version: \xe8\xed\x73lo'\r\n"
    "[ResourceStrings]\r\n"
    "1009_StoreClosed='The ride store is closed'\r\n";
} // namespace

class TestWindowTranslation : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowFromTheFile();
    void noLanguageFilesKeepsCzech();
};

void TestWindowTranslation::everyWindowFromTheFile()
{
    const ScopedLocale czech(QStringLiteral("cs_CZ"));
    TestProgram program;
    program.addCyclist(QStringLiteral("Eva"));
    QDir().mkpath(program.folder() + "/lng");
    for (const char* name : {"/lng/english.lng", "/lng/other.lng"}) {
        QFile file(program.folder() + QString::fromLatin1(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(name).contains("english") ? QByteArray(renaming) : QByteArray());
    }
    TfrmBase* w = program.start();
    QCOMPARE(w->LanguageManager->CurrentLang(), "english");        // the default of "lng"
    QCOMPARE(program.dialogs().count(QStringLiteral("error")), 1); // the stopped pass

    // The main window: menu, tabs, grid column, message dialog, group box and
    // a label that grew with its longer caption.
    QCOMPARE(w->mnuLanguage->caption(), "&Language...");
    QCOMPARE(w->mnuLanguage->hint(), "Choose the language");
    QCOMPARE(w->Mesice->tabCaption(11), "Dec");
    QCOMPARE(w->Grid->model()->headerData(0, Qt::Horizontal).toString(), "Day");
    QCOMPARE(w->msgDlgDeleteRecord->text(), "Delete the ride?");
    QCOMPARE(w->msgDlgDeleteRecord->button2Caption(), "Keep it");
    auto* month = w->findChild<QGroupBox*>(QStringLiteral("StatisticsPerMonth"));
    QCOMPARE(month->title(), "This month");
    auto* hours = month->findChild<QLabel*>(QStringLiteral("StatisticsPerMonthCaption0"));
    QCOMPARE(hours->width(), hours->sizeHint().width());
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblToolBarCaption"))->font().pointSize(), 14);

    // The record dialog: its title in both places, a group reached through
    // the frame, a list, a button's caption and hint.
    TfrmNewRecord* record = w->recordDialog();
    QCOMPARE(record->windowTitle(), "New ride");
    QCOMPARE(record->frmNewRecordSui->property("Caption").toString(), "New ride");
    QCOMPARE(record->GroupBox1->title(), "Kind of activity");
    QCOMPARE(record->Label1->text(), "Sport");
    QCOMPARE(record->btnOk->text(), "Save");
    QCOMPARE(record->btnOk->toolTip(), "Stores the ride");
    QCOMPARE(record->ComboObtiznost->property("Items").toStringList(),
             (QStringList{"hard", "medium", "easy"}));

    // The pass stopped at "Yes", the last window registered.
    QCOMPARE(record->btnAdd->text(), "Pridat");

    // The settings: a page's tab.
    TfrmSettings* settings = w->settingsDialog();
    QCOMPARE(settings->Pages->tabText(settings->Pages->indexOf(settings->TabSheet1)), "Table");
    QCOMPARE(settings->chboxDen->text(), "Day");

    QCOMPARE(w->newUserDialog()->Label1->text(), "Name of the cyclist:");
    QCOMPARE(w->newUserDialog()->msgDlgUserExist->text(), "This cyclist exists already!");
    QCOMPARE(w->progressWindow()->windowTitle(), "Working...");
    QCOMPARE(w->progressWindow()->Label1->text(), "Please wait...");

    // A message text of the catalogue.
    QCOMPARE(Msg::text(Msg::StoreClosed), "The ride store is closed");

    // The about box is made at each showing, from the file then open; the
    // character codes of a Czech file are read in its code page.
    QString aboutButton, aboutVersion;
    program.dialogs().handleNextModal([&](QDialog& about) {
        aboutButton = about.findChild<QPushButton*>(QStringLiteral("btnOk"))->text();
        aboutVersion = about.findChild<QLabel*>(QStringLiteral("lblVersionCaption"))->text();
        return int(QDialog::Accepted);
    });
    w->mnuAboutClick();
    QCOMPARE(aboutButton, "Close");
    QCOMPARE(aboutVersion, "Version: číslo");

    // Another language that names nothing: the windows keep what they show,
    // an about box made now shows its Czech texts, and messages are the
    // program's own again.
    w->LanguageManager->setCurrentLang(QStringLiteral("other"));
    QCOMPARE(w->mnuLanguage->caption(), "&Language...");
    program.dialogs().handleNextModal([&](QDialog& about) {
        aboutButton = about.findChild<QPushButton*>(QStringLiteral("btnOk"))->text();
        return int(QDialog::Accepted);
    });
    w->mnuAboutClick();
    QCOMPARE(aboutButton, "OK");
    QCOMPARE(Msg::text(Msg::StoreClosed), Msg::builtIn(Msg::StoreClosed));
}

void TestWindowTranslation::noLanguageFilesKeepsCzech()
{
    TestProgram program;
    TfrmBase* w = program.start();
    QCOMPARE(GetCorePolyglot()->languageCount(), 0);
    QCOMPARE(w->LanguageManager->CurrentLang(), "");
    QCOMPARE(w->mnuLanguage->caption(), "Jazyk...");
    QCOMPARE(w->recordDialog()->btnOk->text(), "Uložit");
    QCOMPARE(program.dialogs().count(QStringLiteral("error")), 0);
}

RYDEX_TEST_MAIN(TestWindowTranslation, QApplication)
#include "tst_windowtranslation.moc"
