#include "settings/TfrmNewUser.h"
#include "toolkit/Controls.h"
#include "toolkit/ThemedFrame.h"

#include "settings/CyclistName.h"
#include "settings/TfrmSettings.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/TData.h"
#include "toolkit/MainWindowOperations.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/RunReported.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
QRect below(int x, int y, int w, int h)
{
    return QRect(x, y, w, h);
}
} // namespace

TfrmNewUser* createNewUserDialog(MainWindowOperations* main)
{
    return new TfrmNewUser(main);
}

TfrmNewUser::TfrmNewUser(MainWindowOperations* main)
    : ThemedDialog(main->ownerWindow(), QStringLiteral("frmNewUser"),
                   QStringLiteral("Nový uživatel"), titleAndClose,
                   Placement::CentredAtEachShowing),
      m_main(main)
{
    takeOwnerFont();
    setFixedSize(296, 106);
    auto* frame = new ThemedFrame(QStringLiteral("frmNewUserSui"), this, 32);

    Label1 = new Label(QStringLiteral("Label1"), QStringLiteral("Jméno uživatele:"), frame);
    Label1->setGeometry(below(24, 49, 160, 15));

    edtCycling = new Edit(QStringLiteral("edtCycling"), frame);
    edtCycling->setGeometry(below(24, 64, 153, 21));
    edtCycling->setMaxLength(maxNameLength);
    QPalette cream = edtCycling->palette();
    cream.setColor(QPalette::Base, QColor(255, 251, 240));
    edtCycling->setPalette(cream);
    Label1->setBuddy(edtCycling);

    btnCreate = new Button(QStringLiteral("btnCreate"), QStringLiteral("Vytvoř"), frame);
    btnCreate->setGeometry(below(192, 62, 75, 25));
    btnCreate->setDefault(true);
    connect(btnCreate, &QPushButton::clicked, this,
            [this] { runReported([this] { btnCreateClick(); }); });

    msgDlgUserExist = new MessageDialog(QStringLiteral("msgDlgUserExist"), this);
    msgDlgUserExist->setCaption(QStringLiteral("Upozornění"));
    msgDlgUserExist->setIconType(MessageDialog::Stop);
    msgDlgUserExist->setButtonCount(1);
    msgDlgUserExist->setButton1Caption(QStringLiteral("OK"));
    msgDlgUserExist->setButton2Caption(QStringLiteral("Cancel"));
    msgDlgUserExist->setText(QStringLiteral("Tento uživatel již existuje!"));
    const auto refusal = [this](const char* name, const QString& text) {
        auto* d = new MessageDialog(QString::fromLatin1(name), this);
        d->setCaption(QStringLiteral("Upozornění"));
        d->setIconType(MessageDialog::Stop);
        d->setButtonCount(1);
        d->setButton1Caption(QStringLiteral("OK"));
        d->setButton2Caption(QStringLiteral("Cancel"));
        d->setText(text);
        return d;
    };
    msgDlgNoName = refusal("msgDlgNoName",
                           QStringLiteral("Jméno uživatele je prázdné nebo je tvoří jen mezery. "
                                          "Napište jméno, pod kterým budete jízdy zapisovat."));
    msgDlgNameCharacters =
        refusal("msgDlgNameCharacters",
                QStringLiteral("Jméno uživatele obsahuje neviditelné řídicí znaky (například "
                               "změnu směru písma), kvůli nimž by se v nabídce ukazovalo jinak, "
                               "než zní. Napište jméno bez nich."));
    applyThemeAndLanguage({QStringLiteral("edtCycling"), QStringLiteral("btnCreate"),
                           QStringLiteral("msgDlgUserExist"), QStringLiteral("msgDlgNoName"),
                           QStringLiteral("msgDlgNameCharacters"),
                           QStringLiteral("msgDlgUserCreated")});
}

void TfrmNewUser::FormShow()
{
    edtCycling->setFocus();
}

bool TfrmNewUser::nameTaken(const QString& name) const
{
    // The settings dialog's tree while it is open, and the store itself: the
    // dialog may have been opened from the sign-in menu, and another copy of
    // the program may have added a cyclist meanwhile.
    QStringList names = m_main->cyclistsKey().subkeys();
    if (TfrmSettings* settings = m_main->settingsDialog(); settings && settings->isVisible())
        names += settings->listedCyclists();
    for (const QString& existing : names) {
        if (QString::compare(existing, name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void TfrmNewUser::btnCreateClick()
{
    // Taken exactly as typed: the name is the cyclist's key and the owner of
    // his rides.
    const QString name = edtCycling->text();
    MessageDialog* refused = nullptr;
    switch (cyclistNameProblem(name)) {
    case CyclistNameProblem::Blank:
        refused = msgDlgNoName;
        break;
    case CyclistNameProblem::ControlCharacters:
        refused = msgDlgNameCharacters;
        break;
    case CyclistNameProblem::None:
        if (nameTaken(name))
            refused = msgDlgUserExist;
        break;
    }
    if (refused) {
        refused->execute();
        edtCycling->setFocus();
        return;
    }

    // The controls bound to the ride table stay still while the cyclists
    // change, however the creation ends.
    TData* data = m_main->dataModule();
    ControlsDetached held(data ? data->table() : nullptr);
    // The key first: a store that refuses it leaves no cyclist listed who
    // does not exist.
    PreferenceKey cyclists = m_main->cyclistsKey();
    cyclists.createSubkey(name);
    TfrmSettings* settings = m_main->settingsDialog();
    if (settings && settings->isVisible())
        settings->appendCyclistNode(name);

    edtCycling->clear();
    accept();
    m_main->showSignedOut();
    if (settings) {
        settings->cyclistSignedOut();
        settings->update();
    }
    m_main->AktualizaceMenu();
    edtCycling->setFocus();
}
