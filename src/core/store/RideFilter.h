#pragma once

#include <QString>
#include <optional>

// The three filter forms that select a cyclist's rides, a year of them or a
// month of them. The text is built exactly as the program always worded it,
// since callers compare and restore it, but the store never pastes it into
// SQL: it is read back into its parts and evaluated with bound parameters, so
// a name with an apostrophe selects that cyclist's rides like any other.
struct RideFilter
{
    QString user;
    std::optional<int> year;
    std::optional<int> month; // only together with year

    static QString cyclistText(const QString& name);
    static QString yearText(const QString& name, int year);
    static QString monthText(const QString& name, int year, int month);

    QString text() const;
    // Reads one of the three forms back; nothing when the text is none of them.
    // The empty text is the filter in force before any cyclist is named: it
    // selects no row, so opening the store at start-up reads nothing.
    static std::optional<RideFilter> parse(const QString& text);
    bool isEmpty() const { return user.isNull(); }
};
