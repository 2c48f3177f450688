#pragma once

#include "store/StoreEngine.h"

// The rides in one SQLite file, in write-ahead-log mode.
class SqliteEngine final : public StoreEngine
{
public:
    QString driverName() const override;
    QString connectOptions(bool readOnly) const override;
    int busyTimeoutMs() const override;
    bool busy(const QSqlError& error) const override;
    QStringList creationStatements(int schemaVersion) const override;
    QStringList fileStatements() const override;
    QStringList sessionStatements() const override;
    QString addVersionColumn() const override;
    QString readSchemaVersion() const override;
    QString writeSchemaVersion(int version) const override;
    QString beginWrite() const override;
    QString changeCounter() const override;
    QString insertionOrder() const override;
    QString columnsOf(const QString& table) const override;
    QString tableNames() const override;
    QString integrityProblem(QSqlDatabase& db) const override;
};
