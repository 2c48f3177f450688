#include "toolkit/DBMemoEdit.h"

#include "store/ADOTable.h"
#include "toolkit/FieldLink.h"

DBMemoEdit::DBMemoEdit(const QString& name, RideField field, QWidget* parent)
    : QPlainTextEdit(parent), m_link(new FieldLink(field, this))
{
    setObjectName(name);
    setTabChangesFocus(true);
    m_link->setShow([this] {
        const ADOTable* t = m_link->table();
        setPlainText(t ? t->displayText(m_link->field()) : QString());
    });
    m_link->setWrite([this] { m_link->writeText(toPlainText()); });
    connect(this, &QPlainTextEdit::textChanged, m_link, &FieldLink::textChanged);
}

RideField DBMemoEdit::field() const
{
    return m_link->field();
}

void DBMemoEdit::setDataSource(DataSource* source)
{
    m_link->setDataSource(source);
}

DataSource* DBMemoEdit::dataSource() const
{
    return m_link->dataSource();
}

void DBMemoEdit::setFieldText(const QString& text)
{
    setPlainText(text);
    m_link->textChanged();
}

bool DBMemoEdit::fieldModified() const
{
    return m_link->isModified();
}

void DBMemoEdit::showField()
{
    m_link->showField();
}

void DBMemoEdit::writeField()
{
    m_link->writeField();
}
