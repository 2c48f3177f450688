#include "store/DataSource.h"

DataSource::DataSource(ADOTable* table, QObject* parent) : QObject(parent), m_table(table)
{
    setObjectName(QStringLiteral("Source"));
}

void DataSource::setValueList(RideField field, const ValueList& list)
{
    m_lists.set(field, list);
    emit valueListsChanged();
}
