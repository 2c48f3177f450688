#include "toolkit/DBRadioGroup.h"

#include "store/ADOTable.h"
#include "toolkit/FieldLink.h"

#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>

DBRadioGroup::DBRadioGroup(const QString& name, RideField field, QWidget* parent)
    : QGroupBox(parent), m_link(new FieldLink(field, this)), m_group(new QButtonGroup(this))
{
    setObjectName(name);
    m_group->setExclusive(true);
    m_link->setShow([this] {
        const ADOTable* t = m_link->table();
        const QString text = t ? t->displayText(m_link->field()) : QString();
        int index = valueList().indexOf(text);
        // A ride that holds an item's text in the current language shows it
        // chosen; it keeps that text unless the user chooses again.
        if (index < 0)
            index = int(items().indexOf(text));
        check(t && !t->isNull(m_link->field()) ? index : -1);
    });
    m_link->setWrite([this] {
        const int index = itemIndex();
        m_link->writeText(index >= 0 ? valueList().storedText(items().at(index)) : QString());
    });
    connect(m_group, &QButtonGroup::idClicked, m_link, &FieldLink::textChanged);
}

RideField DBRadioGroup::field() const
{
    return m_link->field();
}

void DBRadioGroup::setDataSource(DataSource* source)
{
    m_link->setDataSource(source);
}

DataSource* DBRadioGroup::dataSource() const
{
    return m_link->dataSource();
}

const ValueList& DBRadioGroup::valueList() const
{
    return m_link->valueList();
}

QStringList DBRadioGroup::items() const
{
    return valueList().shown();
}

void DBRadioGroup::setValues(const QStringList& stored)
{
    setList(ValueList(stored));
}

void DBRadioGroup::setItems(const QStringList& items)
{
    ValueList list = valueList();
    list.setShown(items);
    setList(list);
}

void DBRadioGroup::setList(const ValueList& list)
{
    const int chosen = itemIndex();
    m_link->setValueList(list);
    const QStringList shown = items();
    // The buttons there are keep their place in the tab order; a translated
    // list only renames them.
    while (m_buttons.size() > shown.size()) {
        QRadioButton* extra = m_buttons.takeLast();
        m_group->removeButton(extra);
        extra->setParent(nullptr);
        extra->deleteLater();
    }
    for (int i = 0; i < shown.size(); ++i) {
        if (i == m_buttons.size()) {
            auto* b = new QRadioButton(this);
            b->setObjectName(objectName() + QStringLiteral("Item%1").arg(i));
            m_group->addButton(b, i);
            m_buttons.append(b);
            b->show();
        }
        m_buttons.at(i)->setText(shown.at(i));
    }
    check(chosen < shown.size() ? chosen : -1);
    arrange();
}

void DBRadioGroup::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    arrange();
}

int DBRadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void DBRadioGroup::setItemIndex(int index)
{
    if (index == itemIndex())
        return;
    check(index);
    m_link->textChanged();
}

QRadioButton* DBRadioGroup::button(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons.at(index) : nullptr;
}

void DBRadioGroup::check(int index)
{
    if (index >= 0 && index < m_buttons.size()) {
        m_buttons.at(index)->setChecked(true);
        return;
    }
    // An exclusive group never lets its last button go; it has to be told.
    m_group->setExclusive(false);
    for (QRadioButton* b : std::as_const(m_buttons))
        b->setChecked(false);
    m_group->setExclusive(true);
}

bool DBRadioGroup::fieldModified() const
{
    return m_link->isModified();
}

void DBRadioGroup::showField()
{
    m_link->showField();
}

void DBRadioGroup::writeField()
{
    m_link->writeField();
}

void DBRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    arrange();
}

void DBRadioGroup::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        arrange();
}

void DBRadioGroup::arrange()
{
    if (m_buttons.isEmpty())
        return;
    // The items fill the columns from top to bottom, in cells of equal size
    // below the caption, as the classic radio group lays them out.
    const int perColumn = int((m_buttons.size() + m_columns - 1) / m_columns);
    const int cellWidth = (width() - 10) / m_columns;
    const int textHeight = fontMetrics().height();
    const int free = height() - textHeight - 5;
    const int cellHeight = std::max(1, free / perColumn);
    const int top = textHeight + 1 + (free % perColumn) / 2;
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons.at(i)->setGeometry((i / perColumn) * cellWidth + 8,
                                     (i % perColumn) * cellHeight + top, cellWidth, cellHeight);
    }
}
