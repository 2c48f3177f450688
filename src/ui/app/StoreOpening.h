#pragma once

#include "store/StoreLocation.h"

#include <QHash>
#include <QString>
#include <optional>

class ADOConnection;
class QWidget;

// Opening a ride store as the user meets it. A server that wants a password
// asks for it, and what the user typed serves the rest of the run, in
// memory only; an empty database is given its tables only when the user
// agrees.
class StoreOpening
{
public:
    explicit StoreOpening(QWidget* owner) : m_owner(owner) {}

    // Opens the connection, asking for the password as often as the server
    // refuses it. Throws RydexError as ADOConnection::open() does; when the
    // user cancels, the error that asked.
    void open(ADOConnection& connection);
    // The question whether to make the tables in the empty database there.
    bool askToCreateTables(const QString& where) const;
    // The connection asks the user before it makes tables on a server.
    void askBeforeCreating(ADOConnection& connection) const;

    // The password that served this server earlier in the run; empty when none.
    QString knownPassword(const StoreLocation& location) const;
    // Asks for the server's password; nothing when the user cancelled.
    std::optional<QString> askPassword(const QString& reason) const;
    // The password served: it is given again the next time.
    void remember(const StoreLocation& location, const QString& password);

private:
    QWidget* m_owner;
    QHash<QString, QString> m_passwords;
};
