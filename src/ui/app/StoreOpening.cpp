#include "app/StoreOpening.h"

#include "app/TfrmPassword.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "store/ADOConnection.h"
#include "toolkit/MessageDialog.h"

void StoreOpening::open(ADOConnection& connection)
{
    const StoreLocation location = connection.location();
    if (!location.isServer() || connection.isOpen()) {
        connection.open();
        return;
    }
    // A text that cannot be given to the server (the user edited the
    // preference file by hand) is reported as the dialog would report it.
    if (const std::optional<QString> problem =
            StoreLocation::connectionTextProblem(location.connectionText()))
        throw RydexError(*problem, RydexError::Kind::Store);
    QString password = knownPassword(location);
    connection.setPassword(password);
    for (;;) {
        try {
            connection.open();
            remember(location, password);
            return;
        } catch (const RydexError& e) {
            if (e.kind() != RydexError::Kind::Password)
                throw;
            const std::optional<QString> typed = askPassword(e.text());
            if (!typed) {
                m_passwords.remove(location.connectionText());
                throw;
            }
            password = *typed;
            connection.setPassword(password);
        }
    }
}

bool StoreOpening::askToCreateTables(const QString& where) const
{
    MessageDialog question(QStringLiteral("CreateTablesQuestion"), m_owner);
    question.setCaption(Msg::text(Msg::Confirmation));
    question.setIconType(MessageDialog::Question);
    question.setButtonCount(2);
    question.setButton1Caption(Msg::text(Msg::Yes));
    question.setButton2Caption(Msg::text(Msg::Cancel));
    question.setText(Msg::format(Msg::ServerEmptyQuestion, {where}));
    return question.execute();
}

void StoreOpening::askBeforeCreating(ADOConnection& connection) const
{
    connection.setCreationConsent(
        [this](const QString& where) { return askToCreateTables(where); });
}

QString StoreOpening::knownPassword(const StoreLocation& location) const
{
    return m_passwords.value(location.connectionText());
}

std::optional<QString> StoreOpening::askPassword(const QString& reason) const
{
    return askServerPassword(m_owner, reason);
}

void StoreOpening::remember(const StoreLocation& location, const QString& password)
{
    if (password.isEmpty())
        m_passwords.remove(location.connectionText());
    else
        m_passwords.insert(location.connectionText(), password);
}
