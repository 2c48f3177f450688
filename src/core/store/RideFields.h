#pragma once

#include <QDate>
#include <QMetaType>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <array>
#include <optional>

#include "base/Fixed4.h"

Q_DECLARE_METATYPE(Fixed4)

// The fields of the table `rydex`, in the order the program declares them.
enum class RideField : int {
    id,
    date,
    user,
    day,
    month,
    year,
    time,
    dst,
    avs,
    pulse,
    alt,
    odo,
    temperature,
    druh,
    vlivy,
    obtiznost,
    pocit,
    typ,
    note,
    altmax,
    pulsemax,
};
inline constexpr int rideFieldCount = 21;

enum class FieldKind {
    AutoIncrement, // 32-bit, set by the store
    DateTime,      // QDateTime
    Duration,      // QTime: a time of day on the zero date
    Text,          // QString, declared width in characters
    Memo,          // QString, unbounded
    UInt16,        // int 0..65535
    Int16,         // int -32768..32767
    Decimal,       // Fixed4, declared precision in digits
};

struct FieldDef
{
    const char* name;
    FieldKind kind;
    int width; // characters for text, digits for decimals, 0 otherwise
};

const FieldDef& fieldDef(RideField field);
// The day the date-time scale counts from: a duration is a time of this day,
// and a blank ride's date shows as it.
QDate dateTimeOrigin();
QString fieldName(RideField field);
// Looks a field up by name without regard to case.
std::optional<RideField> fieldByName(QStringView name);
inline constexpr int fieldIndex(RideField f)
{
    return static_cast<int>(f);
}

// One ride record. A null QVariant is an empty field; the others hold the
// type of their field's kind (int, QString, QDateTime, QTime, Fixed4).
using RideRow = std::array<QVariant, rideFieldCount>;

// Checks that a value fits its field and brings it to the field's type;
// throws RydexError (Conversion) when it does not.
QVariant normalizeFieldValue(RideField field, const QVariant& value);
