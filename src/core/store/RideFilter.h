#pragma once

#include "store/RideFields.h"

#include <QString>
#include <optional>

// The three filters that select a cyclist's rides, a year of them or a month
// of them, and the empty filter in force before any cyclist is named, which
// selects no ride (opening the store at start-up reads nothing). The store
// evaluates the parts with bound parameters and never pastes a name into
// SQL, so a name with an apostrophe selects that cyclist's rides like any
// other. text() words the filter as the program always did, for what shows
// or compares it; nothing reads a text back.
class RideFilter
{
public:
    // The empty filter.
    RideFilter() = default;
    static RideFilter cyclist(const QString& name);
    static RideFilter year(const QString& name, int year);
    static RideFilter month(const QString& name, int year, int month);

    bool isEmpty() const { return m_user.isNull(); }
    QString cyclistName() const { return m_user; }
    std::optional<int> yearSelected() const { return m_year; }
    // Only together with a year.
    std::optional<int> monthSelected() const { return m_month; }

    QString text() const;
    // Whether the ride is one the filter selects.
    bool selects(const RideRow& row) const;

    // The empty filter is not the filter of a cyclist with an empty name.
    friend bool operator==(const RideFilter& a, const RideFilter& b)
    {
        return a.m_user.isNull() == b.m_user.isNull() && a.m_user == b.m_user &&
               a.m_year == b.m_year && a.m_month == b.m_month;
    }

private:
    QString m_user;
    std::optional<int> m_year;
    std::optional<int> m_month;
};

// The order every filter lists its rides in: by date, then by id.
bool rideListedBefore(const RideRow& a, const RideRow& b);
