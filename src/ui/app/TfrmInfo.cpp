#include "app/TfrmInfo.h"

#include "store/AppIdentity.h"
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

TfrmInfo::TfrmInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(271, 283);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgProduct"));
    picture->setPixmap(ImageList::productPicture(32));
    picture->setFixedSize(32, 32);
    top->addWidget(picture);
    lblProduct = new QLabel(QString::fromLatin1(AppIdentity::title), this);
    lblProduct->setObjectName(QStringLiteral("lblProduct"));
    QFont bold = lblProduct->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    lblProduct->setFont(bold);
    top->addWidget(lblProduct, 1);
    layout->addLayout(top);

    lblWeb = new QLabel(this);
    lblWeb->setObjectName(QStringLiteral("lblWeb"));
    lblWeb->setTextFormat(Qt::RichText);
    lblWeb->setCursor(Qt::PointingHandCursor);
    lblWeb->installEventFilter(this);
    setLinkColour(QStringLiteral("blue"));
    connect(lblWeb, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    layout->addWidget(lblWeb);

    auto* version = new QHBoxLayout;
    lblVersionCaption = new QLabel(QStringLiteral("Verze programu:"), this);
    lblVersionCaption->setObjectName(QStringLiteral("lblVersionCaption"));
    lblVersion = new QLabel(QString::fromLatin1(AppIdentity::version), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    version->addWidget(lblVersionCaption);
    version->addWidget(lblVersion, 1);
    layout->addLayout(version);

    lblNoticeCaption = new QLabel(QStringLiteral("Upozornění:"), this);
    lblNoticeCaption->setObjectName(QStringLiteral("lblNoticeCaption"));
    QFont nb = lblNoticeCaption->font();
    nb.setBold(true);
    lblNoticeCaption->setFont(nb);
    layout->addWidget(lblNoticeCaption);
    lblNotice = new QLabel(
        QStringLiteral("Tento program je chráněn autorským právem. Smíte jej používat a předávat "
                       "dál beze změn. Autor neručí za škody vzniklé jeho používáním; své "
                       "záznamy si pravidelně zálohujte."),
        this);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setWordWrap(true);
    lblNotice->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(lblNotice, 1);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnOk);
    layout->addLayout(bottom);

    centreOnScreen(this);
}

void TfrmInfo::setLinkColour(const QString& colour)
{
    const QString address = QString::fromLatin1(webAddress);
    lblWeb->setText(
        QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:underline\">%1</a>")
            .arg(address, colour));
}

bool TfrmInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWeb) {
        if (event->type() == QEvent::Enter)
            setLinkColour(QStringLiteral("red"));
        else if (event->type() == QEvent::Leave)
            setLinkColour(QStringLiteral("blue"));
    }
    return QDialog::eventFilter(watched, event);
}
