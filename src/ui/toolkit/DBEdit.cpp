#include "toolkit/DBEdit.h"

#include "store/ADOTable.h"
#include "toolkit/FieldLink.h"
#include "toolkit/NumberValidator.h"

#include <QFocusEvent>

DBEdit::DBEdit(const QString& name, RideField field, QWidget* parent)
    : QLineEdit(parent), m_link(new FieldLink(field, this))
{
    setObjectName(name);
    m_link->setShow([this] { loadText(); });
    m_link->setWrite([this] { storeText(); });
    connect(this, &QLineEdit::textChanged, m_link, &FieldLink::textChanged);
    // Letters never enter a number box. A distance is never negative; an
    // altitude may be.
    using V = NumberValidator;
    switch (fieldDef(field).kind) {
    case FieldKind::UInt16:
        setValidator(new V(V::Kind::Whole, V::Sign::NotNegative, this));
        break;
    case FieldKind::Int16:
        setValidator(new V(V::Kind::Whole, V::Sign::MayBeNegative, this));
        break;
    case FieldKind::Decimal:
        setValidator(new V(V::Kind::Decimal, V::Sign::NotNegative, this));
        break;
    default:
        break;
    }
}

RideField DBEdit::field() const
{
    return m_link->field();
}

void DBEdit::setDataSource(DataSource* source)
{
    m_link->setDataSource(source);
}

DataSource* DBEdit::dataSource() const
{
    return m_link->dataSource();
}

bool DBEdit::fieldModified() const
{
    return m_link->isModified();
}

void DBEdit::showField()
{
    m_link->showField();
}

void DBEdit::writeField()
{
    m_link->writeField();
}

void DBEdit::loadText()
{
    const ADOTable* t = m_link->table();
    if (!t) {
        setText(QString());
        return;
    }
    setText(m_link->editing() ? t->editText(field()) : t->displayText(field()));
    setCursorPosition(0);
}

void DBEdit::storeText()
{
    m_link->writeText(text().trimmed());
}

void DBEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // The whole text is selected whenever the edit is entered other than by
    // a click, so that typing replaces it.
    if (event->reason() != Qt::MouseFocusReason)
        selectAll();
}
