#include "toolkit/FieldLink.h"

#include "store/ADOTable.h"
#include "store/DataSource.h"

#include <QLocale>

FieldLink::FieldLink(RideField field, QObject* control) : QObject(control), m_field(field) {}

DataSource* FieldLink::dataSource() const
{
    return m_source;
}

ADOTable* FieldLink::table() const
{
    return m_source ? m_source->table() : nullptr;
}

bool FieldLink::editing() const
{
    const ADOTable* t = table();
    return t && (t->state() == ADOTable::State::Edit || t->state() == ADOTable::State::Insert);
}

void FieldLink::setDataSource(DataSource* source)
{
    for (QMetaObject::Connection& c : m_connections)
        disconnect(c);
    m_source = source;
    if (ADOTable* t = table()) {
        m_connections[0] = connect(t, &ADOTable::currentChanged, this, &FieldLink::showField);
        m_connections[1] = connect(t, &ADOTable::setChanged, this, &FieldLink::showField);
        m_connections[2] = connect(t, &ADOTable::rowChanged, this, &FieldLink::showField);
        m_connections[3] = connect(t, &ADOTable::stateChanged, this, &FieldLink::showField);
        m_connections[4] =
            connect(t, &ADOTable::updateRecordRequested, this, &FieldLink::writeField);
    }
    if (m_source && m_hasList)
        m_source->setValueList(m_field, m_list);
    showField();
}

void FieldLink::setValueList(const ValueList& list)
{
    m_list = list;
    m_hasList = true;
    if (m_source)
        m_source->setValueList(m_field, m_list);
}

void FieldLink::textChanged()
{
    if (!m_loading)
        m_modified = true;
}

void FieldLink::showField()
{
    m_loading = true;
    if (m_show)
        m_show();
    m_loading = false;
    m_modified = false;
}

void FieldLink::writeField()
{
    if (!m_modified || !editing() || !m_write)
        return;
    m_write();
    m_modified = false;
}

void FieldLink::writeText(const QString& text)
{
    ADOTable* t = table();
    if (!t)
        return;
    if (text.isEmpty())
        t->setNull(m_field);
    else
        t->setEditText(m_field, text, QLocale());
}
