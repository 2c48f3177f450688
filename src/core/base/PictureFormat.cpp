#include "base/PictureFormat.h"

#include <QByteArray>
#include <QList>
#include <cmath>

namespace {

// A decimal number as digits and the place of its point: the value is
// 0.d1d2d3... times 10 to the power of pointAt. Working on digits keeps every
// rounding exact, whatever the magnitude.
struct DecimalDigits
{
    bool negative = false;
    QByteArray digits; // no leading or trailing zeros; empty for zero
    int pointAt = 0;

    bool isZero() const { return digits.isEmpty(); }

    void normalise()
    {
        qsizetype lead = 0;
        while (lead < digits.size() && digits.at(lead) == '0')
            ++lead;
        digits.remove(0, lead);
        pointAt -= int(lead);
        while (!digits.isEmpty() && digits.endsWith('0'))
            digits.chop(1);
        if (digits.isEmpty())
            pointAt = 0;
    }

    // Keeps the first `keep` digits and rounds the rest away, halves away from
    // zero (only the first dropped digit decides, as the value is exact).
    void roundToDigitCount(int keep)
    {
        if (keep >= digits.size())
            return;
        if (keep < 0) {
            digits.clear();
            pointAt = 0;
            return;
        }
        const bool up = digits.at(keep) >= '5';
        digits.truncate(keep);
        if (up) {
            qsizetype i = digits.size() - 1;
            while (i >= 0 && digits.at(i) == '9') {
                digits[i] = '0';
                --i;
            }
            if (i >= 0) {
                digits[i] = char(digits.at(i) + 1);
            } else {
                digits.prepend('1');
                ++pointAt;
            }
        }
        normalise();
    }

    void roundToDecimals(int decimals) { roundToDigitCount(pointAt + decimals); }
    void roundToSignificant(int count) { roundToDigitCount(count); }

    QByteArray integerDigits() const
    {
        if (pointAt <= 0)
            return {};
        QByteArray s = digits.left(pointAt);
        while (s.size() < pointAt)
            s.append('0');
        return s;
    }

    char digitAfterPoint(int index) const
    {
        const int at = pointAt + index;
        return at >= 0 && at < digits.size() ? digits.at(at) : '0';
    }

    int decimalCount() const { return qMax(0, int(digits.size()) - pointAt); }

    static DecimalDigits fromFixed4(Fixed4 value)
    {
        DecimalDigits d;
        d.negative = value.units() < 0;
        const quint64 magnitude =
            d.negative ? quint64(0) - quint64(value.units()) : quint64(value.units());
        d.digits = QByteArray::number(magnitude);
        d.pointAt = int(d.digits.size()) - 4;
        d.normalise();
        return d;
    }

    static DecimalDigits fromDouble(double value)
    {
        DecimalDigits d;
        d.negative = std::signbit(value);
        // "d.dddddddddddddde+xx": the 15 significant digits the value stands for.
        const QByteArray text = QByteArray::number(std::fabs(value), 'e', 14);
        const qsizetype e = text.indexOf('e');
        d.digits = text.left(e);
        d.digits.remove(1, 1);
        d.pointAt = text.mid(e + 1).toInt() + 1;
        d.normalise();
        return d;
    }
};

struct PictureItem
{
    enum Kind { Text, IntegerPlace, Point, DecimalPlace };
    Kind kind;
    bool required = false;
    QString text;
};

struct Picture
{
    QList<PictureItem> items;
    bool grouping = false;
    int integerPlaces = 0;
    int decimalPlaces = 0;
    int requiredIntegerDigits = 0;
    int requiredDecimals = 0;
};

Picture parsePicture(const QString& picture)
{
    Picture p;
    bool afterPoint = false;
    int firstRequiredInteger = -1;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture.at(i);
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            const bool required = c == QLatin1Char('0');
            if (afterPoint) {
                ++p.decimalPlaces;
                if (required)
                    p.requiredDecimals = p.decimalPlaces;
                p.items.append({PictureItem::DecimalPlace, required, {}});
            } else {
                if (required && firstRequiredInteger < 0)
                    firstRequiredInteger = p.integerPlaces;
                ++p.integerPlaces;
                p.items.append({PictureItem::IntegerPlace, required, {}});
            }
        } else if (c == QLatin1Char('.')) {
            if (!afterPoint)
                p.items.append({PictureItem::Point, false, {}});
            afterPoint = true;
        } else if (c == QLatin1Char(',')) {
            p.grouping = true;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype end = picture.indexOf(c, i + 1);
            if (end < 0)
                end = picture.size();
            p.items.append({PictureItem::Text, false, picture.mid(i + 1, end - i - 1)});
            i = end;
        } else {
            p.items.append({PictureItem::Text, false, QString(c)});
        }
    }
    if (firstRequiredInteger >= 0)
        p.requiredIntegerDigits = p.integerPlaces - firstRequiredInteger;
    return p;
}

QString render(const Picture& p, DecimalDigits value, const QLocale& locale)
{
    value.roundToDecimals(p.decimalPlaces);

    QByteArray integer = value.integerDigits();
    if (integer.size() < p.requiredIntegerDigits)
        integer.prepend(QByteArray(p.requiredIntegerDigits - integer.size(), '0'));
    QByteArray decimals;
    for (int i = 0; i < p.decimalPlaces; ++i)
        decimals.append(value.digitAfterPoint(i));
    while (decimals.size() > p.requiredDecimals && decimals.endsWith('0'))
        decimals.chop(1);

    const QString group = locale.groupSeparator();
    const int length = int(integer.size());
    QString out;
    bool signPending = value.negative && !value.isZero();
    auto sign = [&] {
        if (signPending)
            out += QLatin1Char('-');
        signPending = false;
    };
    // Puts the integer digit that stands for 10^power, and a group separator
    // after it when more digits follow in another group.
    auto putIntegerDigit = [&](int power) {
        out += QLatin1Char(integer.at(length - 1 - power));
        if (p.grouping && power > 0 && power % 3 == 0)
            out += group;
    };

    int integerIndex = 0;
    int decimalIndex = 0;
    for (const PictureItem& item : p.items) {
        switch (item.kind) {
        case PictureItem::Text:
            out += item.text;
            break;
        case PictureItem::IntegerPlace: {
            sign();
            const int power = p.integerPlaces - 1 - integerIndex;
            if (integerIndex == 0) {
                for (int extra = length - 1; extra > power; --extra)
                    putIntegerDigit(extra);
            }
            if (power < length)
                putIntegerDigit(power);
            ++integerIndex;
            break;
        }
        case PictureItem::Point:
            if (p.integerPlaces == 0) {
                sign();
                for (int power = length - 1; power >= 0; --power)
                    putIntegerDigit(power);
            }
            if (!decimals.isEmpty())
                out += locale.decimalPoint();
            break;
        case PictureItem::DecimalPlace:
            if (decimalIndex < decimals.size())
                out += QLatin1Char(decimals.at(decimalIndex));
            ++decimalIndex;
            break;
        }
    }
    return out;
}

// The general form of a decimal: 15 significant digits at most, no grouping,
// no trailing decimal zeros.
QString generalText(DecimalDigits d, const QLocale& locale)
{
    d.roundToSignificant(15);
    if (d.isZero())
        return QStringLiteral("0");
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    const QByteArray integer = d.integerDigits();
    out += integer.isEmpty() ? QStringLiteral("0") : QString::fromLatin1(integer);
    const int decimals = d.decimalCount();
    if (decimals > 0) {
        out += locale.decimalPoint();
        for (int i = 0; i < decimals; ++i)
            out += QLatin1Char(d.digitAfterPoint(i));
    }
    return out;
}

// An empty picture means the general form, as in the formats this mimics.
QString formatDigits(const QString& picture, const DecimalDigits& value, const QLocale& locale)
{
    if (picture.isEmpty())
        return generalText(value, locale);
    return render(parsePicture(picture), value, locale);
}

} // namespace

QString formatPicture(const QString& picture, Fixed4 value, const QLocale& locale)
{
    return formatDigits(picture, DecimalDigits::fromFixed4(value), locale);
}

QString formatPicture(const QString& picture, double value, const QLocale& locale)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    return formatDigits(picture, DecimalDigits::fromDouble(value), locale);
}

QString formatGeneral(Fixed4 value, const QLocale& locale)
{
    return generalText(DecimalDigits::fromFixed4(value), locale);
}
