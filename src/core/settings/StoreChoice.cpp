#include "settings/StoreChoice.h"

#include "base/RydexError.h"
#include "prefs/PreferenceKey.h"

namespace {
QString storeName()
{
    return QStringLiteral("store");
}
QString serverName()
{
    return QStringLiteral("server");
}
} // namespace

StoreLocation StoreChoice::read(const PreferenceKey& programKey, const QString& filePath)
{
    // Anything but "server" is the file: the default needs no set-up. A
    // server chosen with a text that cannot be used stays the server, so
    // the user is told why it does not open instead of finding his rides
    // quietly written to this computer.
    const QString store = programKey.readText(storeName(), QStringLiteral("file"));
    if (store.trimmed().compare(QLatin1String("server"), Qt::CaseInsensitive) == 0)
        return StoreLocation::server(serverText(programKey));
    return StoreLocation::file(filePath);
}

QString StoreChoice::serverText(const PreferenceKey& programKey)
{
    return programKey.readText(serverName(), QString()).trimmed();
}

void StoreChoice::write(PreferenceKey& programKey, const StoreLocation& location)
{
    if (!location.isServer()) {
        programKey.writeText(storeName(), QStringLiteral("file"));
        return;
    }
    if (const std::optional<QString> problem =
            StoreLocation::connectionTextProblem(location.connectionText()))
        throw RydexError(*problem, RydexError::Kind::Store);
    // The text first: a choice of the server never points at an older one.
    programKey.writeText(serverName(), location.connectionText());
    programKey.writeText(storeName(), QStringLiteral("server"));
}
