#include "toolkit/SidePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

SidePanel::SidePanel(const QString& name, int openWidth, QWidget* parent)
    : QWidget(parent), m_openWidth(openWidth), m_header(new QWidget(this)),
      m_caption(new QLabel(m_header)), m_pin(new QToolButton(m_header)), m_inner(new QWidget(this)),
      m_content(new QVBoxLayout(m_inner))
{
    setObjectName(name);
    setFixedWidth(openWidth);
    setAutoFillBackground(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 0, 0, 0);
    outer->setSpacing(0);
    m_header->setObjectName(name + QStringLiteral("Header"));
    m_header->setAutoFillBackground(true);
    QPalette pal = m_header->palette();
    pal.setColor(QPalette::Window, QColor(90, 110, 150));
    pal.setColor(QPalette::WindowText, Qt::white);
    m_header->setPalette(pal);
    auto* head = new QHBoxLayout(m_header);
    head->setContentsMargins(6, 2, 2, 2);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    head->addWidget(m_caption, 1);
    m_pin->setObjectName(name + QStringLiteral("Pin"));
    m_pin->setAutoRaise(true);
    m_pin->setCheckable(true);
    m_pin->setChecked(true);
    m_pin->setText(QStringLiteral("\u25B8"));
    m_pin->setToolTip(QString());
    head->addWidget(m_pin);
    outer->addWidget(m_header);
    m_content->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_inner, 1);
    connect(m_pin, &QToolButton::toggled, this, &SidePanel::setPinned);
}

QString SidePanel::caption() const
{
    return m_caption->text();
}

void SidePanel::setCaption(const QString& caption)
{
    m_caption->setText(caption);
}

void SidePanel::setPinned(bool pinned)
{
    if (pinned == m_pinned)
        return;
    m_pinned = pinned;
    m_pin->setChecked(pinned);
    m_pin->setText(pinned ? QStringLiteral("\u25B8") : QStringLiteral("\u25C2"));
    setOpen(pinned || underMouse());
}

void SidePanel::setOpen(bool open)
{
    m_open = open;
    m_header->setVisible(open);
    m_inner->setVisible(open);
    setFixedWidth(open ? m_openWidth : foldedWidth);
}

void SidePanel::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (!m_pinned)
        setOpen(true);
}

void SidePanel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!m_pinned)
        setOpen(false);
}
