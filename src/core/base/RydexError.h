#pragma once

#include <QString>
#include <exception>

// An error a command does not handle itself: it ends the command and its text
// is shown to the user (the standard error box). The kind lets a caller that
// does handle some errors pick them out.
class RydexError : public std::exception
{
public:
    // Conflict: another running copy of the program changed or deleted the ride
    // since it was read; nothing was written.
    // Password: the database server wants a password, or refused the one given.
    enum class Kind { General, Store, Preference, Range, Conversion, Conflict, Password };

    explicit RydexError(QString text, Kind kind = Kind::General)
        : m_text(std::move(text)), m_kind(kind), m_utf8(m_text.toUtf8())
    {
    }
    const QString& text() const { return m_text; }
    Kind kind() const { return m_kind; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    Kind m_kind;
    QByteArray m_utf8;
};
