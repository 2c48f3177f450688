#pragma once

#include "store/StoreEngine.h"

// The rides in a database on a PostgreSQL server, shared by a club's
// computers. The server keeps its own pages and journal; what the program
// adds is a row that every write transaction claims first (so that writers
// queue as they do on a file, and every connection can tell that the store
// changed) and a trigger that tells the other computers whose rides changed.
class PostgresEngine final : public StoreEngine
{
public:
    QString driverName() const override;
    QString driverMissingText() const override;
    void prepareConnection(QSqlDatabase& db, const StoreLocation& location, const QString& password,
                           bool readOnly) const override;
    QString connectOptions(bool readOnly) const override;
    int busyTimeoutMs() const override;
    bool busy(const QSqlError& error) const override;
    bool connectionLost(const QSqlError& error) const override;
    bool timedOut(const QSqlError& error) const override;
    PasswordFault passwordFault(const QSqlError& error) const override;
    QStringList creationStatements(int schemaVersion) const override;
    QStringList fileStatements() const override;
    QStringList sessionStatements() const override;
    QString addVersionColumn() const override;
    QString readSchemaVersion() const override;
    QString writeSchemaVersion(int version) const override;
    QString beginWrite() const override;
    QString claimWrite() const override;
    QString changeCounter() const override;
    QString changeChannel() const override;
    QString returningId() const override;
    QString updateColumnOfMany(const QString& column) const override;
    QString insertionOrder() const override;
    QString columnsOf(const QString& table) const override;
    QString tableNames() const override;
    QString integrityProblem(QSqlDatabase& db) const override;

    // How long a statement may run before the server cancels it.
    static constexpr int statementTimeoutMs = 10000;
};
