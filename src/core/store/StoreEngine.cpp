#include "store/StoreEngine.h"

#include "base/MessageCatalogue.h"
#include "store/PostgresEngine.h"
#include "store/SqliteEngine.h"
#include "store/StoreLocation.h"

#include <QSqlDatabase>
#include <QSqlError>

const StoreEngine& StoreEngine::standard()
{
    // Holds no text and no state: safe to share for the program's life.
    static const SqliteEngine engine;
    return engine;
}

const StoreEngine& StoreEngine::forLocation(const StoreLocation& location)
{
    static const PostgresEngine server;
    return location.isServer() ? static_cast<const StoreEngine&>(server) : standard();
}

void StoreEngine::prepareConnection(QSqlDatabase& db, const StoreLocation& location, const QString&,
                                    bool readOnly) const
{
    db.setDatabaseName(location.filePath());
    db.setConnectOptions(connectOptions(readOnly));
}

QString StoreEngine::driverMissingText() const
{
    return Msg::text(Msg::StoreDriverMissing);
}

bool StoreEngine::connectionLost(const QSqlError&) const
{
    return false;
}

bool StoreEngine::timedOut(const QSqlError&) const
{
    return false;
}

StoreEngine::PasswordFault StoreEngine::passwordFault(const QSqlError&) const
{
    return PasswordFault::None;
}

QString StoreEngine::claimWrite() const
{
    return QString();
}

QString StoreEngine::changeChannel() const
{
    return QString();
}

QString StoreEngine::updateColumnOfMany(const QString&) const
{
    return QString();
}

QString StoreEngine::returningId() const
{
    return QString();
}

bool StoreEngine::present() const
{
    return QSqlDatabase::isDriverAvailable(driverName());
}

QString StoreEngine::errorText(const QSqlError& error) const
{
    if (busy(error))
        return Msg::format(Msg::StoreBusy, {QString::number(busyTimeoutMs() / 1000)});
    const QString db = error.databaseText();
    return db.isEmpty() ? error.text() : db;
}
