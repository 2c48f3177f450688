#include "toolkit/CaptionBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

CaptionBar::CaptionBar(const QString& name, const QString& buttonName, QWidget* parent)
    : QWidget(parent), m_caption(new QLabel(this)), m_button(new QToolButton(this))
{
    setObjectName(name);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(90, 110, 150));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 2, 2);
    m_caption->setObjectName(name + QStringLiteral("Caption"));
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    row->addWidget(m_caption, 1);
    m_button->setObjectName(buttonName);
    m_button->setAutoRaise(true);
    m_button->setCheckable(true);
    row->addWidget(m_button);
}

QString CaptionBar::caption() const
{
    return m_caption->text();
}

void CaptionBar::setCaption(const QString& caption)
{
    m_caption->setText(caption);
}
