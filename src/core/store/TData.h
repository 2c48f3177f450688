#pragma once

#include "polyglot/RuntimeNaming.h"

#include <QObject>
#include <QString>

class ADOConnection;
class StoreLocation;
class ADOTable;
class DataSource;

// The data module: the one connection, the one ride table and the source the
// bound controls hang on. Every window reaches ride records through it.
class TData : public QObject
{
    Q_OBJECT
    // Not a part of the main window that owns it: a language file's section
    // of that window does not reach its components.
    RYDEX_SEPARATE_OWNER

public:
    explicit TData(const QString& storePath, QObject* parent = nullptr);
    explicit TData(const StoreLocation& location, QObject* parent = nullptr);
    ~TData() override;

    ADOTable* table() const { return m_table; }
    ADOConnection* connection() const { return m_connection; }
    DataSource* source() const { return m_source; }

    // Opens connection and table; throws RydexError with the engine's text.
    void open();
    // Closes the table, and the connection as well when asked to.
    void close(bool connectionToo);
    // Closes the table and the connection and points them at another store.
    void setLocation(const StoreLocation& location);

private:
    ADOConnection* m_connection;
    ADOTable* m_table;
    DataSource* m_source;
};
