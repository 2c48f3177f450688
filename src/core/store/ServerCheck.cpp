#include "store/ServerCheck.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "store/ADOConnection.h"
#include "store/RideRepository.h"

ServerCheck checkServer(const StoreLocation& location, const QString& password)
{
    if (const std::optional<QString> problem =
            StoreLocation::connectionTextProblem(location.connectionText()))
        return {ServerCheck::Outcome::Failed, *problem};
    // The real opening, with every check it makes, answering no when asked
    // to make the tables: an empty database is reported, not changed.
    ADOConnection connection(location);
    connection.setPassword(password);
    connection.setCreationConsent([](const QString&) { return false; });
    try {
        connection.open();
        const int rides = RideRepository::count(connection.database());
        return {ServerCheck::Outcome::Ready,
                Msg::format(Msg::ServerReady, {location.shown(), QString::number(rides)})};
    } catch (const RydexError& e) {
        if (e.kind() == RydexError::Kind::Password)
            return {ServerCheck::Outcome::PasswordNeeded, e.text()};
        switch (connection.refusal()) {
        case ADOConnection::Refusal::Empty:
            return {ServerCheck::Outcome::Empty,
                    Msg::format(Msg::ServerEmptyFound, {location.shown()})};
        case ADOConnection::Refusal::Foreign:
            return {ServerCheck::Outcome::Foreign, e.text()};
        case ADOConnection::Refusal::Newer:
            return {ServerCheck::Outcome::Newer, e.text()};
        case ADOConnection::Refusal::None:
            break;
        }
        return {ServerCheck::Outcome::Failed, e.text()};
    }
}
