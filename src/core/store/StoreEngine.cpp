#include "store/StoreEngine.h"

#include "base/MessageCatalogue.h"
#include "store/SqliteEngine.h"

#include <QSqlDatabase>
#include <QSqlError>

const StoreEngine& StoreEngine::standard()
{
    // Holds no text and no state: safe to share for the program's life.
    static const SqliteEngine engine;
    return engine;
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
