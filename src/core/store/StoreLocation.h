#pragma once

#include <QString>
#include <optional>

// Where the rides are kept: the file on this computer, or a database on a
// PostgreSQL server named by a libpq connection text ("host=... dbname=...",
// or "service=club" from the user's service file). The password is never a
// part of it: libpq reads ~/.pgpass, or the program asks and keeps the
// answer in memory only.
class StoreLocation
{
public:
    enum class Kind { File, Server };

    StoreLocation() = default;
    static StoreLocation file(const QString& path);
    static StoreLocation server(const QString& connectionText);

    Kind kind() const { return m_kind; }
    bool isServer() const { return m_kind == Kind::Server; }
    // The file's path (File only).
    const QString& filePath() const { return m_text; }
    // The connection text as the user gave it (Server only).
    const QString& connectionText() const { return m_text; }
    // What the user reads in a message: the file's path in the system's
    // form, or the connection text.
    QString shown() const;

    bool operator==(const StoreLocation&) const = default;

    // What is wrong with a connection text the user typed, in plain words,
    // or nothing: empty, a password written into it, or a character libpq
    // would not be given as typed.
    static std::optional<QString> connectionTextProblem(const QString& text);
    // The text libpq is given: the user's, with the program's time limits
    // added where the user set none, so that a server that cannot be reached
    // or goes away is reported within seconds.
    static QString withTimeLimits(const QString& text);

private:
    Kind m_kind = Kind::File;
    QString m_text;
};
