#include "LayoutChecks.h"
#include "ScopedLocale.h"
#include "TestMain.h"
#include "TestProgram.h"

#include "app/TfrmBase.h"
#include "base/MessageCatalogue.h"
#include "polyglot/TbsPolyglotManager.h"
#include "records/TfrmNewRecord.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "store/TData.h"
#include "toolkit/DBComboBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBMemo.h"
#include "toolkit/DBMemoEdit.h"
#include "toolkit/DBRadioGroup.h"
#include "toolkit/DBTimeEdit.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

namespace {
struct Ride
{
    QDate date;
    QString km;
    QTime time;
    QString odo;
    QString typ;
    QString note;
};

TestRide ofEva(const Ride& r)
{
    return {.date = r.date, .km = r.km, .time = r.time, .odo = r.odo, .typ = r.typ, .note = r.note};
}

// A fresh installation with the cyclist "Eva" and her rides, started;
// "today" is 15 March 2005. With a language, the languages we ship lie
// beside the program and that one is chosen.
struct Session : TestProgram
{
    explicit Session(const QList<Ride>& rides = {}, const QString& language = {})
    {
        addCyclist(QStringLiteral("Eva"));
        QList<TestRide> written;
        for (const Ride& r : rides)
            written.append(ofEva(r));
        addRides(written);
        if (!language.isEmpty()) {
            QDir().mkpath(folder() + "/lng");
            for (const char* name : {"/czech.lng", "/english.lng"})
                QFile::copy(QStringLiteral(RYDEX_LANGUAGES) + QLatin1String(name),
                            folder() + "/lng" + QLatin1String(name));
        }
        w = start();
        if (!language.isEmpty())
            w->LanguageManager->setCurrentLang(language);
        dialog = w->recordDialog();
        table = TestProgram::table();
    }

    // Every ride of Eva's in the store, read through a second connection.
    QList<RideRow> stored() const { return TestProgram::stored(QStringLiteral("Eva")); }

    // The next record dialog is handed to `inside` while it is up.
    void onNextDialog(std::function<void(TfrmNewRecord&)> inside)
    {
        dialogs().handleNextModal([inside](QDialog& d) {
            inside(static_cast<TfrmNewRecord&>(d));
            return int(QDialog::Rejected);
        });
    }
    // Runs a record command with `inside` acting in its dialog.
    void command(QAction* action, std::function<void(TfrmNewRecord&)> inside)
    {
        onNextDialog(std::move(inside));
        action->trigger();
    }

    TfrmBase* w = nullptr;
    TfrmNewRecord* dialog = nullptr;
    ADOTable* table = nullptr;
};

QString textOf(const RideRow& row, RideField f)
{
    return ADOTable::displayText(f, row[fieldIndex(f)], QLocale::c());
}

void typeInto(QWidget* control, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    QTest::keyClicks(control, text);
}

const QList<Ride> threeMarchRides = {
    {QDate(2005, 3, 2), QStringLiteral("12.5"), QTime(1, 0), QStringLiteral("100"),
     QStringLiteral("Trénink"), QStringLiteral("first")},
    {QDate(2005, 3, 9), QStringLiteral("13.5"), QTime(0, 40), QStringLiteral("1"),
     QStringLiteral("trénink"), QStringLiteral("second")},
    {QDate(2005, 3, 20), QStringLiteral("20"), QTime(1, 10), QStringLiteral("1"), QString(),
     QStringLiteral("third")},
};
} // namespace

class TestRecordDialog : public QObject
{
    Q_OBJECT

private slots:
    void layoutTextsAndTabOrder()
    {
        Session s;
        TfrmNewRecord* d = s.dialog;
        QCOMPARE(d->metaObject()->className(), "TfrmNewRecord");
        QCOMPARE(d->windowTitle(), QStringLiteral("Nový záznam"));
        QCOMPARE(d->size(), QSize(420, 470));
        QCOMPARE(d->minimumSize(), d->maximumSize());
        QCOMPARE(d->parentWidget(), s.w);
        // Each control inside its group or the window and clear of the
        // others, each caption standing above its control.
        const QStringList window = {"GroupBox1", "GroupBox2", "grpTyp",    "DBMemo",
                                    "btnAdd",    "btnOk",     "btnCancel", "StatusBar"};
        const QStringList types = {"Label1", "ComboDruh",   "Label2", "ComboObtiznost",
                                   "Label3", "ComboPocit",  "Label4", "ComboVlivy",
                                   "Label5", "ComboTeplota"};
        const QStringList values = {"Label6",     "Calendar", "Label7",        "DBtime",
                                    "Label8",     "DBdst",    "Label9",        "Label10",
                                    "DBaltitude", "Label11",  "DBaltitudeMax", "Label12",
                                    "DBTep",      "Label13",  "DBTepMax"};
        QCOMPARE(outsideTheirParent(d, window + types + values), QStringList());
        for (const QStringList& siblings : {window, types, values})
            QCOMPARE(overlapping(d, siblings), QStringList());
        const QList<QStringList> captions = {
            {"Label1", "ComboDruh"},      {"Label2", "ComboObtiznost"}, {"Label3", "ComboPocit"},
            {"Label4", "ComboVlivy"},     {"Label5", "ComboTeplota"},   {"Label6", "Calendar"},
            {"Label7", "DBtime"},         {"Label8", "DBdst"},          {"Label10", "DBaltitude"},
            {"Label11", "DBaltitudeMax"}, {"Label12", "DBTep"},         {"Label13", "DBTepMax"}};
        QCOMPARE(labelsNotAbove(d, captions), QStringList());
        // Down the window: the two groups side by side, the kind of training,
        // the note, the buttons in one row, the status bar along the bottom.
        const auto at = [d](const char* name) {
            const auto* c = d->findChild<QWidget*>(QString::fromLatin1(name));
            return QRect(c->mapTo(d, QPoint(0, 0)), c->size());
        };
        QVERIFY(at("GroupBox1").right() < at("GroupBox2").left());
        QCOMPARE(at("GroupBox1").top(), at("GroupBox2").top());
        QVERIFY(at("GroupBox2").bottom() < at("grpTyp").top());
        QVERIFY(at("grpTyp").bottom() < at("DBMemo").top());
        QVERIFY(at("DBMemo").bottom() < at("btnAdd").top());
        QVERIFY(at("btnAdd").right() < at("btnOk").left());
        QVERIFY(at("btnOk").right() < at("btnCancel").left());
        QCOMPARE(at("btnAdd").top(), at("btnCancel").top());
        QCOMPARE(at("StatusBar"), QRect(0, d->height() - at("StatusBar").height(), d->width(),
                                        at("StatusBar").height()));
        QCOMPARE(d->ComboDruh->items(),
                 QStringList({"Cyklistika", "Plavání", "Beh", "Fitness", "Bežky", "", ""}));
        QCOMPARE(d->ComboVlivy->items(), QStringList({":o(", ":o|", ";o)"}));
        QCOMPARE(d->ComboTeplota->items(),
                 QStringList({"35 - 40 C'", "25 - 30 C'", "20 - 25 C'", "15 - 20 C'", "10 - 15 C'",
                              "5 - 10 C'", "0 -  5 C'", "-5 -  0 C'", "-10 -  5 C'", "-15 -10 C'",
                              "-20 -15 C'", "-25 -20 C'"}));
        QCOMPARE(d->grpTyp->items(), QStringList({"Závod", "Trénink", "Trenažer", "Turistika"}));
        // Tab order: the types, the values, the kind of training, the note,
        // then Save, Cancel changes and Add.
        const QStringList expected = {"ComboDruh",    "ComboObtiznost", "ComboPocit", "ComboVlivy",
                                      "ComboTeplota", "Calendar",       "DBtime",     "DBdst",
                                      "DBaltitude",   "DBaltitudeMax",  "DBTep",      "DBTepMax",
                                      "grpTypItem0",  "DBMemo",         "btnOk",      "btnCancel",
                                      "btnAdd"};
        QCOMPARE(tabOrder(d, expected), expected);
        // The keyboard starts at the first and walks it so, the inner boxes
        // of the lists and of the date included; Add is off while a ride is
        // edited.
        s.signIn();
        s.command(s.w->mnuNovyZaznam, [&](TfrmNewRecord& dialog) {
            QStringList walked;
            for (int i = 0; i < expected.size() - 1; ++i) {
                QWidget* at = QApplication::focusWidget();
                while (at && !expected.contains(at->objectName()) &&
                       !at->objectName().startsWith(QStringLiteral("grpTypItem")))
                    at = at->parentWidget();
                walked << (at ? at->objectName() : QStringLiteral("?"));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QStringList keyboard = expected;
            keyboard.removeLast();
            QCOMPARE(walked, keyboard);
            Q_UNUSED(dialog);
        });

        // Idle before any command; the status bar follows the main window's hint.
        QVERIFY(!d->isEditing());
        QVERIFY(!d->DBtime->isEnabled() && !d->Calendar->isEnabled() && !d->grpTyp->isEnabled());
        QVERIFY(d->btnAdd->isEnabled() && !d->btnOk->isEnabled() && !d->btnCancel->isEnabled());
        s.w->ShowHint(QStringLiteral("Přidá záznam"));
        QCOMPARE(d->StatusBar->currentMessage(), QStringLiteral("Přidá záznam"));
        s.w->ShowHint(QString());
        QCOMPARE(d->StatusBar->currentMessage(), QString());
    }

    void durationMask_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QTime>("stored");
        QTest::newRow("one hour digit")
            << QStringLiteral("1:20:00") << QStringLiteral("_1:20:00") << QTime(1, 20);
        QTest::newRow("two hour digits")
            << QStringLiteral("12:30:00") << QStringLiteral("12:30:00") << QTime(12, 30);
        QTest::newRow("digits only")
            << QStringLiteral("0450") << QStringLiteral("04:50:__") << QTime();
        QTest::newRow("nothing") << QStringLiteral("") << QStringLiteral("__:__:__") << QTime();
        // No digit is taken that would make no time of day.
        QTest::newRow("beyond a day")
            << QStringLiteral("99:99:99") << QStringLiteral("_9:__:__") << QTime();
        QTest::newRow("the last second of a day")
            << QStringLiteral("23:59:59") << QStringLiteral("23:59:59") << QTime(23, 59, 59);
    }
    void durationMask()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QTime, stored);
        Session s;
        s.signIn();
        QString error;
        s.command(s.w->mnuNovyZaznam, [&](TfrmNewRecord& d) {
            QCOMPARE(d.DBtime->displayText(), QStringLiteral("__:__:__"));
            typeInto(d.DBtime, typed);
            QCOMPARE(d.DBtime->displayText(), shown);
            d.btnOkClick();
            error = s.dialogs().last().kind == QStringLiteral("error") ? s.dialogs().last().text
                                                                       : QString();
        });
        if (stored.isValid()) {
            QCOMPARE(s.stored().size(), 1);
            QCOMPARE(s.stored().at(0)[fieldIndex(RideField::time)].toTime(), stored);
        } else {
            // An incomplete mask is refused; an empty one leaves the field empty.
            QVERIFY(s.stored().isEmpty());
            if (typed.isEmpty())
                QCOMPARE(s.dialogs().last().name, QStringLiteral("msgDlgNoSave"));
            else
                QVERIFY2(error.contains(QStringLiteral("'Doba záteže (hh:mm:ss)'")),
                         qPrintable(error));
        }
    }

    void newRideTypedAndSaved_data()
    {
        // The language, then how the kind "Beh", the type "Trénink" and the
        // band "0 -  5 C'" read in it.
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("built-in texts") << QString() << QStringList{"Beh", "Trénink", "0 -  5 C'"};
        QTest::newRow("English") << QStringLiteral("english")
                                 << QStringList{"Running", "Training", "0 to 5 °C"};
        QTest::newRow("Czech") << QStringLiteral("czech")
                               << QStringList{"Běh", "Trénink", "0 až 5 °C"};
    }
    void newRideTypedAndSaved()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, shown);
        Session s(threeMarchRides, language);
        s.signIn();
        s.command(s.w->mnuNovyZaznam, [&](TfrmNewRecord& d) {
            QVERIFY(d.isEditing());
            QVERIFY(!d.btnAdd->isEnabled() && d.btnOk->isEnabled() && d.btnCancel->isEnabled());
            QCOMPARE(d.Calendar->date(), QDate(2005, 3, 15));
            // The presets are in the pending row already.
            QCOMPARE(s.table->state(), ADOTable::State::Insert);
            QVERIFY(s.table->isModified());
            QCOMPARE(s.table->asInteger(RideField::pulse), 0);
            QCOMPARE(d.DBdst->text(), QStringLiteral("0"));
            QCOMPARE(d.grpTyp->itemIndex(), 1);
            QCOMPARE(d.ComboDruh->currentText(), QString());

            typeInto(d.DBtime, QStringLiteral("1:20:00"));
            typeInto(d.DBdst, QStringLiteral("30"));
            typeInto(d.DBTep, QStringLiteral("141"));
            QTest::keyClicks(d.ComboPocit, QStringLiteral("90%"));
            QTest::keyClicks(d.ComboVlivy, QStringLiteral("rain"));
            d.ComboDruh->setCurrentIndex(2);
            QCOMPARE(d.ComboDruh->currentText(), shown.at(0));
            d.ComboTeplota->setCurrentIndex(6);
            QCOMPARE(d.ComboTeplota->currentText(), shown.at(2));
            d.grpTyp->button(0)->click();
            QTest::keyClicks(d.DBMemo, QStringLiteral("windy"));
            // The grid follows the stored ride and the new readings once, at
            // the end, not at each step of the save.
            QSignalSpy resets(s.w->Grid->model(), &QAbstractItemModel::modelReset);
            d.btnOk->click();
            QCOMPARE(resets.size(), 1);
            QVERIFY(!d.isEditing());
            QVERIFY(!d.DBtime->isEnabled() && d.btnAdd->isEnabled() && !d.btnOk->isEnabled());
            // The disabled controls show the ride just saved, beside its date.
            QCOMPARE(d.DBMemo->toPlainText(), QStringLiteral("windy"));
            QCOMPARE(d.DBdst->text(), QStringLiteral("30.00"));
            QCOMPARE(d.grpTyp->itemIndex(), 0);
            QCOMPARE(d.grpTyp->button(1)->text(), shown.at(1));
            QCOMPARE(d.Calendar->date(), QDate(2005, 3, 15));
        });
        QCOMPARE(s.dialogs().count(QStringLiteral("error")), 0);
        QCOMPARE(s.dialogs().count(QStringLiteral("message")), 0);
        QCOMPARE(s.table->recordCount(), 4);
        QCOMPARE(s.table->currentIndex(), 2);
        const RideRow& row = s.table->rowAt(2);
        QCOMPARE(textOf(row, RideField::note), QStringLiteral("windy"));
        QCOMPARE(textOf(row, RideField::user), QStringLiteral("Eva"));
        QCOMPARE(row[fieldIndex(RideField::date)].toDateTime(), QDate(2005, 3, 15).startOfDay());
        QCOMPARE(row[fieldIndex(RideField::day)].toInt(), 15);
        QCOMPARE(row[fieldIndex(RideField::month)].toInt(), 3);
        QCOMPARE(row[fieldIndex(RideField::year)].toInt(), 2005);
        QCOMPARE(textOf(row, RideField::time), QStringLiteral("1:20:00"));
        QCOMPARE(textOf(row, RideField::avs), QStringLiteral("22.50"));
        QCOMPARE(textOf(row, RideField::pulse), QStringLiteral("141"));
        QCOMPARE(textOf(row, RideField::pulsemax), QStringLiteral("0"));
        QCOMPARE(textOf(row, RideField::pocit), QStringLiteral("90%"));
        QCOMPARE(textOf(row, RideField::vlivy), QStringLiteral("rain"));
        QCOMPARE(textOf(row, RideField::druh), QStringLiteral("Beh"));
        QCOMPARE(textOf(row, RideField::temperature), QStringLiteral("0 -  5 C'"));
        QCOMPARE(textOf(row, RideField::typ), QStringLiteral("Závod"));
        QVERIFY(row[fieldIndex(RideField::obtiznost)].isNull());
        // The odometer chain ran: 100 after the first ride, then the distances.
        QCOMPARE(textOf(row, RideField::odo), QStringLiteral("143.50"));
        QCOMPARE(s.w->Grid->model()->index(2, 9).data().toString(), QStringLiteral("22.50"));
        // The grid shows the items in the language, a typed text as typed,
        // and a text that differs from an item in letter case as it is.
        const auto cell = [&](int row, int column) {
            return s.w->Grid->model()->index(row, column).data().toString();
        };
        QCOMPARE((QStringList{cell(2, 1), cell(0, 2), cell(2, 10)}), shown);
        QCOMPARE(cell(2, 4), QStringLiteral("rain"));
        QCOMPARE(cell(1, 2), QStringLiteral("trénink"));
        // Another language shows the same rides in its texts at once.
        if (!language.isEmpty()) {
            s.w->LanguageManager->setCurrentLang(language == "czech" ? "english" : "czech");
            QVERIFY(cell(2, 1) != shown.at(0));
            s.w->LanguageManager->setCurrentLang(language);
            QCOMPARE(cell(2, 1), shown.at(0));
            QCOMPARE(s.dialog->ComboDruh->items().at(2), shown.at(0));
        }
        QCOMPARE(s.w->workingDate(), QDate(2005, 3, 15));
        QCOMPARE(s.stored().size(), 4);
    }

    void addAfterSaveKeepsDateAndPresets_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("preset");
        QTest::newRow("decimal point") << QStringLiteral("en_US") << QStringLiteral("0.00");
        QTest::newRow("decimal comma") << QStringLiteral("cs_CZ") << QStringLiteral("0,00");
    }
    void addAfterSaveKeepsDateAndPresets()
    {
        QFETCH(QString, locale);
        QFETCH(QString, preset);
        const ScopedLocale inLocale(locale);
        Session s;
        s.signIn();
        s.command(s.w->mnuNovyZaznam, [&](TfrmNewRecord& d) {
            d.Calendar->setDate(QDate(2005, 3, 20));
            typeInto(d.DBtime, QStringLiteral("0:45:00"));
            typeInto(d.DBdst, QStringLiteral("10"));
            typeInto(d.DBaltitude, QStringLiteral("350"));
            d.ComboTeplota->setCurrentIndex(1);
            QTest::keyClicks(d.DBMemo, QStringLiteral("hills"));
            d.btnOk->click();
            QVERIFY(!d.isEditing());

            d.btnAdd->click();
            QVERIFY(d.isEditing());
            QCOMPARE(s.table->state(), ADOTable::State::Insert);
            QCOMPARE(d.Calendar->date(), QDate(2005, 3, 20));
            QCOMPARE(d.DBtime->displayText(), QStringLiteral("__:__:__"));
            QCOMPARE(d.DBdst->text(), preset);
            QCOMPARE(d.DBaltitude->text(), QStringLiteral("0"));
            QCOMPARE(d.DBaltitudeMax->text(), QStringLiteral("0"));
            QCOMPARE(d.DBTep->text(), QStringLiteral("0"));
            QCOMPARE(d.DBTepMax->text(), QStringLiteral("0"));
            QCOMPARE(d.grpTyp->itemIndex(), 1);
            QCOMPARE(d.ComboTeplota->currentText(), QString());
            QCOMPARE(d.DBMemo->toPlainText(), QString());
            // The presets are still only in the controls.
            QVERIFY(!s.table->isModified());
            // Save with the preset distance left as it is.
            typeInto(d.DBtime, QStringLiteral("12:30:00"));
            d.btnOk->click();
            QVERIFY(!d.isEditing());
        });
        QCOMPARE(s.dialogs().count(QStringLiteral("error")), 0);
        const QList<RideRow> rows = s.stored();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(textOf(rows.at(0), RideField::avs), QStringLiteral("13.33"));
        QCOMPARE(textOf(rows.at(0), RideField::alt), QStringLiteral("350"));
        const RideRow& second = rows.at(1);
        QCOMPARE(second[fieldIndex(RideField::day)].toInt(), 20);
        QCOMPARE(textOf(second, RideField::time), QStringLiteral("12:30:00"));
        QCOMPARE(textOf(second, RideField::dst), QStringLiteral("0.00"));
        QCOMPARE(textOf(second, RideField::avs), QStringLiteral("0.00"));
        QCOMPARE(textOf(second, RideField::alt), QStringLiteral("0"));
        QCOMPARE(textOf(second, RideField::typ), QStringLiteral("Trénink"));
        QVERIFY(second[fieldIndex(RideField::temperature)].isNull());
        QVERIFY(second[fieldIndex(RideField::note)].isNull());
        QCOMPARE(s.w->workingDate(), QDate(2005, 3, 20));
    }

    // A note of 1 MiB without a line break once took minutes to lay out at
    // every sign-in and change of month.
    void longNoteKeepsSignInFast()
    {
        const QString note(1024 * 1024, QLatin1Char('x'));
        Session s({{QDate(2005, 3, 2), QStringLiteral("10"), QTime(1, 0), {}, {}, note},
                   {QDate(2005, 4, 2), QStringLiteral("10"), QTime(1, 0), {}, {}, note}});
        QElapsedTimer timer;
        timer.start();
        s.signIn();
        s.w->Mesice->setTabIndex(3);
        s.w->Mesice->setTabIndex(2);
        QApplication::processEvents();
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(s.w->Note->toPlainText().remove(QLatin1Char('\n')), note);

        // The dialog opened on the ride holds the note whole.
        QString inDialog;
        s.onNextDialog([&](TfrmNewRecord& d) { inDialog = d.DBMemo->toPlainText(); });
        s.w->mnuUpravaZaznamu->trigger();
        QCOMPARE(inDialog, note);
        QCOMPARE(s.stored().at(0)[fieldIndex(RideField::note)].toString(), note);
    }

    void saveRefusalsKeepTheRecordPending()
    {
        Session s;
        s.signIn();
        s.command(s.w->mnuNovyZaznam, [&](TfrmNewRecord& d) {
            d.Calendar->setDate(QDate(2005, 3, 2));

            // No duration.
            d.btnOk->click();
            QCOMPARE(s.dialogs().last().name, QStringLiteral("msgDlgNoSave"));
            QCOMPARE(s.dialogs().last().text,
                     QStringLiteral("Nejsou vyplnena všechna duležitá pole pro uložení záznamu!"));
            QVERIFY(d.isEditing());
            QCOMPARE(s.w->workingDate(), QDate(2005, 3, 15));

            // Letters and signs do not enter number boxes; texts that come in
            // another way are refused all at once, each field named by its
            // caption.
            typeInto(d.DBTep, QStringLiteral("7x-"));
            QCOMPARE(d.DBTep->text(), QStringLiteral("7"));
            typeInto(d.DBaltitude, QStringLiteral("-12a"));
            QCOMPARE(d.DBaltitude->text(), QStringLiteral("-12"));
            typeInto(d.DBdst, QStringLiteral("-1,5.2"));
            QCOMPARE(d.DBdst->text(), QStringLiteral("1.52"));
            d.DBtime->setText(QStringLiteral("99:99:99"));
            d.DBTep->setText(QStringLiteral("7x"));
            d.btnOk->click();
            QCOMPARE(s.dialogs().last().kind, QStringLiteral("error"));
            QCOMPARE(s.dialogs().last().text,
                     standardErrorText(
                         Msg::text(Msg::SaveRefused) + QLatin1Char('\n') +
                         Msg::format(Msg::FieldConversion, {"99:99:99", "Doba záteže (hh:mm:ss)"}) +
                         QLatin1Char('\n') +
                         Msg::format(Msg::FieldConversion, {"7x", "Tep (prumerný)"})));
            QVERIFY(d.isEditing());
            QCOMPARE(d.DBTep->text(), QStringLiteral("7x"));
            QCOMPARE(s.w->workingDate(), QDate(2005, 3, 15));
            typeInto(d.DBtime, QStringLiteral("1:00:00"));
            typeInto(d.DBdst, QStringLiteral("10"));
            typeInto(d.DBaltitude, QStringLiteral("0"));

            // Typing stops at the width of a text field; a longer text put
            // in another way is refused by Save.
            d.ComboPocit->lineEdit()->selectAll();
            QTest::keyClicks(d.ComboPocit, QStringLiteral("123456"));
            QCOMPARE(d.ComboPocit->currentText(), QStringLiteral("12345"));
            d.ComboVlivy->setFieldText(QStringLiteral("bouřka"));
            typeInto(d.DBTep, QStringLiteral("120"));
            d.btnOk->click();
            QCOMPARE(s.dialogs().last().text,
                     standardErrorText(
                         Msg::format(Msg::FieldValueTooLarge, {"bouřka", "Okolní vlivy"})));
            QVERIFY(d.isEditing());
            QVERIFY(s.stored().isEmpty());
            d.ComboVlivy->setFieldText(QStringLiteral(":o)"));

            // A zero duration: the date parts are set, the row is not stored.
            typeInto(d.DBTep, QStringLiteral("120"));
            typeInto(d.DBtime, QStringLiteral("0:00:00"));
            d.btnOk->click();
            QCOMPARE(s.dialogs().last().kind, QStringLiteral("error"));
            QCOMPARE(s.dialogs().last().text,
                     standardErrorText(Msg::text(Msg::AverageSpeedZeroDuration)));
            QVERIFY(d.isEditing());
            QCOMPARE(s.table->state(), ADOTable::State::Insert);
            QCOMPARE(s.w->workingDate(), QDate(2005, 3, 2));
            QVERIFY(s.stored().isEmpty());

            // A speed that does not fit its field is not stored.
            typeInto(d.DBtime, QStringLiteral("23:59:59"));
            typeInto(d.DBdst, QStringLiteral("9999999"));
            d.btnOk->click();
            QCOMPARE(s.dialogs().last().text,
                     standardErrorText(
                         Msg::format(Msg::AverageSpeedTooHigh,
                                     {QStringLiteral("416671.45"), QStringLiteral("999.99")})));
            QVERIFY(d.isEditing());
            QVERIFY(s.stored().isEmpty());

            // Put right, it saves.
            typeInto(d.DBtime, QStringLiteral("0:30:00"));
            typeInto(d.DBdst, QStringLiteral("15"));
            d.btnOk->click();
            QVERIFY(!d.isEditing());
        });
        const QList<RideRow> rows = s.stored();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(textOf(rows.at(0), RideField::avs), QStringLiteral("30.00"));
        QCOMPARE(textOf(rows.at(0), RideField::pulse), QStringLiteral("120"));
    }

    // Another running copy of the program changed the ride being edited: a
    // change to another field is kept beside this Save's; a change to a field
    // this Save writes makes Save store nothing, say so, and show the ride as
    // stored.
    void rideChangedByAnotherCopy()
    {
        Session s(threeMarchRides);
        s.signIn();
        TData other(s.storePath());
        other.open();
        other.table()->setFilter(RideFilter::cyclist(QStringLiteral("Eva")));
        const auto otherSaves = [&](RideField field, const QVariant& value) {
            other.table()->edit();
            other.table()->setValue(field, value);
            other.table()->post();
        };
        s.command(s.w->mnuUpravaZaznamu, [&](TfrmNewRecord& d) {
            otherSaves(RideField::note, QStringLiteral("from the other copy"));
            typeInto(d.DBTep, QStringLiteral("150"));
            d.btnOk->click();
            QCOMPARE(s.dialogs().count(QStringLiteral("error")), 0);
            QVERIFY(!d.isEditing());
            QCOMPARE(d.DBMemo->toPlainText(), QStringLiteral("from the other copy"));
        });
        other.table()->refresh();
        s.command(s.w->mnuUpravaZaznamu, [&](TfrmNewRecord& d) {
            otherSaves(RideField::pulse, 160);
            typeInto(d.DBTep, QStringLiteral("170"));
            d.btnOk->click();
            QCOMPARE(s.dialogs().last().text,
                     standardErrorText(Msg::text(Msg::RideChangedElsewhere)));
            QVERIFY(!d.isEditing());
            QCOMPARE(d.DBTep->text(), QStringLiteral("160"));
        });
        const QList<RideRow> rows = s.stored();
        QCOMPARE(textOf(rows.at(0), RideField::note), QStringLiteral("from the other copy"));
        QCOMPARE(textOf(rows.at(0), RideField::pulse), QStringLiteral("160"));
    }

    void cancelAndCloseDiscard()
    {
        Session s(threeMarchRides);
        s.signIn();
        s.table->setCurrentIndex(1);
        s.command(s.w->mnuUpravaZaznamu, [&](TfrmNewRecord& d) {
            QCOMPARE(d.Calendar->date(), QDate(2005, 3, 9));
            QCOMPARE(d.DBdst->text(), QStringLiteral("13.5"));
            typeInto(d.DBdst, QStringLiteral("99"));
            QTest::keyClicks(d.DBMemo, QStringLiteral(" changed"));
            d.btnCancel->click();
            QVERIFY(!d.isEditing());
            QCOMPARE(s.table->state(), ADOTable::State::Browse);
            QCOMPARE(d.DBdst->text(), QStringLiteral("13.50"));

            // Add, type, then close the window by its title bar.
            d.btnAdd->click();
            QApplication::setActiveWindow(&d);
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.DBtime));
            typeInto(d.DBtime, QStringLiteral("2:00:00"));
            d.close();
            QVERIFY(!d.isVisible());
            QVERIFY(!d.isEditing());
        });
        QCOMPARE(s.table->state(), ADOTable::State::Browse);
        QCOMPARE(s.table->recordCount(), 3);
        QCOMPARE(s.table->currentIndex(), 1);
        const QList<RideRow> rows = s.stored();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(textOf(rows.at(1), RideField::dst), QStringLiteral("13.50"));
        QCOMPARE(textOf(rows.at(1), RideField::note), QStringLiteral("second"));
    }

    void editFromGridAndNote()
    {
        Session s(threeMarchRides);
        s.signIn();
        QApplication::setActiveWindow(s.w);
        QVERIFY(QTest::qWaitForWindowActive(s.w));
        s.table->setCurrentIndex(1);
        s.w->Grid->setFocus();
        s.onNextDialog([&](TfrmNewRecord& d) {
            QVERIFY(d.isEditing());
            QCOMPARE(d.Calendar->date(), QDate(2005, 3, 9));
            QCOMPARE(d.DBtime->displayText(), QStringLiteral("_0:40:00"));
            // "trénink" is no item: none is chosen, and it stays as it is.
            QCOMPARE(d.grpTyp->itemIndex(), -1);
            QCOMPARE(d.DBMemo->toPlainText(), QStringLiteral("second"));
            d.DBMemo->moveCursor(QTextCursor::End);
            QTest::keyClicks(d.DBMemo, QStringLiteral(", long climb"));
            d.btnOk->click();
        });
        QTest::keyClick(s.w->Grid, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(s.dialogs().count(QStringLiteral("modal")), 1);
        QCOMPARE(s.dialogs().last().className, QStringLiteral("TfrmNewRecord"));
        QCOMPARE(s.table->currentIndex(), 1);
        QList<RideRow> rows = s.stored();
        QCOMPARE(textOf(rows.at(1), RideField::note), QStringLiteral("second, long climb"));
        QCOMPARE(textOf(rows.at(1), RideField::typ), QStringLiteral("trénink"));
        QCOMPARE(textOf(rows.at(1), RideField::avs), QStringLiteral("20.25"));
        QCOMPARE(textOf(rows.at(1), RideField::dst), QStringLiteral("13.50"));

        // Ctrl+E in the note opens the same dialog on the same record, with
        // every field editable.
        s.table->setCurrentIndex(2);
        s.w->Note->setFocus();
        QDate shown;
        s.onNextDialog([&](TfrmNewRecord& d) {
            shown = d.Calendar->date();
            QVERIFY(d.DBdst->isEnabled() && d.ComboDruh->isEnabled() && d.DBMemo->isEnabled());
        });
        QTest::keyClick(s.w->Note, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(s.dialogs().count(QStringLiteral("modal")), 2);
        QCOMPARE(shown, QDate(2005, 3, 20));
        QCOMPARE(s.table->state(), ADOTable::State::Browse);
        QCOMPARE(s.table->currentIndex(), 2);
    }

    void deleteCommand()
    {
        Session s(threeMarchRides);
        s.signIn();
        s.table->setCurrentIndex(1);
        // Cancelled: nothing is deleted, yet the chain and the figures run.
        s.dialogs().answerNext(false);
        s.w->mnuDeleteItem->trigger();
        QCOMPARE(s.dialogs().last().name, QStringLiteral("msgDlgDeleteRecord"));
        QCOMPARE(s.table->recordCount(), 3);
        QCOMPARE(s.table->currentIndex(), 0);
        QCOMPARE(textOf(s.stored().at(2), RideField::odo), QStringLiteral("133.50"));

        // Confirmed: the current record goes, the chain closes the gap, and
        // the main window is active again for the next key.
        s.w->show();
        s.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.w));
        s.table->setCurrentIndex(1);
        s.w->mnuSmazatZaznam->trigger();
        QTRY_COMPARE(QGuiApplication::focusWindow(), s.w->windowHandle());
        QCOMPARE(s.table->recordCount(), 2);
        QCOMPARE(s.table->currentIndex(), 0);
        QCOMPARE(s.w->Grid->currentIndex().row(), 0);
        QList<RideRow> rows = s.stored();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(textOf(rows.at(1), RideField::note), QStringLiteral("third"));
        QCOMPARE(textOf(rows.at(1), RideField::odo), QStringLiteral("120.00"));

        // An empty month: the stop message, and no recomputation at all (the
        // reading of a ride added behind its back stays as it was).
        s.w->Mesice->setTabIndex(0);
        addTestRide(*s.table, ofEva({QDate(2005, 3, 25), QStringLiteral("5"), QTime(0, 20),
                                     QStringLiteral("7"), QString(), QString()}));
        s.dialogs().clear();
        s.w->mnuDeleteItem->trigger();
        QCOMPARE(s.dialogs().raised().size(), 1);
        QCOMPARE(s.dialogs().last().name, QStringLiteral("msgDlgNotDelete"));
        QCOMPARE(s.dialogs().last().caption, QStringLiteral("Stop!"));
        QCOMPARE(textOf(s.stored().at(2), RideField::odo), QStringLiteral("7.00"));
    }

    void deleteKeyOnlyWhileSignedIn()
    {
        Session s(threeMarchRides);
        QApplication::setActiveWindow(s.w);
        QVERIFY(QTest::qWaitForWindowActive(s.w));
        QTest::keyClick(s.w, Qt::Key_Delete);
        QCOMPARE(s.dialogs().raised().size(), 0);
        s.signIn();
        s.w->Grid->setFocus();
        s.dialogs().answerNext(false);
        QTest::keyClick(s.w->Grid, Qt::Key_Delete);
        QCOMPARE(s.dialogs().last().name, QStringLiteral("msgDlgDeleteRecord"));
        s.w->mnuLogoff->trigger();
        s.dialogs().clear();
        QTest::keyClick(s.w, Qt::Key_Delete);
        QCOMPARE(s.dialogs().raised().size(), 0);
    }

    void currentRecordAfterCommands_data()
    {
        QTest::addColumn<bool>("newRecord");
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("current");
        // A saved ride stays current (the new one is dated the 15th).
        QTest::newRow("new, saved") << true << true << 2;
        QTest::newRow("new, closed") << true << false << 2;
        QTest::newRow("edit, saved") << false << true << 1;
        QTest::newRow("edit, closed") << false << false << 1;
    }
    void currentRecordAfterCommands()
    {
        QFETCH(bool, newRecord);
        QFETCH(bool, save);
        QFETCH(int, current);
        Session s(threeMarchRides);
        s.signIn();
        s.table->setCurrentIndex(1);
        s.command(newRecord ? s.w->mnuNewItem : s.w->mnuEditItem, [&](TfrmNewRecord& d) {
            typeInto(d.DBtime, QStringLiteral("1:00:00"));
            if (save)
                d.btnOk->click();
        });
        QCOMPARE(s.table->state(), ADOTable::State::Browse);
        QCOMPARE(s.table->currentIndex(), current);
        QCOMPARE(s.stored().size(), newRecord && save ? 4 : 3);
    }

    void newRecordDates()
    {
        Session s;
        s.signIn();

        // 29 February of a year that has none: the error, and nothing pending.
        s.w->setWorkingDate(QDate(2004, 2, 29));
        s.w->mnuNovyZaznam->trigger();
        QCOMPARE(s.dialogs().count(QStringLiteral("modal")), 0);
        QCOMPARE(s.dialogs().last().kind, QStringLiteral("error"));
        QCOMPARE(s.dialogs().last().text,
                 standardErrorText(Msg::format(Msg::InvalidRecordDate, {"29", "2", "2005"})));
        QCOMPARE(s.table->state(), ADOTable::State::Browse);
        QVERIFY(!s.dialog->isEditing());

        // A ride saved into another month drops out of the month view, and the
        // next new ride is offered its date.
        s.w->setWorkingDate(QDate(2005, 3, 15));
        s.command(s.w->mnuNovyZaznam, [&](TfrmNewRecord& d) {
            d.Calendar->setDate(QDate(2005, 4, 2));
            typeInto(d.DBtime, QStringLiteral("1:00:00"));
            d.btnOk->click();
        });
        QCOMPARE(s.table->recordCount(), 0);
        QCOMPARE(s.stored().size(), 1);
        QCOMPARE(s.stored().at(0)[fieldIndex(RideField::month)].toInt(), 4);
        QCOMPARE(s.w->workingDate(), QDate(2005, 4, 2));
        QCOMPARE(s.w->Mesice->tabIndex(), 2);
        QDate offered;
        s.command(s.w->mnuNewItem, [&](TfrmNewRecord& d) { offered = d.Calendar->date(); });
        QCOMPARE(offered, QDate(2005, 4, 2));

        // Editing an empty month starts a blank ride dated day zero.
        s.command(s.w->mnuEditItem, [&](TfrmNewRecord& d) {
            QCOMPARE(s.table->state(), ADOTable::State::Insert);
            QCOMPARE(d.Calendar->date(), QDate(1899, 12, 30));
            QCOMPARE(d.DBdst->text(), QString());
            QCOMPARE(d.grpTyp->itemIndex(), -1);
        });
        QCOMPARE(s.table->state(), ADOTable::State::Browse);
        QCOMPARE(s.stored().size(), 1);

        // The longest dates of a year stay whole in the date box, year included.
        for (const auto& example :
             {std::pair{"cs_CZ", QStringLiteral("30. listopadu 2005")},
              std::pair{"en_US", QStringLiteral("September 30, 2005")}}) {
            // A plain reference, not a structured binding: clang before 16
            // cannot capture a binding in the lambda below.
            const QString& shown = example.second;
            const ScopedLocale inLocale(QString::fromLatin1(example.first));
            s.command(s.w->mnuNovyZaznam, [&](TfrmNewRecord& d) {
                d.Calendar->setDate(shown.startsWith(QLatin1Char('S')) ? QDate(2005, 9, 30)
                                                                       : QDate(2005, 11, 30));
                const auto* box = d.Calendar->findChild<QLineEdit*>();
                QCOMPARE(box->text(), shown);
                QVERIFY2(box->fontMetrics().horizontalAdvance(shown) <= box->width() - 4,
                         qPrintable(shown));
            });
        }
    }
};

RYDEX_TEST_MAIN(TestRecordDialog, QApplication)
#include "tst_recorddialog.moc"
