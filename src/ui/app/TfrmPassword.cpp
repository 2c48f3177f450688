#include "app/TfrmPassword.h"

#include "polyglot/TbsPolyglotTranslator.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/ThemedFrame.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
constexpr int bandHeight = 30;
}

TfrmPassword::TfrmPassword(QWidget* owner)
    : ThemedDialog(owner, QStringLiteral("frmPassword"), QStringLiteral("Heslo k databázi"),
                   titleAndClose, Placement::CentredAtEachShowing)
{
    takeOwnerFont();
    auto* frame = new ThemedFrame(QStringLiteral("frmPasswordSui"), this, bandHeight);
    frmPasswordSui = frame;
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(14, bandHeight + 10, 14, 12);
    // The server's own words: which server, which user.
    auto* reason = new Label(QStringLiteral("lblReason"), QString(), frame);
    reason->setProperty("translatable", false);
    reason->setWordWrap(true);
    reason->setMinimumWidth(320);
    lblReason = reason;
    layout->addWidget(lblReason);
    auto* row = new QHBoxLayout;
    lblPassword = new Label(QStringLiteral("lblPassword"), QStringLiteral("&Heslo:"), frame);
    edtPassword = new Edit(QStringLiteral("edtPassword"), frame);
    edtPassword->setEchoMode(QLineEdit::Password);
    lblPassword->setBuddy(edtPassword);
    row->addWidget(lblPassword);
    row->addWidget(edtPassword, 1);
    layout->addLayout(row);
    addOkAndCancel(layout, frame, btnOk, btnCancel);
    setTabOrder(edtPassword, btnOk);
    setTabOrder(btnOk, btnCancel);
    // An empty password is no answer: the server asked because it wants one.
    btnOk->setEnabled(false);
    connect(edtPassword, &QLineEdit::textChanged, this,
            [this](const QString& text) { btnOk->setEnabled(!text.isEmpty()); });
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    if (TbsPolyglotTranslator* translator =
            applyThemeAndLanguage({QStringLiteral("frmPasswordSui"), QStringLiteral("edtPassword"),
                                   QStringLiteral("btnOk"), QStringLiteral("btnCancel")}))
        translator->AfterTranslate = [this](QObject*) { fitToTexts(); };
    fitToTexts();
}

void TfrmPassword::setReason(const QString& reason)
{
    lblReason->setText(reason);
    fitToTexts();
}

QString TfrmPassword::password() const
{
    return edtPassword->text();
}

void TfrmPassword::FormShow()
{
    edtPassword->setFocus();
}

std::optional<QString> askServerPassword(QWidget* owner, const QString& reason)
{
    TfrmPassword dialog(owner);
    dialog.setReason(reason);
    if (DialogPresenter::current().execModal(dialog) != QDialog::Accepted ||
        dialog.password().isEmpty())
        return std::nullopt;
    return dialog.password();
}

void TfrmPassword::fitToTexts()
{
    // The frame is no layout of the window's own: the window takes the size
    // its texts need, in the language shown.
    setFixedSize(frmPasswordSui->layout()->totalSizeHint());
}

void addOkAndCancel(QVBoxLayout* layout, QWidget* frame, QPushButton*& ok, QPushButton*& cancel)
{
    auto* buttons = new QHBoxLayout;
    ok = new Button(QStringLiteral("btnOk"), QStringLiteral("OK"), frame);
    ok->setDefault(true);
    cancel = new Button(QStringLiteral("btnCancel"), QStringLiteral("Storno"), frame);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}
