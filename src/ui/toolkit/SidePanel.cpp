#include "toolkit/SidePanel.h"

#include "toolkit/CaptionBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

SidePanel::SidePanel(const QString& name, int openWidth, QWidget* parent)
    : QWidget(parent), m_openWidth(openWidth),
      m_header(new CaptionBar(name + QStringLiteral("Header"), name + QStringLiteral("Pin"), this)),
      m_pin(m_header->button()), m_inner(new QWidget(this)), m_content(new QVBoxLayout(m_inner))
{
    setObjectName(name);
    setFixedWidth(openWidth);
    setAutoFillBackground(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 0, 0, 0);
    outer->setSpacing(0);
    m_pin->setChecked(true);
    m_pin->setText(QStringLiteral("\u25B8"));
    outer->addWidget(m_header);
    m_content->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_inner, 1);
    connect(m_pin, &QToolButton::toggled, this, &SidePanel::setPinned);
}

QString SidePanel::caption() const
{
    return m_header->caption();
}

void SidePanel::setCaption(const QString& caption)
{
    m_header->setCaption(caption);
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
