#include "TestMain.h"

#include "app/TfrmPassword.h"
#include "base/MessageCatalogue.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MessageBoxWindow.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/ScriptedPresenter.h"
#include "toolkit/WidgetPresenter.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// A modal window of the kind the program raises, for the scripted presenter.
class TfrmProbe : public QDialog
{
    Q_OBJECT

public:
    TfrmProbe()
    {
        setObjectName(QStringLiteral("frmProbe"));
        setWindowTitle(QStringLiteral("Probe"));
        edtName = new QLineEdit(this);
        edtName->setObjectName(QStringLiteral("edtName"));
        btnOk = new QPushButton(QStringLiteral("OK"), this);
        btnOk->setObjectName(QStringLiteral("btnOk"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(edtName);
        layout->addWidget(btnOk);
        connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    }
    QLineEdit* edtName;
    QPushButton* btnOk;
};

// What the test saw of a message box while it was up.
struct SeenBox
{
    bool found = false;
    QString title;
    QString caption;
    bool captionBold = false;
    QString text;
    Qt::TextFormat textFormat = Qt::AutoText;
    int textLines = 0;
    QImage icon;
    QImage expectedIcon[4];
    QStringList buttons; // left to right
    QWidget* parent = nullptr;
    QPoint centre;
    QPoint screenCentre;
    int frameSlack = 0;

    QString describePlace() const
    {
        return QStringLiteral("centre %1,%2 screen centre %3,%4")
            .arg(centre.x())
            .arg(centre.y())
            .arg(screenCentre.x())
            .arg(screenCentre.y());
    }
};

QStyle::StandardPixmap pixmapOf(int iconType)
{
    const QStyle::StandardPixmap all[] = {
        QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
        QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxQuestion};
    return all[iconType];
}

SeenBox inspect(MessageBoxWindow* box)
{
    SeenBox seen;
    seen.found = true;
    seen.title = box->windowTitle();
    if (auto* caption = box->findChild<QLabel*>(QStringLiteral("captionLabel"))) {
        seen.caption = caption->isVisible() ? caption->text() : QString();
        seen.captionBold = caption->font().bold();
    }
    if (auto* text = box->findChild<QLabel*>(QStringLiteral("textLabel"))) {
        seen.text = text->text();
        seen.textFormat = text->textFormat();
        seen.textLines = text->height() / text->fontMetrics().lineSpacing();
    }
    if (auto* icon = box->findChild<QLabel*>(QStringLiteral("iconLabel"))) {
        seen.icon = icon->pixmap().toImage();
        const int size = icon->pixmap().width();
        for (int i = 0; i < 4; ++i)
            seen.expectedIcon[i] =
                box->style()->standardIcon(pixmapOf(i), nullptr, box).pixmap(size).toImage();
    }
    QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    for (QPushButton* b : buttons)
        seen.buttons << b->text();
    seen.parent = box->parentWidget();
    seen.centre = box->frameGeometry().center();
    seen.screenCentre = box->screen()->availableGeometry().center();
    seen.frameSlack =
        box->frameGeometry().width() - box->width() + box->frameGeometry().height() - box->height();

    return seen;
}

// Closes the box as the user would: "button1", "button2", "enter", "escape" or
// "close" (the frame's close button).
void act(MessageBoxWindow* box, const QString& action)
{
    if (action == QLatin1String("enter"))
        QTest::keyClick(box, Qt::Key_Return);
    else if (action == QLatin1String("escape"))
        QTest::keyClick(box, Qt::Key_Escape);
    else if (action == QLatin1String("close"))
        box->close();
    else if (auto* button = box->findChild<QPushButton*>(action))
        button->click();
}

// Runs raise(), which brings up a message box; once it is up, records what it
// shows and closes it with the given action. A box the action fails to close
// is closed with result -1 a moment later, so that a fault fails the test
// instead of hanging it.
template <class Raise> SeenBox driveBox(QObject* context, Raise raise, const QString& action)
{
    SeenBox seen;
    QTimer poll;
    poll.setInterval(5);
    int tries = 0;
    QObject::connect(&poll, &QTimer::timeout, context, [&] {
        auto* box = qobject_cast<MessageBoxWindow*>(QApplication::activeModalWidget());
        if (!box) {
            if (++tries > 400)
                poll.stop();
            return;
        }
        poll.stop();
        seen = inspect(box);
        act(box, action);
        QTimer::singleShot(1000, box, [box] { box->done(-1); });
    });
    poll.start();
    raise();
    return seen;
}
} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void standardErrorTextRule_data();
    void standardErrorTextRule();
    void componentAndPresenterSwap();
    void scriptedMessagesAndErrors();
    void scriptedModalWindows();
    void realMessageBox_data();
    void realMessageBox();
    void realErrorBox();
    void realBoxOverActiveWindow();
    void realPasswordDialog_data();
    void realPasswordDialog();
};

void TestDialogs::standardErrorTextRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("empty stays empty") << QString() << QString();
    QTest::newRow("letter") << "Range check error" << "Range check error.";
    QTest::newRow("full stop already") << "abc." << "abc.";
    QTest::newRow("exclamation sorts before") << "x!" << "x!";
    QTest::newRow("hyphen sorts before") << "a-" << "a-";
    QTest::newRow("trailing space sorts before") << "text " << "text ";
    QTest::newRow("trailing line break") << "text\n" << "text\n";
    QTest::newRow("digit") << "Error 42" << "Error 42.";
    QTest::newRow("slash sorts after") << "a/" << "a/.";
    QTest::newRow("question mark sorts after") << "Really?" << "Really?.";
    QTest::newRow("Czech letter") << QStringLiteral("Chyba souboru ř")
                                  << QStringLiteral("Chyba souboru ř.");
    QTest::newRow("ellipsis by code point") << QStringLiteral("Čekejte…")
                                            << QStringLiteral("Čekejte….");
    QTest::newRow("outside the BMP") << QStringLiteral("hotovo 🚲")
                                     << QStringLiteral("hotovo 🚲.");
    // clang-format on
}

void TestDialogs::standardErrorTextRule()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(standardErrorText(text), shown);
}

void TestDialogs::componentAndPresenterSwap()
{
    QObject owner;
    owner.setObjectName(QStringLiteral("TfrmBase"));
    auto* dialog = new MessageDialog(QStringLiteral("msgDlgDeleteRecord"), &owner);
    QCOMPARE(owner.findChild<MessageDialog*>(QStringLiteral("msgDlgDeleteRecord")), dialog);

    // Language files reach the dialog through its properties by name.
    QVERIFY(dialog->setProperty("Caption", QStringLiteral("Potvrzení")));
    QVERIFY(dialog->setProperty("Text", QStringLiteral("Opravdu chcete záznam smazat?")));
    QVERIFY(dialog->setProperty("Button2Caption", QStringLiteral("Zrušit")));
    QVERIFY(dialog->setProperty("ButtonCount", 2));
    QVERIFY(dialog->setProperty("IconType", QStringLiteral("Question")));
    QCOMPARE(dialog->iconType(), MessageDialog::Question);

    // Nothing installed: the real windows.
    QVERIFY(dynamic_cast<WidgetPresenter*>(&DialogPresenter::current()));
    {
        ScopedPresenter dialogs;
        QCOMPARE(&DialogPresenter::current(), &dialogs.presenter());
        dialogs->answerNext(false);
        QVERIFY(!dialog->execute());
        {
            ScopedPresenter inner;
            QVERIFY(dialog->execute());
            QCOMPARE(inner->count(QStringLiteral("message")), 1);
        }
        // The outer one is back, with what it had recorded.
        QCOMPARE(&DialogPresenter::current(), &dialogs.presenter());
        QCOMPARE(dialogs->count(QStringLiteral("message")), 1);
        const ScriptedPresenter::Raised r = dialogs->last();
        QCOMPARE(r.name, QStringLiteral("msgDlgDeleteRecord"));
        QCOMPARE(r.caption, QStringLiteral("Potvrzení"));
        QCOMPARE(r.buttonCount, 2);
        QCOMPARE(r.iconType, int(MessageDialog::Question));
    }
    QVERIFY(dynamic_cast<WidgetPresenter*>(&DialogPresenter::current()));

    // install() hands back the presenter it replaces; an empty one means the
    // real windows again.
    auto scripted = std::make_unique<ScriptedPresenter>();
    ScriptedPresenter* raw = scripted.get();
    std::unique_ptr<DialogPresenter> previous = DialogPresenter::install(std::move(scripted));
    QVERIFY(dynamic_cast<WidgetPresenter*>(previous.get()));
    std::unique_ptr<DialogPresenter> back = DialogPresenter::install(nullptr);
    QCOMPARE(back.get(), raw);
    QVERIFY(dynamic_cast<WidgetPresenter*>(&DialogPresenter::current()));
}

void TestDialogs::scriptedMessagesAndErrors()
{
    QObject owner;
    MessageDialog jet(QStringLiteral("msgDlgMSJet"), &owner);
    jet.setCaption(QStringLiteral("Stop!"));
    jet.setText(QStringLiteral("Nemáte nainstalován Microsoft Jet 4.0 pro práci s databázemi!"));
    jet.setIconType(MessageDialog::Warning);
    MessageDialog print(QStringLiteral("msgDlgNotPrint"), &owner);
    print.setCaption(QStringLiteral("Pozastaveno"));
    print.setButtonCount(2);
    print.setIconType(MessageDialog::Question);

    ScopedPresenter dialogs;
    QCOMPARE(dialogs->last().kind, QString());
    dialogs->answerNext(false);
    dialogs->answerNext(true);
    dialogs->answerNext(false);
    QCOMPARE(dialogs->pendingAnswers(), 3);

    QCOMPARE(print.execute(), false);
    QCOMPARE(jet.execute(), true);
    DialogPresenter::current().showError(QStringLiteral("Range check error"));
    QCOMPARE(print.execute(), false);
    // Queue used up: the default answer, then a changed default.
    QCOMPARE(print.execute(), true);
    dialogs->setDefaultAnswer(false);
    QCOMPARE(print.execute(), false);
    QCOMPARE(dialogs->pendingAnswers(), 0);

    const QVector<ScriptedPresenter::Raised>& raised = dialogs->raised();
    QCOMPARE(raised.size(), 6);
    QStringList names;
    QVector<int> answers;
    for (const auto& r : raised) {
        names << r.name;
        answers << r.answer;
    }
    QCOMPARE(names, (QStringList{"msgDlgNotPrint", "msgDlgMSJet", "", "msgDlgNotPrint",
                                 "msgDlgNotPrint", "msgDlgNotPrint"}));
    QCOMPARE(answers, (QVector<int>{0, 1, 1, 0, 1, 0}));

    const ScriptedPresenter::Raised& message = raised.at(1);
    QCOMPARE(message.kind, QStringLiteral("message"));
    QCOMPARE(message.className, QStringLiteral("MessageDialog"));
    QCOMPARE(message.caption, QStringLiteral("Stop!"));
    QCOMPARE(message.text, jet.text());
    QCOMPARE(message.iconType, int(MessageDialog::Warning));
    QCOMPARE(message.buttonCount, 1);

    const ScriptedPresenter::Raised& error = raised.at(2);
    QCOMPARE(error.kind, QStringLiteral("error"));
    QCOMPARE(error.caption, QStringLiteral("Rydex 2005"));
    QCOMPARE(error.text, QStringLiteral("Range check error."));
    QCOMPARE(error.iconType, int(MessageDialog::Stop));
    QCOMPARE(error.buttonCount, 1);

    QCOMPARE(dialogs->count(QStringLiteral("message")), 5);
    QCOMPARE(dialogs->count(QStringLiteral("error")), 1);
    QCOMPARE(dialogs->count(QStringLiteral("modal")), 0);
    dialogs->clear();
    QCOMPARE(dialogs->raised().size(), 0);
}

void TestDialogs::scriptedModalWindows()
{
    ScopedPresenter dialogs;
    QObject owner;
    MessageDialog noSave(QStringLiteral("msgDlgNoSave"), &owner);

    // Nothing scripted: shown, cancelled and closed again.
    TfrmProbe probe;
    QSignalSpy finished(&probe, &QDialog::finished);
    QCOMPARE(DialogPresenter::current().execModal(probe), int(QDialog::Rejected));
    QVERIFY(!probe.isVisible());
    QCOMPARE(finished.size(), 1);

    // The handler acts inside the window; what it raises comes after it.
    QString typed;
    dialogs->setModalHandler([&](QDialog& window) {
        auto* edit = window.findChild<QLineEdit*>(QStringLiteral("edtName"));
        edit->setText(QStringLiteral("Petr"));
        noSave.execute();
        window.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        typed = edit->text();
        return window.result();
    });
    // Shown modal while the handler runs; closed with its answer through done().
    bool shownModal = false;
    dialogs->handleNextModal([&](QDialog& window) {
        shownModal = window.isVisible() && QApplication::activeModalWidget() == &window;
        return 7;
    });

    QCOMPARE(DialogPresenter::current().execModal(probe), 7);
    QCOMPARE(probe.result(), 7);
    QVERIFY(shownModal);
    QCOMPARE(finished.size(), 2);
    QCOMPARE(finished.last().at(0).toInt(), 7);
    QVERIFY(!probe.isVisible());
    QVERIFY(typed.isEmpty());
    QCOMPARE(DialogPresenter::current().execModal(probe), int(QDialog::Accepted));
    QCOMPARE(typed, QStringLiteral("Petr"));
    QCOMPARE(probe.result(), int(QDialog::Accepted));

    const QVector<ScriptedPresenter::Raised>& raised = dialogs->raised();
    QCOMPARE(raised.size(), 4);
    QCOMPARE(raised.at(0).answer, int(QDialog::Rejected));
    QCOMPARE(raised.at(1).answer, 7);
    const ScriptedPresenter::Raised& modal = raised.at(2);
    QCOMPARE(modal.kind, QStringLiteral("modal"));
    QCOMPARE(modal.name, QStringLiteral("frmProbe"));
    QCOMPARE(modal.className, QStringLiteral("TfrmProbe"));
    QCOMPARE(modal.caption, QStringLiteral("Probe"));
    QCOMPARE(modal.answer, int(QDialog::Accepted));
    QCOMPARE(raised.at(3).name, QStringLiteral("msgDlgNoSave"));

    // An empty handler brings back the default.
    dialogs->setModalHandler({});
    QCOMPARE(DialogPresenter::current().execModal(probe), int(QDialog::Rejected));
}

void TestDialogs::realMessageBox_data()
{
    QTest::addColumn<int>("iconType");
    QTest::addColumn<int>("buttonCount");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("answer");

    QTest::newRow("information, OK clicked") << 0 << 1 << "button1" << true;
    QTest::newRow("warning, Esc presses the only button") << 1 << 1 << "escape" << true;
    QTest::newRow("stop, Enter") << 2 << 1 << "enter" << true;
    QTest::newRow("one button, frame closed") << 1 << 1 << "close" << true;
    QTest::newRow("question, Cancel clicked") << 3 << 2 << "button2" << false;
    QTest::newRow("question, OK clicked") << 3 << 2 << "button1" << true;
    QTest::newRow("two buttons, Enter is OK") << 1 << 2 << "enter" << true;
    QTest::newRow("two buttons, Esc is Cancel") << 1 << 2 << "escape" << false;
    QTest::newRow("two buttons, frame closed") << 1 << 2 << "close" << false;
}

void TestDialogs::realMessageBox()
{
    QFETCH(int, iconType);
    QFETCH(int, buttonCount);
    QFETCH(QString, action);
    QFETCH(bool, answer);

    QObject owner;
    MessageDialog dialog(QStringLiteral("msgDlgNotDatabeseOpen"), &owner);
    dialog.setCaption(QStringLiteral("Chyba"));
    // Long enough to wrap, and markup that must show as typed.
    const QString text = QStringLiteral(
        "Nemohu pracovat s <b>databází</b>. Restartujte program, při potížích celé PC. "
        "Pokud potíže trvají, obnovte soubor Rydex.dat ze zálohy.");
    dialog.setText(text);
    dialog.setIconType(MessageDialog::IconType(iconType));
    dialog.setButtonCount(buttonCount);
    dialog.setButton1Caption(QStringLiteral("OK"));
    dialog.setButton2Caption(QStringLiteral("Zrušit"));

    bool result = !answer;
    const SeenBox seen = driveBox(
        this, [&] { result = dialog.execute(); }, action);
    QVERIFY(seen.found);
    QCOMPARE(result, answer);

    QCOMPARE(seen.title, QStringLiteral("Chyba"));
    QCOMPARE(seen.caption, QStringLiteral("Chyba"));
    QVERIFY(seen.captionBold);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.textFormat, Qt::PlainText);
    QVERIFY2(seen.textLines >= 2, qPrintable(QString::number(seen.textLines)));
    const QStringList buttons =
        buttonCount == 1 ? QStringList{"OK"} : QStringList{"OK", QStringLiteral("Zrušit")};
    QCOMPARE(seen.buttons, buttons);

    // The style's four icons differ, and the box shows the one of its type.
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j)
            QVERIFY(seen.expectedIcon[i] != seen.expectedIcon[j]);
    }
    QVERIFY(!seen.icon.isNull());
    QCOMPARE(seen.icon, seen.expectedIcon[iconType]);

    // With no window to learn the frame from, the frame may shift it a little.
    QVERIFY2((seen.centre - seen.screenCentre).manhattanLength() <= seen.frameSlack + 1,
             qPrintable(seen.describePlace()));
}

void TestDialogs::realErrorBox()
{
    Msg::setRouter([](int id) -> std::optional<QString> {
        if (id == Msg::OK)
            return QStringLiteral("Budiž");
        return std::nullopt;
    });
    WidgetPresenter presenter;
    const SeenBox seen = driveBox(
        this, [&] { presenter.showError(QStringLiteral("Range check error")); }, "enter");
    Msg::setRouter({});

    QVERIFY(seen.found);
    QCOMPARE(seen.title, QStringLiteral("Rydex 2005"));
    QCOMPARE(seen.caption, QStringLiteral("Rydex 2005"));
    QCOMPARE(seen.text, QStringLiteral("Range check error."));
    QCOMPARE(seen.icon, seen.expectedIcon[MessageDialog::Stop]);
    QCOMPARE(seen.buttons, QStringList{QStringLiteral("Budiž")});
}

void TestDialogs::realBoxOverActiveWindow()
{
    // A main window off in a corner: the box stands over it but comes up in
    // the middle of the screen, and is gone once answered.
    QWidget main;
    main.setGeometry(10, 10, 240, 160);
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));

    QObject owner;
    MessageDialog dialog(QStringLiteral("msgDlgNotDelete"), &owner);
    dialog.setCaption(QStringLiteral("Stop!"));
    dialog.setText(QStringLiteral("Není co mazat!"));
    SeenBox seen = driveBox(
        this, [&] { dialog.execute(); }, "button1");
    QVERIFY(seen.found);
    QCOMPARE(seen.parent, &main);
    QVERIFY2((seen.centre - seen.screenCentre).manhattanLength() <= 1,
             qPrintable(seen.describePlace()));
    QCOMPARE(main.findChildren<MessageBoxWindow*>().size(), 0);

    // Raised from inside a modal window, it stands over that window.
    TfrmProbe probe;
    WidgetPresenter presenter;
    bool answered = false;
    QTimer::singleShot(0, &probe, [&] {
        seen = driveBox(
            this, [&] { answered = dialog.execute(); }, "button1");
        probe.done(42);
    });
    QCOMPARE(presenter.execModal(probe), 42);
    QVERIFY(seen.found);
    QVERIFY(answered);
    QCOMPARE(seen.parent, &probe);
}

void TestDialogs::realPasswordDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("answer"); // null: cancelled

    QTest::newRow("typed, Enter") << "Tajne 123"
                                  << "enter"
                                  << "Tajne 123";
    QTest::newRow("typed, OK clicked") << "x"
                                       << "ok"
                                       << "x";
    QTest::newRow("typed, Esc") << "Tajne 123"
                                << "escape" << QString();
    QTest::newRow("typed, Cancel clicked") << "Tajne 123"
                                           << "cancel" << QString();
    // An empty password is no answer: Enter does nothing until one is typed.
    QTest::newRow("nothing typed, Enter, then Esc") << ""
                                                    << "enter" << QString();
}

void TestDialogs::realPasswordDialog()
{
    QFETCH(QString, typed);
    QFETCH(QString, action);
    QFETCH(QString, answer);

    const ScopedPresenter<WidgetPresenter> real;
    QWidget owner;
    owner.show();
    const QString reason = QStringLiteral("The server \"host=db\" asks for the password of the "
                                          "user \"jan\".");
    QString seenReason;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    bool stillOpenAfterEnter = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<TfrmPassword*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        seenReason = dialog->lblReason->text();
        echo = dialog->edtPassword->echoMode();
        // Typed where the focus is, as the user types.
        QTest::keyClicks(QApplication::focusWidget(), typed);
        if (action == QLatin1String("enter")) {
            QTest::keyClick(dialog, Qt::Key_Return);
            stillOpenAfterEnter = dialog->isVisible();
            if (stillOpenAfterEnter)
                QTest::keyClick(dialog, Qt::Key_Escape);
        } else if (action == QLatin1String("escape")) {
            QTest::keyClick(dialog, Qt::Key_Escape);
        } else {
            QTest::mouseClick(action == QLatin1String("ok") ? dialog->btnOk : dialog->btnCancel,
                              Qt::LeftButton);
        }
    });
    poll.start();
    const std::optional<QString> got = askServerPassword(&owner, reason);
    QCOMPARE(seenReason, reason);
    QCOMPARE(echo, QLineEdit::Password);
    QCOMPARE(got.has_value(), !answer.isNull());
    if (got)
        QCOMPARE(*got, answer);
    QCOMPARE(stillOpenAfterEnter, typed.isEmpty() && action == QLatin1String("enter"));
}

RYDEX_TEST_MAIN(TestDialogs, QApplication)
#include "tst_dialogs.moc"
