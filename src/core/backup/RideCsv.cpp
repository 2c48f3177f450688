#include "backup/RideCsv.h"

#include "base/Fixed4.h"

#include <QDateTime>
#include <QTime>
#include <array>

namespace {
struct Column
{
    const char* title;
    RideField field;
};

// The order a reader meets the ride in the record dialog: who and when, the
// values, then the kind of activity and the notes.
constexpr std::array<Column, 17> columns{{
    {"Cyclist", RideField::user},
    {"Date", RideField::date},
    {"Duration", RideField::time},
    {"Distance (km)", RideField::dst},
    {"Average speed (km/h)", RideField::avs},
    {"Average heart rate", RideField::pulse},
    {"Maximum heart rate", RideField::pulsemax},
    {"Elevation gain (m)", RideField::alt},
    {"Maximum altitude (m)", RideField::altmax},
    {"Odometer (km)", RideField::odo},
    {"Kind", RideField::druh},
    {"Training", RideField::typ},
    {"Difficulty", RideField::obtiznost},
    {"Feeling", RideField::pocit},
    {"Conditions", RideField::vlivy},
    {"Temperature", RideField::temperature},
    {"Note", RideField::note},
}};

QString valueText(RideField field, const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (fieldDef(field).kind) {
    case FieldKind::DateTime:
        return value.toDateTime().date().toString(Qt::ISODate);
    case FieldKind::Duration: {
        const QTime t = value.toTime();
        return QStringLiteral("%1:%2:%3")
            .arg(t.hour())
            .arg(t.minute(), 2, 10, QLatin1Char('0'))
            .arg(t.second(), 2, 10, QLatin1Char('0'));
    }
    case FieldKind::Decimal:
        return value.value<Fixed4>().toPlainString();
    case FieldKind::AutoIncrement:
    case FieldKind::UInt16:
    case FieldKind::Int16:
        return QString::number(value.toLongLong());
    case FieldKind::Text:
    case FieldKind::Memo:
        return value.toString();
    }
    return {};
}
} // namespace

namespace RideCsv {

QStringList header()
{
    QStringList names;
    for (const Column& c : columns)
        names << QString::fromLatin1(c.title);
    return names;
}

QByteArray cell(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}

QByteArray write(const QVector<RideRow>& rides)
{
    QByteArray out;
    out.reserve(160 * (rides.size() + 1));
    const auto line = [&out](const auto& cellOf) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i)
                out += ',';
            out += cellOf(columns[i]);
        }
        out += "\r\n";
    };
    line([](const Column& c) { return cell(QString::fromLatin1(c.title)); });
    for (const RideRow& ride : rides)
        line([&ride](const Column& c) {
            return cell(valueText(c.field, ride[fieldIndex(c.field)]));
        });
    return out;
}

} // namespace RideCsv
