#include "toolkit/DBMemoEdit.h"

#include "store/ADOTable.h"
#include "toolkit/FieldLink.h"
#include "toolkit/ShortParagraphs.h"

DBMemoEdit::DBMemoEdit(const QString& name, RideField field, QWidget* parent)
    : QPlainTextEdit(parent), m_link(new FieldLink(field, this))
{
    setObjectName(name);
    setTabChangesFocus(true);
    m_link->setShow([this] {
        const ADOTable* t = m_link->table();
        showText(t ? t->displayText(m_link->field()) : QString());
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

void DBMemoEdit::showText(const QString& text)
{
    if (!m_inUse && !isVisible()) {
        m_pending = text;
        return;
    }
    m_pending.reset();
    if (text == toPlainText())
        return;
    // Breaking lines at word boundaries looks for the next blank from every
    // line on, which takes minutes for a long note without one; such a note
    // is broken anywhere instead.
    setWordWrapMode(longestUnbrokenRun(text) > unbrokenRunLimit
                        ? QTextOption::WrapAnywhere
                        : QTextOption::WrapAtWordBoundaryOrAnywhere);
    setPlainText(text);
}

void DBMemoEdit::setInUse(bool inUse)
{
    m_inUse = inUse;
    // Taken the way the link shows the field, so that it does not count as
    // a change of the user's.
    if (m_inUse && m_pending)
        m_link->showField();
}

void DBMemoEdit::showEvent(QShowEvent* event)
{
    QPlainTextEdit::showEvent(event);
    if (m_pending)
        m_link->showField();
}

void DBMemoEdit::setFieldText(const QString& text)
{
    m_pending.reset();
    setPlainText(text);
    m_link->textChanged();
}

QString DBMemoEdit::fieldText() const
{
    return m_pending.value_or(toPlainText());
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
