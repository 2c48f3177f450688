#include "store/DataSource.h"

DataSource::DataSource(ADOTable* table, QObject* parent) : QObject(parent), m_table(table)
{
    setObjectName(QStringLiteral("Source"));
}
