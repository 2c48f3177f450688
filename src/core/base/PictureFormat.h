#pragma once

#include "base/Fixed4.h"

#include <QLocale>
#include <QString>

// Number pictures in the style the program's formats are written in ("0.00",
// "#.##", "#0.# %", "#,##0.###", "#,##0.", "0"):
//   0      a digit that is always shown (a leading or trailing zero if need be)
//   #      a digit that is shown only when it is significant
//   .      where the decimal separator goes; it is shown only when at least one
//          decimal follows it; further dots are ignored
//   ,      anywhere outside quotes: group the integer digits in thousands
//   'x' "x" quoted text, shown as it is
//   other  shown as it is, where it stands
// Digits from the first '0' of the integer part on, and up to the last '0' of
// the decimals, are always shown. The value is rounded to as many decimals as
// the picture has digit places after the point, halves away from zero, on its
// exact decimal value. Integer digits beyond the picture's places are shown in
// full. A negative value that does not round to zero gets "-" just before its
// first digit place. Separators are the locale's; digits are always 0-9.
// As in the formats this mimics, "#.##" shows zero as an empty text and 0.5 as
// ".5" (",5" with a decimal comma). Sections separated by ';' and exponents are
// not supported: ';', 'E' and 'e' are plain text here. An empty picture gives
// the general form (see formatGeneral).
QString formatPicture(const QString& picture, Fixed4 value, const QLocale& locale);

// The same for a binary number: it is first read as the decimal with 15
// significant digits it stands for, so that 1.005 rounds like the 1.005 the
// user sees. Not-a-number and infinities give "NAN", "INF" and "-INF".
QString formatPicture(const QString& picture, double value, const QLocale& locale);

// The shortest general form: at most 15 significant digits (rounded halves away
// from zero), no trailing decimal zeros, no grouping, the locale's decimal
// separator and "-" for negatives: 1234,5 (cs_CZ), 1500, 0, -0,25.
QString formatGeneral(Fixed4 value, const QLocale& locale);
