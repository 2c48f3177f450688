#pragma once

#include "store/StoreLocation.h"

#include <QString>

// What trying a server's connection text found, in plain words for the
// user. The database is looked at through a connection of its own and
// never changed: an empty one is reported, not given its tables.
struct ConnectionTest
{
    enum class Outcome {
        Ready,          // a ride log of this program
        Empty,          // no tables yet: the program makes them when used
        PasswordNeeded, // none given, or the one given refused
        Failed,         // unreachable, refused, another program's or a newer one
    };
    Outcome outcome = Outcome::Failed;
    QString text;

    // Whether the rides of this computer may be copied there.
    bool open() const { return outcome == Outcome::Ready || outcome == Outcome::Empty; }
};

ConnectionTest testConnection(const StoreLocation& location, const QString& password);
