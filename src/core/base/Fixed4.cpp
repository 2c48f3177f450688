#include "base/Fixed4.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"

#include <QByteArray>
#include <cmath>
#include <limits>

namespace {
[[noreturn]] void outOfRange()
{
    throw RydexError(Msg::text(Msg::NumberOutOfRange), RydexError::Kind::Range);
}

// The magnitude of any count, the smallest one included.
quint64 magnitudeOf(qint64 units)
{
    return units < 0 ? quint64(0) - quint64(units) : quint64(units);
}
} // namespace

Fixed4 Fixed4::fromInt(qint64 whole)
{
    qint64 units = 0;
    if (__builtin_mul_overflow(whole, scale, &units))
        outOfRange();
    return fromUnits(units);
}

Fixed4 Fixed4::operator+(Fixed4 o) const
{
    qint64 units = 0;
    if (__builtin_add_overflow(m_units, o.m_units, &units))
        outOfRange();
    return fromUnits(units);
}

Fixed4 Fixed4::operator-(Fixed4 o) const
{
    qint64 units = 0;
    if (__builtin_sub_overflow(m_units, o.m_units, &units))
        outOfRange();
    return fromUnits(units);
}

Fixed4 Fixed4::fromDouble(double value)
{
    // A double is a hair off the decimal it stands for (0.00015 is held as
    // 0.000149999...), and multiplying it by the scale can lose the half. Read
    // it as its 15 significant digits instead and round those. Values beyond
    // the range saturate; not-a-number gives zero.
    if (std::isnan(value))
        return Fixed4();
    const bool negative = value < 0;
    const qint64 limit = std::numeric_limits<qint64>::max();
    if (std::isinf(value))
        return fromUnits(negative ? -limit : limit);
    const QByteArray text = QByteArray::number(std::fabs(value), 'e', 14);
    const qsizetype e = text.indexOf('e');
    QByteArray digits = text.left(e);
    digits.remove(1, 1);
    // How many of the digits make up whole ten-thousandths.
    const int unitDigits = text.mid(e + 1).toInt() + 1 + 4;
    if (unitDigits > 19)
        return fromUnits(negative ? -limit : limit);
    quint64 units = 0;
    for (int i = 0; i < unitDigits; ++i)
        units = units * 10 + quint64(i < digits.size() ? digits.at(i) - '0' : 0);
    if (unitDigits >= 0 && unitDigits < digits.size() && digits.at(unitDigits) >= '5')
        ++units;
    if (units > quint64(limit))
        units = quint64(limit);
    return fromUnits(negative ? -qint64(units) : qint64(units));
}

std::optional<Fixed4> Fixed4::parse(const QString& input, const QLocale& locale)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QString dec = locale.decimalPoint();
    qsizetype pos = 0;
    bool negative = false;
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(locale.negativeSign())) {
        negative = true;
        pos = text.startsWith(QLatin1Char('-')) ? 1 : locale.negativeSign().size();
    } else if (text.startsWith(QLatin1Char('+'))) {
        pos = 1;
    }
    qint64 whole = 0;
    qint64 frac = 0;
    int fracDigits = 0;
    int roundDigit = -1;
    bool seenSeparator = false;
    bool seenDigit = false;
    while (pos < text.size()) {
        if (!seenSeparator && text.mid(pos, dec.size()) == dec) {
            seenSeparator = true;
            pos += dec.size();
            continue;
        }
        const QChar c = text.at(pos);
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
        const int d = c.unicode() - '0';
        seenDigit = true;
        if (!seenSeparator) {
            if (__builtin_mul_overflow(whole, qint64(10), &whole) ||
                __builtin_add_overflow(whole, qint64(d), &whole))
                return std::nullopt;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else if (roundDigit < 0) {
            roundDigit = d;
        }
        ++pos;
    }
    if (!seenDigit)
        return std::nullopt;
    while (fracDigits < 4) {
        frac *= 10;
        ++fracDigits;
    }
    // Every count up to the range's end is taken, the largest values a store
    // can hold included, so that any value shown can be typed back.
    qint64 units = 0;
    if (__builtin_mul_overflow(whole, scale, &units) ||
        __builtin_add_overflow(units, frac + (roundDigit >= 5 ? 1 : 0), &units))
        return std::nullopt;
    return fromUnits(negative ? -units : units);
}

Fixed4 Fixed4::roundedTo2() const
{
    // Never leaves the range: the largest count ends in ...07 and rounds down.
    const quint64 step = 100;
    const quint64 magnitude = magnitudeOf(m_units);
    quint64 rounded = magnitude / step;
    if (magnitude % step >= step / 2)
        ++rounded;
    rounded *= step;
    return fromUnits(m_units < 0 ? qint64(quint64(0) - rounded) : qint64(rounded));
}

qint64 Fixed4::roundedToWholeEven() const
{
    qint64 q = m_units / scale;
    qint64 r = m_units % scale;
    if (r < 0) {
        r += scale;
        q -= 1;
    }
    if (r * 2 > scale || (r * 2 == scale && (q % 2 != 0)))
        ++q;
    return q;
}

QString Fixed4::toPlainString() const
{
    const quint64 magnitude = magnitudeOf(m_units);
    QString s = QString::number(magnitude / scale);
    const quint64 frac = magnitude % scale;
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(4, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        s += QLatin1Char('.') + f;
    }
    return m_units < 0 ? QLatin1Char('-') + s : s;
}
