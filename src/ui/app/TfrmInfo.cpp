#include "app/TfrmInfo.h"

#include "base/AppIdentity.h"
#include "theme/Contrast.h"
#include "toolkit/ImageList.h"
#include "toolkit/ScreenPlacement.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "toolkit/Controls.h"

TfrmInfo::TfrmInfo(QWidget* parent)
    : ThemedDialog(parent, QStringLiteral("frmInfo"), QStringLiteral("About"), Qt::Dialog)
{
    setFixedSize(271, 283);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    auto* top = new QHBoxLayout;
    auto* picture = new Label(QStringLiteral("imgProduct"), QString(), this);
    picture->setPixmap(ImageList::productPicture(32));
    picture->setFixedSize(32, 32);
    top->addWidget(picture);
    lblProduct =
        new Label(QStringLiteral("lblProduct"), QString::fromLatin1(AppIdentity::title), this);
    QFont bold = lblProduct->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    lblProduct->setFont(bold);
    top->addWidget(lblProduct, 1);
    layout->addLayout(top);

    lblWeb = new Label(QStringLiteral("lblWeb"), QString(), this);
    lblWeb->setTextFormat(Qt::RichText);
    lblWeb->setProperty("translatable", false); // the address
    lblWeb->setCursor(Qt::PointingHandCursor);
    lblWeb->installEventFilter(this);
    setLinkColour(Qt::blue);
    connect(lblWeb, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    layout->addWidget(lblWeb);

    auto* version = new QHBoxLayout;
    lblVersionCaption =
        new Label(QStringLiteral("lblVersionCaption"), QStringLiteral("Verze programu:"), this);
    lblVersion =
        new Label(QStringLiteral("lblVersion"), QString::fromLatin1(AppIdentity::version), this);
    lblVersion->setProperty("translatable", false);
    version->addWidget(lblVersionCaption);
    version->addWidget(lblVersion, 1);
    layout->addLayout(version);

    lblNoticeCaption =
        new Label(QStringLiteral("lblNoticeCaption"), QStringLiteral("Upozornění:"), this);
    QFont nb = lblNoticeCaption->font();
    nb.setBold(true);
    lblNoticeCaption->setFont(nb);
    layout->addWidget(lblNoticeCaption);
    lblNotice = new Label(
        QStringLiteral("lblNotice"),
        QStringLiteral("Tento program je chráněn autorským právem. Smíte jej používat a předávat "
                       "dál beze změn. Autor neručí za škody vzniklé jeho používáním; své "
                       "záznamy si pravidelně zálohujte."),
        this);
    lblNotice->setWordWrap(true);
    lblNotice->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(lblNotice, 1);

    btnOk = new Button(QStringLiteral("btnOk"), QStringLiteral("OK"), this);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnOk);
    layout->addLayout(bottom);

    applyThemeAndLanguage({QStringLiteral("btnOK")});
    centreOnScreen(this);
}

void TfrmInfo::setLinkColour(const QColor& colour)
{
    // Blue and red as they read on the theme's background: lighter on a dark
    // one.
    ensurePolished();
    const QColor shown = readableOn(colour, palette().color(QPalette::Window));
    const QString address = QString::fromLatin1(webAddress);
    lblWeb->setText(
        QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:underline\">%1</a>")
            .arg(address, shown.name()));
}

void TfrmInfo::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && lblWeb)
        setLinkColour(Qt::blue);
}

bool TfrmInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWeb) {
        if (event->type() == QEvent::Enter)
            setLinkColour(Qt::red);
        else if (event->type() == QEvent::Leave)
            setLinkColour(Qt::blue);
    }
    return QDialog::eventFilter(watched, event);
}
