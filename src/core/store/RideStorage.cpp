#include "store/RideStorage.h"

#include "base/Fixed4.h"

#include <QDateTime>
#include <QStringList>

QString quotedName(RideField field)
{
    return QLatin1Char('"') + fieldName(field) + QLatin1Char('"');
}

// Every field, then the row's version.
QString selectList()
{
    QStringList names;
    for (int i = 0; i < rideFieldCount; ++i)
        names << quotedName(static_cast<RideField>(i));
    names << QStringLiteral("\"version\"");
    return names.join(QStringLiteral(", "));
}

// Dates are kept as ISO text, which sorts like the dates within any year.
QString dateToStore(const QDateTime& dt)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

// Reads the stored text back without a regular expression: it runs for
// every row of every set read. Nothing when the text holds a date beyond the
// years the program works with (another tool wrote it): such a year has no
// place on the date-time scale.
std::optional<QDateTime> dateFromStore(const QString& text)
{
    int parts[6] = {0, 0, 0, 0, 0, 0};
    int part = 0;
    bool inNumber = false;
    for (const QChar ch : text) {
        if (ch.isDigit()) {
            const int digit = ch.unicode() - '0';
            if (digit < 0 || digit > 9)
                return std::nullopt;
            if (part < 6) {
                if (parts[part] > (std::numeric_limits<int>::max() - digit) / 10)
                    return std::nullopt;
                parts[part] = parts[part] * 10 + digit;
            }
            inNumber = true;
        } else if (inNumber) {
            ++part;
            inNumber = false;
        }
    }
    if (inNumber)
        ++part;
    if (part < 3)
        return QDateTime();
    if (parts[0] > 9999)
        return std::nullopt;
    const QDate d(parts[0], parts[1], parts[2]);
    const QTime t = part >= 6 ? QTime(parts[3], parts[4], parts[5]) : QTime(0, 0);
    return QDateTime(d, t.isValid() ? t : QTime(0, 0));
}

QVariant toStore(RideField field, const QVariant& v)
{
    if (v.isNull())
        return QVariant();
    switch (fieldDef(field).kind) {
    case FieldKind::DateTime:
        return dateToStore(v.toDateTime());
    case FieldKind::Duration:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case FieldKind::Decimal:
        return QVariant(qlonglong(v.value<Fixed4>().units()));
    default:
        return v;
    }
}

namespace {
// A whole number as the engine gave it: an integer, or a real or text that
// stands for one exactly.
// The store's own "HH:mm:ss" is read directly: Qt's format parser cost more
// than all the other fields of a ride together, and a year of rides is read
// at every change of year. Any other text takes Qt's way, as it always did.
QTime durationFromStore(const QString& text)
{
    if (text.size() == 8 && text[2] == u':' && text[5] == u':') {
        const auto twoDigits = [&text](int at) {
            const char16_t a = text[at].unicode();
            const char16_t b = text[at + 1].unicode();
            if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
                return -1;
            return (a - u'0') * 10 + (b - u'0');
        };
        const int h = twoDigits(0);
        const int m = twoDigits(3);
        const int s = twoDigits(6);
        if (h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60)
            return QTime(h, m, s);
    }
    return QTime::fromString(text, QStringLiteral("HH:mm:ss"));
}

std::optional<qint64> wholeFromStore(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return v.toLongLong();
    case QMetaType::Double: {
        const double d = v.toDouble();
        // 2^63 is exact as a double; the cast below is then defined.
        if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0) || d != std::trunc(d))
            return std::nullopt;
        return qint64(d);
    }
    default: {
        bool ok = false;
        const qint64 n = v.toString().toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    }
}

} // namespace

// The field's value in the program's form; nothing when the stored value is
// one the field cannot hold.
std::optional<QVariant> fromStore(RideField field, const QVariant& v)
{
    if (v.isNull())
        return QVariant();
    const FieldDef& def = fieldDef(field);
    switch (def.kind) {
    case FieldKind::DateTime: {
        const std::optional<QDateTime> date = dateFromStore(v.toString());
        return date ? std::optional<QVariant>(*date) : std::nullopt;
    }
    case FieldKind::Duration:
        return durationFromStore(v.toString());
    case FieldKind::Decimal: {
        const std::optional<qint64> units = wholeFromStore(v);
        if (!units)
            return std::nullopt;
        return QVariant::fromValue(Fixed4::fromUnits(*units));
    }
    case FieldKind::Text:
    case FieldKind::Memo:
        return v.toString();
    case FieldKind::AutoIncrement:
    case FieldKind::UInt16:
    case FieldKind::Int16: {
        const std::optional<qint64> n = wholeFromStore(v);
        const qint64 lo = def.kind == FieldKind::UInt16  ? 0
                          : def.kind == FieldKind::Int16 ? -32768
                                                         : std::numeric_limits<qint32>::min();
        const qint64 hi = def.kind == FieldKind::UInt16  ? 65535
                          : def.kind == FieldKind::Int16 ? 32767
                                                         : std::numeric_limits<qint32>::max();
        if (!n || *n < lo || *n > hi)
            return std::nullopt;
        return QVariant(int(*n));
    }
    }
    return v;
}
