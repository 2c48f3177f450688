#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;
class StoreLocation;

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

    // The engine of a file on this computer.
    static const StoreEngine& standard();
    // The engine of the store at that location.
    static const StoreEngine& forLocation(const StoreLocation& location);

    virtual QString driverName() const = 0;
    // What start-up says when the driver is missing.
    virtual QString driverMissingText() const;
    // Whether Qt has the engine's driver at all: the engine check of start-up.
    bool present() const;

    // Points a connection at the store, read-only or not; a server is given
    // the password the user typed, when there is one.
    virtual void prepareConnection(QSqlDatabase& db, const StoreLocation& location,
                                   const QString& password, bool readOnly) const;
    // The options of a connection to the store, read-only or not.
    virtual QString connectOptions(bool readOnly) const = 0;
    // How long a statement waits for another program's write to end.
    virtual int busyTimeoutMs() const = 0;
    // Whether the engine refused only because another program held the
    // store for the whole of that time.
    virtual bool busy(const QSqlError& error) const = 0;
    // The engine's text of an error, the busy store worded for the user.
    QString errorText(const QSqlError& error) const;

    // A server's faults, which a file on this computer never has: the
    // connection gone, a statement that ran out of time, a password wanted.
    virtual bool connectionLost(const QSqlError& error) const;
    virtual bool timedOut(const QSqlError& error) const;
    enum class PasswordFault { None, Needed, Refused };
    virtual PasswordFault passwordFault(const QSqlError& error) const;

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
    // Run right after beginWrite() where the engine has no write lock of its
    // own to take first: claims the store for the transaction and moves the
    // change counter, answering its new value. Empty when not needed.
    virtual QString claimWrite() const;
    // A number that moves whenever another connection commits to the store
    // (and, where claimWrite() moves it, with our own write transactions).
    virtual QString changeCounter() const = 0;
    // The channel on which the engine tells every connection of a commit
    // changing a cyclist's rides, the cyclist's name as its payload; empty
    // when the engine tells nobody.
    virtual QString changeChannel() const;
    // Added to an insert so that it answers the new ride's id; empty when the
    // driver reports the id itself.
    virtual QString returningId() const;
    // One statement that gives a whole-number column of many rides new
    // values, each only at the version read: bound to three lists (ids,
    // versions, values) written as {1,2,3}. Empty when the engine writes
    // them one by one.
    virtual QString updateColumnOfMany(const QString& column) const;
    // The names of the tables in the store, one per row.
    virtual QString tableNames() const = 0;
    // The column that orders a table's rows as they were inserted.
    virtual QString insertionOrder() const = 0;
    // The name, declared type and primary-key flag (1) of each column of
    // the table.
    virtual QString columnsOf(const QString& table) const = 0;

    // Checks the store's pages on a connection of its own: empty when they
    // are sound, else what is wrong.
    virtual QString integrityProblem(QSqlDatabase& db) const = 0;
};
