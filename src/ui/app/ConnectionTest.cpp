#include "app/ConnectionTest.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "store/ADOConnection.h"
#include "store/RideRepository.h"

#include <QLocale>

ConnectionTest testConnection(const StoreLocation& location, const QString& password)
{
    ADOConnection connection(location);
    connection.setPassword(password);
    // Asked only of an empty database; the answer no leaves it as it is.
    bool empty = false;
    connection.setCreationConsent([&empty](const QString&) {
        empty = true;
        return false;
    });
    try {
        connection.open();
        const int rides = RideRepository::count(connection.database());
        connection.close();
        return {ConnectionTest::Outcome::Ready,
                Msg::format(Msg::ServerReady, {location.shown(), QLocale().toString(rides)})};
    } catch (const RydexError& e) {
        if (empty)
            return {ConnectionTest::Outcome::Empty,
                    Msg::format(Msg::ServerEmptyFound, {location.shown()})};
        if (e.kind() == RydexError::Kind::Password)
            return {ConnectionTest::Outcome::PasswordNeeded, e.text()};
        return {ConnectionTest::Outcome::Failed, e.text()};
    }
}
