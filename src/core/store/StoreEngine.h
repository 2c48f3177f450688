#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;

// Everything the store does that one database engine words differently from
// another: the Qt driver, how a connection is opened, the tables and indexes
// as the engine declares them, where the schema's version is kept, how a write
// transaction starts, how a commit by another connection is noticed and how
// the engine checks its own pages. The connection and the ride repository ask
// the engine and hold no engine's own SQL, so that a second engine is one
// more implementation of this class.
class StoreEngine
{
public:
    virtual ~StoreEngine() = default;

    // The engine the rides are kept in.
    static const StoreEngine& standard();

    virtual QString driverName() const = 0;
    // Whether Qt has the engine's driver at all: the engine check of start-up.
    bool present() const;

    // The options of a connection to the store, read-only or not.
    virtual QString connectOptions(bool readOnly) const = 0;
    // How long a statement waits for another program's write to end.
    virtual int busyTimeoutMs() const = 0;
    // Whether the engine refused only because another program held the
    // store for the whole of that time.
    virtual bool busy(const QSqlError& error) const = 0;
    // The engine's text of an error, the busy store worded for the user.
    QString errorText(const QSqlError& error) const;

    // What makes the tables, indexes and the trigger of a new store and
    // records the schema's version, in one transaction.
    virtual QStringList creationStatements(int schemaVersion) const = 0;
    // What a file must hold before the first table is made in it (settings
    // the engine keeps in the file itself).
    virtual QStringList fileStatements() const = 0;
    // What runs on every connection that writes: durability settings and the
    // indexes and tables later versions added, made when missing.
    virtual QStringList sessionStatements() const = 0;
    // Adds the rows' versions to a store of the first version.
    virtual QString addVersionColumn() const = 0;

    virtual QString readSchemaVersion() const = 0;
    virtual QString writeSchemaVersion(int version) const = 0;
    // Starts a write transaction that holds the store from its first
    // statement, so that a second writer waits instead of failing half-way.
    virtual QString beginWrite() const = 0;
    // A number that moves whenever another connection commits to the store.
    virtual QString changeCounter() const = 0;
    // The column that orders a table's rows as they were inserted.
    virtual QString insertionOrder() const = 0;
    // The name, declared type and primary-key flag (1) of each column of
    // the table.
    virtual QString columnsOf(const QString& table) const = 0;

    // Checks the store's pages on a connection of its own: empty when they
    // are sound, else what is wrong.
    virtual QString integrityProblem(QSqlDatabase& db) const = 0;
};
