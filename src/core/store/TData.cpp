#include "store/TData.h"

#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/DataSource.h"
#include "store/StoreLocation.h"

TData::TData(const QString& storePath, QObject* parent)
    : TData(StoreLocation::file(storePath), parent)
{
}

TData::TData(const StoreLocation& location, QObject* parent)
    : QObject(parent), m_connection(new ADOConnection(location, this)),
      m_table(new ADOTable(m_connection, this)), m_source(new DataSource(m_table, this))
{
    setObjectName(QStringLiteral("Data"));
}

TData::~TData()
{
    m_table->close();
    m_connection->close();
}

void TData::open()
{
    m_table->open();
}

void TData::close(bool connectionToo)
{
    m_table->close();
    if (connectionToo)
        m_connection->close();
}

void TData::setLocation(const StoreLocation& location)
{
    m_table->close();
    m_connection->setLocation(location);
}
