#include "LayoutChecks.h"
#include "ScopedLocale.h"
#include "TestMain.h"
#include "TestProgram.h"

#include "app/StoreOpening.h"
#include "app/TfrmBase.h"
#include "app/TfrmDatabase.h"
#include "app/TfrmInfo.h"
#include "app/TfrmPassword.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "polyglot/LanguageValues.h"
#include "polyglot/PropertyPath.h"
#include "polyglot/ResourceStringSection.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsINIFile.h"
#include "polyglot/TbsPolyglotManager.h"
#include "polyglot/TfrmLanguage.h"
#include "polyglot/TranslatableTexts.h"
#include "prefs/PreferenceKey.h"
#include "records/ImportRidesModel.h"
#include "records/TfrmEditODO.h"
#include "records/TfrmExport.h"
#include "records/TfrmImport.h"
#include "records/TfrmNewRecord.h"
#include "records/TfrmWork.h"
#include "settings/TfrmNewUser.h"
#include "settings/TfrmSettings.h"
#include "stats/TfrmReport.h"
#include "stats/TfrmSeason.h"
#include "theme/TsuiFileTheme.h"
#include "toolkit/DBComboBox.h"
#include "toolkit/DBGrid.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <functional>

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

// Every translated window of a running program: those made at start-up, and
// an about box, a first-reading dialog, an import and an export window made now.
struct Windows
{
    explicit Windows(TestProgram& program)
        : about(program.window()), odo(
                                       program.table(), [] {}, program.window()),
          importWindow(program.table(), QString(), CyclistPreferences(), ValueLists(),
                       program.window()),
          exportWindow(program.table(), QStringLiteral("Eva"), 2005, 9, QStringLiteral("Září"),
                       program.window()),
          season(program.table(), QString(), 2005, program.window()), opening(program.window()),
          database(program.window(), opening, StoreLocation::file(program.storePath()),
                   StoreLocation::file(program.storePath()),
                   QStringLiteral("host=db.club.org dbname=club user=jan")),
          password(program.window())
    {
        for (QObject* child : program.window()->children()) {
            if (child != &about && child != &odo && child != &importWindow &&
                child != &exportWindow && child != &season && child != &database &&
                child != &password &&
                child->findChild<QObject*>(QStringLiteral("bsPolyglotTranslator"),
                                           Qt::FindDirectChildrenOnly))
                all.append(child);
        }
        all << program.window() << &about << &odo << &importWindow << &exportWindow << &season
            << &database << &password;
        password.setReason(QStringLiteral("The server \"host=db.club.org\" asks for the password "
                                          "of the user \"jan\"."));
    }
    // Class name, then each entry as "key=text|text".
    QMap<QString, QStringList> texts() const
    {
        QMap<QString, QStringList> out;
        for (QObject* w : all) {
            for (const TranslatableTexts::Entry& e : TranslatableTexts::collect(w))
                out[QString::fromLatin1(w->metaObject()->className())]
                    << e.key + u'=' + e.lines.join(u'|');
        }
        for (QStringList& entries : out)
            entries.sort();
        return out;
    }
    TfrmInfo about;
    TfrmEditODO odo;
    TfrmImport importWindow;
    TfrmExport exportWindow;
    TfrmSeason season;
    StoreOpening opening;
    TfrmDatabase database;
    TfrmPassword password;
    QList<QObject*> all;
};

// An import list of each kind of row, so that plain and alternate rows,
// ticked and unticked boxes and rows that cannot be imported are all drawn.
QVector<ImportCandidate> importRows()
{
    QVector<ImportCandidate> rows;
    for (const ImportStatus status : {ImportStatus::New, ImportStatus::AlreadyRecorded,
                                      ImportStatus::New, ImportStatus::CannotImport}) {
        ImportCandidate c;
        c.path = QStringLiteral("/rides/ride%1.fit").arg(rows.size());
        c.day = QDate(2005, 9, 1 + int(rows.size()));
        c.startTime = QTime(9, 30);
        c.status = status;
        c.ticked = rows.isEmpty();
        c.ride.timerSeconds = 5400;
        c.ride.distanceMetres = 42000;
        c.problem = status == ImportStatus::CannotImport ? RideProblem::TooLong : RideProblem::None;
        rows << c;
    }
    return rows;
}

// A program whose "lng" holds the language files we ship.
void shipLanguages(TestProgram& program)
{
    QDir().mkpath(program.folder() + "/lng");
    for (const QString& name : {QStringLiteral("czech.lng"), QStringLiteral("english.lng")})
        QVERIFY(QFile::copy(QStringLiteral(RYDEX_LANGUAGES "/") + name,
                            program.folder() + "/lng/" + name));
}

// What a language file says of each window, as "key=text|text".
QMap<QString, QStringList> fileTexts(const TbsINIFile& file)
{
    QMap<QString, QStringList> out;
    for (const QString& section : file.sectionNames()) {
        if (section == ResourceStrings::sectionName())
            continue;
        for (const QString& key : file.keys(section)) {
            const QString raw = file.readString(section, key, QString());
            const QStringList lines = key.endsWith(u".Strings")
                                          ? LanguageValues::splitListValue(raw)
                                          : QStringList{LanguageValues::decodeTextLiteral(raw)};
            out[section] << key + u'=' + lines.join(u'|');
        }
    }
    for (QStringList& entries : out)
        entries.sort();
    return out;
}

// The keys of each window's entries.
QMap<QString, QStringList> keysOf(const QMap<QString, QStringList>& texts)
{
    QMap<QString, QStringList> out;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        for (const QString& entry : it.value())
            out[it.key()] << entry.section(u'=', 0, 0);
    }
    return out;
}

// The placeholders of a message text, in order.
QStringList placeholders(const QString& text)
{
    QStringList out;
    for (const QRegularExpressionMatch& m :
         QRegularExpression(QStringLiteral("%[a-z]")).globalMatch(text))
        out << m.captured();
    return out;
}
} // namespace

class TestWindowTranslation : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowFromTheFile();
    void noLanguageFilesKeepsCzech();
    void startUpPassStopped_data();
    void startUpPassStopped();
    void shippedLanguagesAreComplete();
    void languageDialog();
    void everyWindowWholeAndReadable_data();
    void everyWindowWholeAndReadable();
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
    QCOMPARE(w->languageDialog()->cbLanguages->count(), 0);
    QCOMPARE(program.dialogs().count(QStringLiteral("error")), 0);
}

// The windows made once the main window is painted are translated as if
// they had been made before the language dialog: a start-up pass that an
// invalid element stops leaves the windows after it as they were.
void TestWindowTranslation::startUpPassStopped_data()
{
    QTest::addColumn<QString>("stopIn");
    QTest::addColumn<bool>("windowsBeforeTranslated");
    QTest::newRow("main window") << "TfrmBase" << false;
    QTest::newRow("settings") << "TfrmSettings" << true;
}

void TestWindowTranslation::startUpPassStopped()
{
    QFETCH(QString, stopIn);
    QFETCH(bool, windowsBeforeTranslated);
    TestProgram program;
    QDir().mkpath(program.folder() + "/lng");
    QFile file(program.folder() + "/lng/english.lng");
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const auto& [section, entry] :
         {std::pair{"TfrmBase", "mnuLanguage.Caption='&Language...'"},
          std::pair{"TfrmWork", "Caption='Working...'"},
          std::pair{"TfrmSettings", "chboxDen.Caption='Day'"},
          std::pair{"TfrmNewRecord", "btnOk.Caption='Save'"}}) {
        file.write(QByteArray("[") + section + "]\r\n" + entry + "\r\n");
        if (stopIn == QLatin1String(section))
            file.write("Enabled=Yes\r\n");
    }
    file.close();
    TfrmBase* w = program.start(true, TestProgram::OtherWindows::Later);
    QCOMPARE(w->mnuLanguage->caption(), "&Language...");
    QCOMPARE(w->progressWindow()->windowTitle() == "Working...", windowsBeforeTranslated);
    QCOMPARE(w->settingsDialog()->chboxDen->text() == "Day", windowsBeforeTranslated);
    QCOMPARE(w->recordDialog()->btnOk->text(), "Uložit");
    QCOMPARE(program.dialogs().count(QStringLiteral("error")), 1);
    // The next change of language reaches them in that order too.
    QVERIFY_THROWS_EXCEPTION(RydexError,
                             w->LanguageManager->setCurrentLang(QStringLiteral("ENGLISH")));
    QCOMPARE(w->progressWindow()->windowTitle() == "Working...", windowsBeforeTranslated);
    QCOMPARE(w->recordDialog()->btnOk->text(), "Uložit");
}

void TestWindowTranslation::shippedLanguagesAreComplete()
{
    // The texts the windows are defined with.
    QMap<QString, QStringList> czech;
    {
        TestProgram bare;
        bare.start();
        czech = Windows(bare).texts();
    }
    QVERIFY(czech.size() >= 8);

    TestProgram program;
    shipLanguages(program);
    TfrmBase* w = program.start();
    QCOMPARE(w->LanguageManager->CurrentLang(), "english");
    const TbsINIFile englishFile(program.folder() + "/lng/english.lng");
    const TbsINIFile czechFile(program.folder() + "/lng/czech.lng");

    // In either language every item of the menu bar's menus and of the popup
    // menus has its Alt key, and no two items of one menu share one (the
    // sign-in menu lists the cyclists' names).
    QStringList noKey;
    const std::function<void(const QList<QAction*>&, const QString&)> checkKeys =
        [&](const QList<QAction*>& items, const QString& menu) {
            QSet<QChar> keys;
            for (QAction* item : items) {
                if (item->isSeparator())
                    continue;
                const QString text = item->text();
                const qsizetype at = text.indexOf(u'&');
                if (at < 0 || at + 1 >= text.size() || keys.contains(text.at(at + 1).toLower()))
                    noKey << menu + u'/' + text;
                else
                    keys.insert(text.at(at + 1).toLower());
                if (item->menu() && item != w->mnuLogin)
                    checkKeys(item->menu()->actions(), text);
            }
        };
    const auto checkAllKeys = [&] {
        checkKeys(w->MainMenu->actions(), QStringLiteral("menu bar"));
        checkKeys(w->GridMenu->actions(), QStringLiteral("grid menu"));
        checkKeys(w->NoteMenu->actions(), QStringLiteral("note menu"));
    };
    checkAllKeys();
    QVERIFY2(noKey.isEmpty(), qPrintable(noKey.join(u", ")));

    // Every text of every window is named by the English file and shows its
    // English text; the Czech file is the program's own texts whole.
    const QMap<QString, QStringList> english = fileTexts(englishFile);
    {
        Windows windows(program);
        const QMap<QString, QStringList> shown = windows.texts();
        for (auto it = czech.cbegin(); it != czech.cend(); ++it) {
            for (const QString& entry : it.value()) {
                const QString key = entry.section(u'=', 0, 0);
                const auto named =
                    std::find_if(english[it.key()].cbegin(), english[it.key()].cend(),
                                 [&](const QString& e) { return e.section(u'=', 0, 0) == key; });
                QVERIFY2(named != english[it.key()].cend(),
                         qPrintable(it.key() + " does not name " + key));
                QVERIFY2(shown[it.key()].contains(*named), qPrintable(it.key() + ": " + *named));
            }
        }
        // The Czech file names every text the windows have, and no other.
        QCOMPARE(keysOf(fileTexts(czechFile)), keysOf(czech));

        // No entry of either file names nothing.
        for (const TbsINIFile* file : {&englishFile, &czechFile}) {
            for (QObject* window : windows.all) {
                const QString section = QString::fromLatin1(window->metaObject()->className());
                for (const QString& key : file->keys(section))
                    QVERIFY2(PropertyPath::apply(window, key, file->readString(section, key, {})),
                             qPrintable(file->path() + ": " + section + "." + key));
            }
        }
    }
    // Every message text has its English text, and the Czech file the
    // program's own.
    for (int id : Msg::ids()) {
        const std::optional<QString> text = ResourceStrings::find(englishFile, id);
        QVERIFY2(text, qPrintable(QString::number(id)));
        QCOMPARE(Msg::text(id), *text);
        const std::optional<QString> czechText = ResourceStrings::find(czechFile, id);
        QVERIFY2(czechText, qPrintable(QString::number(id)));
        QCOMPARE(placeholders(*czechText), placeholders(Msg::builtIn(id)));
        QCOMPARE(placeholders(*text), placeholders(Msg::builtIn(id)));
    }

    // Back to Czech: every window shows the Czech file's texts, no English
    // left, and the menus keep their Alt keys.
    w->LanguageManager->setCurrentLang(QStringLiteral("czech"));
    QCOMPARE(Windows(program).texts(), fileTexts(czechFile));
    QCOMPARE(Msg::text(Msg::StoreClosed), *ResourceStrings::find(czechFile, Msg::StoreClosed));
    checkAllKeys();
    QVERIFY2(noKey.isEmpty(), qPrintable(noKey.join(u", ")));
}

void TestWindowTranslation::languageDialog()
{
    TestProgram program;
    program.addCyclist(QStringLiteral("Eva"));
    shipLanguages(program);
    QVERIFY(QFile::rename(program.folder() + "/lng/english.lng",
                          program.folder() + "/lng/English.lng"));
    TfrmBase* w = program.start();
    TfrmLanguage* dialog = w->languageDialog();
    QVERIFY(dialog);
    QCOMPARE(w->mnuLanguage->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
    // "english" is listed as English: the texts are English, but the box
    // selects nothing until the user picks a name.
    QCOMPARE(w->LanguageManager->CurrentLang(), "english");
    QCOMPARE(dialog->cbLanguages->count(), 2);
    QCOMPARE(dialog->cbLanguages->itemText(0), "czech");
    QCOMPARE(dialog->cbLanguages->currentIndex(), -1);
    QCOMPARE(w->mnuLanguage->caption(), "&Language...");

    // The command shows it; a pick changes every window at once, even this
    // one, and is stored.
    QStringList seen;
    program.dialogs().handleNextModal([&](QDialog& shown) {
        const auto pick = [&](int index) {
            dialog->cbLanguages->setCurrentIndex(index);
            emit dialog->cbLanguages->activated(index);
        };
        seen << QString::number(&shown == dialog);
        pick(0);
        seen << dialog->Label1->text() << w->mnuLanguage->caption()
             << QString::number(program.preferenceBytes().contains("\"lng\"=\"czech\""));
        pick(1);
        seen << dialog->windowTitle() << dialog->Label1->text()
             << dialog->cbLanguages->currentText();
        return int(QDialog::Rejected);
    });
    w->mnuLanguage->trigger();
    QCOMPARE(seen, (QStringList{"1", "Vyber jazyk:", "&Jazyk...", "1", "Language",
                                "Choose a language:", "English"}));
    QCOMPARE(w->LanguageManager->CurrentLang(), "English");
    QVERIFY(program.preferenceBytes().contains("\"lng\"=\"English\""));
    QCOMPARE(program.dialogs().count(QStringLiteral("error")), 0);
}

void TestWindowTranslation::everyWindowWholeAndReadable_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("theme");
    for (const char* language : {"czech", "english"}) {
        for (const char* theme : {"RX05TdF.sui", "RX05Night.sui"})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(language, theme)))
                << language << theme;
    }
}

void TestWindowTranslation::everyWindowWholeAndReadable()
{
    QFETCH(QString, language);
    QFETCH(QString, theme);
    TestProgram program;
    program.addCyclist(QStringLiteral("Eva"));
    // A year of many hours and kilometres, and a ride in the month of the
    // longest name, of list items that read long in some language.
    QList<TestRide> rides;
    for (int month = 1; month <= 12; ++month)
        rides << TestRide{.date = QDate(2005, month, 28),
                          .km = QStringLiteral("1234.56"),
                          .time = QTime(23, 59, 59),
                          .pulse = 188,
                          .alt = 3456,
                          .odo = QStringLiteral("98765.43"),
                          .typ = QStringLiteral("Turistika"),
                          .druh = QStringLiteral("Plavání"),
                          .temperature = QStringLiteral("-10 -  5 C'")};
    program.addRides(rides);
    shipLanguages(program);
    TfrmBase* w = program.start();
    // The face the windows get on a Debian desktop, whatever this machine's
    // own choice of sans serif.
    QCOMPARE(QFontInfo(w->font()).family(), "DejaVu Sans Condensed");
    w->suiFileTheme->setThemeFile(QStringLiteral(RYDEX_THEMES "/") + theme);
    w->LanguageManager->setCurrentLang(language);
    const auto check = [](QWidget* window) {
        window->show();
        QApplication::processEvents();
        const QString name = QString::fromLatin1(window->metaObject()->className());
        // The caption of the notes lies under the memo, where it was drawn.
        for (const QStringList& faults :
             {textsCutOff(window), controlsOverlapping(window, {"Label14/DBMemo"}),
              textsHardToRead(window)})
            QVERIFY2(faults.isEmpty(),
                     qPrintable(name + QStringLiteral(": ") + faults.join(QStringLiteral(", "))));
    };
    check(w); // the welcome page
    program.signIn(QStringLiteral("Eva"));
    w->Mesice->setTabIndex(8); // September
    check(w);
    Windows windows(program);
    windows.importWindow.model()->append(importRows());
    w->recordDialog()->prepareEditRecord(QDate(2005, 9, 28));
    TfrmSettings* settings = w->settingsDialog();
    settings->chboxDen->setChecked(false); // an empty box must show too
    for (QObject* o : windows.all) {
        auto* window = qobject_cast<QWidget*>(o);
        if (!window || qobject_cast<TfrmReport*>(o) || window == w)
            continue;
        const int pages = window == settings ? int(settings->Pages->count()) : 1;
        for (int page = 0; page < pages; ++page) {
            if (window == settings)
                settings->Pages->setCurrentIndex(page);
            check(window);
            if (QTest::currentTestFailed())
                return;
        }
        window->hide();
    }
    qApp->setStyleSheet(QString());
}

RYDEX_TEST_MAIN(TestWindowTranslation, QApplication)
#include "tst_windowtranslation.moc"
