#pragma once

#include "store/RideFields.h"

#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

// The text forms of the ride fields: how a value is shown in the grid and the
// note ("h:mm:ss", "0.00", the locale's short date), how it stands in an edit
// box ("#.##", the duration mask), and what a typed text means.

QString fieldDisplayText(RideField field, const QVariant& value, const QLocale& locale);
QString fieldEditText(RideField field, const QVariant& value, const QLocale& locale);
// The value a typed text gives the field; nothing for an empty field (a
// blank number, an untouched duration mask). A text the field cannot take
// throws RydexError (Conversion) naming the text and the field.
std::optional<QVariant> fieldValueOfText(RideField field, const QString& text,
                                         const QLocale& locale);
