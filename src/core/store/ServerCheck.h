#pragma once

#include "store/StoreLocation.h"

#include <QString>

// What "Test connection" found at a server location, in plain words.
struct ServerCheck
{
    enum class Outcome { Ready, Empty, Foreign, Newer, PasswordNeeded, Failed };
    Outcome outcome = Outcome::Failed;
    QString text;
};

// Connects on a connection of its own with the password given (empty: none
// but what libpq finds itself), looks at what the database holds and
// disconnects. Never changes the database.
ServerCheck checkServer(const StoreLocation& location, const QString& password);
