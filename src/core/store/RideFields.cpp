#include "store/RideFields.h"

#include "base/MessageCatalogue.h"
#include "store/FieldError.h"

#include <QDateTime>
#include <QTime>

namespace {
constexpr FieldDef defs[rideFieldCount] = {
    {"id", FieldKind::AutoIncrement, 0},
    {"date", FieldKind::DateTime, 0},
    {"user", FieldKind::Text, 20},
    {"day", FieldKind::UInt16, 0},
    {"month", FieldKind::UInt16, 0},
    {"year", FieldKind::Int16, 0},
    {"time", FieldKind::Duration, 0},
    {"dst", FieldKind::Decimal, 18},
    {"avs", FieldKind::Decimal, 5},
    {"pulse", FieldKind::UInt16, 0},
    {"alt", FieldKind::Int16, 0},
    {"odo", FieldKind::Decimal, 8},
    // One wider than the table's ten characters, so that the list's own band
    // "-10 -  5 C'" is stored whole rather than refused.
    {"temperature", FieldKind::Text, 11},
    {"druh", FieldKind::Text, 10},
    {"vlivy", FieldKind::Text, 5},
    {"obtiznost", FieldKind::Text, 10},
    {"pocit", FieldKind::Text, 5},
    {"typ", FieldKind::Text, 10},
    {"note", FieldKind::Memo, 0},
    {"altmax", FieldKind::Int16, 0},
    {"pulsemax", FieldKind::UInt16, 0},
};

[[noreturn]] void doesNotFit(RideField field, const QVariant& value)
{
    throw FieldError(Msg::FieldValueTooLarge, value.toString(), field);
}

[[noreturn]] void notConvertible(RideField field, const QVariant& value)
{
    throw FieldError(Msg::FieldConversion, value.toString(), field);
}
} // namespace

const FieldDef& fieldDef(RideField field)
{
    return defs[fieldIndex(field)];
}

QDate dateTimeOrigin()
{
    return QDate(1899, 12, 30);
}

QString fieldName(RideField field)
{
    return QString::fromLatin1(fieldDef(field).name);
}

std::optional<RideField> fieldByName(QStringView name)
{
    for (int i = 0; i < rideFieldCount; ++i) {
        if (name.compare(QLatin1String(defs[i].name), Qt::CaseInsensitive) == 0)
            return static_cast<RideField>(i);
    }
    return std::nullopt;
}

QVariant normalizeFieldValue(RideField field, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const FieldDef& def = fieldDef(field);
    switch (def.kind) {
    case FieldKind::AutoIncrement:
    case FieldKind::UInt16:
    case FieldKind::Int16: {
        bool ok = false;
        const qlonglong v = value.toLongLong(&ok);
        if (!ok)
            notConvertible(field, value);
        const qlonglong lo = def.kind == FieldKind::UInt16  ? 0
                             : def.kind == FieldKind::Int16 ? -32768
                                                            : std::numeric_limits<qint32>::min();
        const qlonglong hi = def.kind == FieldKind::UInt16  ? 65535
                             : def.kind == FieldKind::Int16 ? 32767
                                                            : std::numeric_limits<qint32>::max();
        if (v < lo || v > hi)
            doesNotFit(field, value);
        return QVariant(int(v));
    }
    case FieldKind::DateTime: {
        if (value.metaType().id() == QMetaType::QDate)
            return QVariant(value.toDate().startOfDay());
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid())
            notConvertible(field, value);
        return QVariant(dt);
    }
    case FieldKind::Duration: {
        const QTime t = value.toTime();
        if (!t.isValid())
            notConvertible(field, value);
        return QVariant(t);
    }
    case FieldKind::Text: {
        const QString text = value.toString();
        if (text.size() > def.width)
            doesNotFit(field, value);
        return QVariant(text);
    }
    case FieldKind::Memo:
        return QVariant(value.toString());
    case FieldKind::Decimal: {
        if (value.canConvert<Fixed4>() && value.metaType() == QMetaType::fromType<Fixed4>())
            return value;
        std::optional<Fixed4> f;
        switch (value.metaType().id()) {
        case QMetaType::Double:
        case QMetaType::Float:
            f = Fixed4::fromDouble(value.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            f = Fixed4::fromInt(value.toLongLong());
            break;
        default:
            f = Fixed4::parse(value.toString(), QLocale::c());
        }
        if (!f)
            notConvertible(field, value);
        return QVariant::fromValue(*f);
    }
    }
    return value;
}
