#include "toolkit/DBComboBox.h"

#include "store/ADOTable.h"
#include "toolkit/FieldLink.h"

#include <QLineEdit>
#include <QValidator>

namespace {
// Typing stops at the width of the field, so that a text the store would
// refuse cannot be entered. A longer text put in by the program (a stored
// value) is shown whole: a validator does not judge setText().
class FieldWidthValidator : public QValidator
{
public:
    FieldWidthValidator(int width, QObject* parent) : QValidator(parent), m_width(width) {}
    State validate(QString& input, int&) const override
    {
        return input.size() > m_width ? Invalid : Acceptable;
    }

private:
    int m_width;
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
        showText(t ? t->displayText(m_link->field()) : QString());
    });
    m_link->setWrite([this] { m_link->writeText(currentText()); });
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

QStringList DBComboBox::items() const
{
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out << itemText(i);
    return out;
}

void DBComboBox::setItems(const QStringList& items)
{
    const QString text = currentText();
    const bool modified = m_link->isModified();
    clear();
    addItems(items);
    showText(text);
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
