#pragma once

#include "store/RideFields.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

// How the ride fields are written to the store and read back: the column list,
// the stored form of each kind of value, and the refusal of a stored value
// that another tool left and the program cannot hold.

// A column name quoted for SQL.
QString quotedName(RideField field);
// Every field, then the row's version, as a SELECT list.
QString selectList();
// Dates are kept as ISO text, which sorts like the dates.
QString dateToStore(const QDateTime& dt);
std::optional<QDateTime> dateFromStore(const QString& text);
// The value of a field as it is bound to a statement.
QVariant toStore(RideField field, const QVariant& value);
// The program's value of a stored one; nothing when the stored value is of
// no use to the field (a damaged row).
std::optional<QVariant> fromStore(RideField field, const QVariant& stored);
