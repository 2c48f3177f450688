#include "toolkit/TabControl.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

TabControl::TabControl(const QString& name, QWidget* parent)
    : QWidget(parent), m_bar(new QTabBar(this)), m_body(new QWidget(this)),
      m_layout(new QVBoxLayout(this))
{
    setObjectName(name);
    m_bar->setObjectName(name + QStringLiteral("Tabs"));
    m_bar->setExpanding(false);
    m_bar->setDrawBase(true);
    // A clicked tab takes the focus, so the arrow keys go on from it.
    m_bar->setFocusPolicy(Qt::StrongFocus);
    m_body->setObjectName(name + QStringLiteral("Body"));
    m_body->setAutoFillBackground(true);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    auto* barRow = new QHBoxLayout;
    barRow->setContentsMargins(0, 0, 0, 0);
    barRow->addWidget(m_bar);
    barRow->addStretch();
    m_layout->addLayout(barRow);
    m_layout->addWidget(m_body, 1);
    connect(m_bar, &QTabBar::currentChanged, this, &TabControl::Change);
}

QStringList TabControl::tabs() const
{
    QStringList out;
    for (int i = 0; i < m_bar->count(); ++i)
        out << m_bar->tabText(i);
    return out;
}

void TabControl::setTabs(const QStringList& captions)
{
    const int keep = m_bar->currentIndex();
    const QSignalBlocker block(m_bar);
    while (m_bar->count() > captions.size())
        m_bar->removeTab(m_bar->count() - 1);
    for (int i = 0; i < captions.size(); ++i) {
        if (i < m_bar->count())
            m_bar->setTabText(i, captions.at(i));
        else
            m_bar->addTab(captions.at(i));
    }
    if (keep >= 0 && keep < m_bar->count())
        m_bar->setCurrentIndex(keep);
    // A hidden tab bar does not tell its row that new captions changed its
    // width (a language chosen before sign-in); the row kept the old width
    // and the bar hid its first tabs behind scroll buttons.
    m_bar->updateGeometry();
}

int TabControl::tabIndex() const
{
    return m_bar->currentIndex();
}

void TabControl::setTabIndex(int index)
{
    if (index < 0 || index >= m_bar->count())
        return;
    m_bar->setCurrentIndex(index);
}

QString TabControl::tabCaption(int index) const
{
    return m_bar->tabText(index);
}

void TabControl::setHint(const QString& hint)
{
    setToolTip(hint);
    setStatusTip(hint);
}

void TabControl::setTabsIndent(int pixels)
{
    if (auto* row = qobject_cast<QHBoxLayout*>(m_layout->itemAt(0)->layout()))
        row->setContentsMargins(pixels, 0, 0, 0);
}
