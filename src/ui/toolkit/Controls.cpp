#include "toolkit/Controls.h"

#include "toolkit/BandedScrollBars.h"

#include <QEvent>

namespace {
template <class Control> Control* named(Control* control, const QString& name)
{
    control->setObjectName(name);
    return control;
}
} // namespace

Label::Label(const QString& name, const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setObjectName(name);
}

void Label::setCaption(const QString& caption)
{
    setText(caption);
    if (m_autoSize)
        adjustSize();
}

void Label::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        adjustSize();
}

void Label::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (m_autoSize && event->type() == QEvent::FontChange)
        adjustSize();
}

Button::Button(const QString& name, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    named(this, name);
}

ToolButton::ToolButton(const QString& name, QWidget* parent) : QToolButton(parent)
{
    named(this, name);
}

CheckBox::CheckBox(const QString& name, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent)
{
    named(this, name);
}

RadioButton::RadioButton(const QString& name, const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent)
{
    named(this, name);
}

GroupBox::GroupBox(const QString& name, const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent)
{
    named(this, name);
}

Edit::Edit(const QString& name, QWidget* parent) : QLineEdit(parent)
{
    named(this, name);
}

DateTimePicker::DateTimePicker(const QString& name, QWidget* parent) : QDateEdit(parent)
{
    named(this, name);
}

bool DateTimePicker::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

TreeView::TreeView(const QString& name, QWidget* parent) : QTreeWidget(parent)
{
    named(this, name);
    BandedScrollBars::useFor(this);
}

StatusBar::StatusBar(const QString& name, QWidget* parent) : QStatusBar(parent)
{
    named(this, name);
}

TabSheet::TabSheet(const QString& name, QWidget* parent) : QWidget(parent)
{
    named(this, name);
}

QTabWidget* TabSheet::pageControl() const
{
    // A page lies in the tab widget's internal stack.
    for (QObject* p = parent(); p; p = p->parent()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(p))
            return tabs;
    }
    return nullptr;
}

QString TabSheet::caption() const
{
    const QTabWidget* tabs = pageControl();
    return tabs && tabs->indexOf(this) >= 0 ? tabs->tabText(tabs->indexOf(this)) : m_caption;
}

void TabSheet::setCaption(const QString& caption)
{
    m_caption = caption;
    if (QTabWidget* tabs = pageControl(); tabs && tabs->indexOf(this) >= 0)
        tabs->setTabText(tabs->indexOf(this), caption);
}

bool TabSheet::tabVisible() const
{
    const QTabWidget* tabs = pageControl();
    return !tabs || tabs->indexOf(this) < 0 || tabs->isTabVisible(tabs->indexOf(this));
}

void TabSheet::setTabVisible(bool visible)
{
    if (QTabWidget* tabs = pageControl(); tabs && tabs->indexOf(this) >= 0)
        tabs->setTabVisible(tabs->indexOf(this), visible);
}

PageControl::PageControl(const QString& name, QWidget* parent) : QTabWidget(parent)
{
    named(this, name);
}

void PageControl::addSheet(TabSheet* sheet, const QString& caption)
{
    addTab(sheet, caption);
    sheet->setCaption(caption);
}
