#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

// An exact decimal with four fractional digits, held as a count of
// ten-thousandths. Distances, speeds and odometer readings are kept in this
// form so that every rounding rule works on the exact value the user typed,
// never on a binary double that is a hair off.
class Fixed4
{
public:
    static constexpr qint64 scale = 10000;

    constexpr Fixed4() = default;
    static constexpr Fixed4 fromUnits(qint64 units)
    {
        Fixed4 f;
        f.m_units = units;
        return f;
    }
    // Throws RydexError (Range) when the whole number has no place in the range.
    static Fixed4 fromInt(qint64 whole);
    // Rounds to the nearest ten-thousandth, halves away from zero.
    static Fixed4 fromDouble(double value);
    // Reads a plain decimal text with an optional sign and at most one decimal
    // separator (the locale's), no grouping. More than four decimals are
    // rounded, halves away from zero. An empty or malformed text gives nothing.
    static std::optional<Fixed4> parse(const QString& text, const QLocale& locale = QLocale());

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return double(m_units) / double(scale); }

    // Two-decimal rounding, halves away from zero.
    Fixed4 roundedTo2() const;
    // Whole number, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
    qint64 roundedToWholeEven() const;

    // A sum or difference beyond the range throws RydexError (Range): a store
    // written by another tool can hold values at the very ends.
    Fixed4 operator+(Fixed4 o) const;
    Fixed4 operator-(Fixed4 o) const;
    Fixed4& operator+=(Fixed4 o) { return *this = *this + o; }
    constexpr auto operator<=>(const Fixed4&) const = default;

    // Plain text with '.' and only the digits needed ("12.5", "-3", "0.0001").
    QString toPlainString() const;

private:
    qint64 m_units = 0;
};
