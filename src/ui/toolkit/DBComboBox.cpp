#include "toolkit/DBComboBox.h"

#include "store/ADOTable.h"
#include "toolkit/FieldLink.h"

#include <QLineEdit>
#include <QValidator>

namespace {
// Typing stops at the width of the field, so that a text the store would
// refuse cannot be entered. A longer text put in by the program (a stored
// value) is shown whole: a validator does not judge setText(). An item's
// text in the current language may be longer than what is stored for it;
// it can be edited within its length, and the store judges the result.
class FieldWidthValidator : public QValidator
{
public:
    FieldWidthValidator(int width, DBComboBox* box) : QValidator(box), m_width(width), m_box(box) {}
    State validate(QString& input, int&) const override
    {
        if (m_box->valueList().storedText(input).size() <= m_width)
            return Acceptable;
        qsizetype longest = 0;
        for (const QString& item : m_box->valueList().shown())
            longest = std::max(longest, item.size());
        return input.size() <= longest ? Intermediate : Invalid;
    }

private:
    int m_width;
    const DBComboBox* m_box;
};
} // namespace

DBComboBox::DBComboBox(const QString& name, RideField field, QWidget* parent)
    : QComboBox(parent), m_link(new FieldLink(field, this))
{
    setObjectName(name);
    setEditable(true);
    // A text typed and confirmed with Enter is stored, not added to the list.
    setInsertPolicy(QComboBox::NoInsert);
    if (const int width = fieldDef(field).width; width > 0)
        setValidator(new FieldWidthValidator(width, this));
    m_link->setShow([this] {
        const ADOTable* t = m_link->table();
        showText(valueList().displayText(t ? t->displayText(m_link->field()) : QString()));
    });
    m_link->setWrite([this] { m_link->writeText(valueList().storedText(currentText())); });
    connect(this, &QComboBox::currentTextChanged, m_link, &FieldLink::textChanged);
}

RideField DBComboBox::field() const
{
    return m_link->field();
}

void DBComboBox::setDataSource(DataSource* source)
{
    m_link->setDataSource(source);
}

DataSource* DBComboBox::dataSource() const
{
    return m_link->dataSource();
}

const ValueList& DBComboBox::valueList() const
{
    return m_link->valueList();
}

QStringList DBComboBox::items() const
{
    return valueList().shown();
}

void DBComboBox::setValues(const QStringList& stored)
{
    const QString value = valueList().storedText(currentText());
    m_link->setValueList(ValueList(stored));
    fill(value);
}

void DBComboBox::setItems(const QStringList& items)
{
    const QString value = valueList().storedText(currentText());
    ValueList list = valueList();
    list.setShown(items);
    m_link->setValueList(list);
    fill(value);
}

void DBComboBox::fill(const QString& value)
{
    const bool modified = m_link->isModified();
    clear();
    addItems(valueList().shown());
    showText(valueList().displayText(value));
    m_link->setModified(modified);
}

void DBComboBox::setFieldText(const QString& text)
{
    showText(text);
    // Set in code counts as typed, even when the text was there already.
    m_link->textChanged();
}

void DBComboBox::showText(const QString& text)
{
    // The item that matches exactly (letter case counts) is the current one,
    // so that the open list marks it.
    setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (currentText() != text)
        setEditText(text);
}

bool DBComboBox::fieldModified() const
{
    return m_link->isModified();
}

void DBComboBox::showField()
{
    m_link->showField();
}

void DBComboBox::writeField()
{
    m_link->writeField();
}
