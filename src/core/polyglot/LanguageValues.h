#pragma once

#include "polyglot/WindowsCodePage.h"

#include <QLocale>
#include <QMetaEnum>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// How a value of a language file becomes the value of a property, for each
// kind of property. Every function takes the value as the reader holds it
// (trimmed, undecoded) and meets any text: nothing here recurses, and each
// works in one pass over the value.
namespace LanguageValues {

// A text: quoted runs ('it''s'), character codes outside quotes (#13#10, "#"
// alone for code 255) and other characters as they stand. A malformed text
// (something after a closing quote, an unclosed run, fewer than two
// characters) is the empty text. A character code is a byte of the code page,
// read the way the file's own bytes would be.
QString decodeTextLiteral(QStringView value,
                          const WindowsCodePage& codePage = WindowsCodePage::forLocale(QLocale()));

// A decimal number with an optional sign, or a hexadecimal one after "0x",
// "0X" or "$" (up to 32 bits, so that "$FF000000"-style colours keep their
// bits); nothing otherwise.
std::optional<qint32> parseInteger(QStringView value);
inline int decodeInteger(QStringView value)
{
    return parseInteger(value).value_or(0);
}

// A number with the locale's decimal separator and an optional exponent; no
// group separators. Nothing when it is not such a number or out of range.
std::optional<double> parseNumber(QStringView value, const QLocale& locale = QLocale());
inline double decodeNumber(QStringView value, const QLocale& locale = QLocale())
{
    return parseNumber(value, locale).value_or(0.0);
}

// The value of the element whose name is the value, without regard to case.
// Throws RydexError "Invalid property element: %s" for any other value.
int decodeEnumeration(const QString& value, const QMetaEnum& type);
// "True" or "False", without regard to case; throws as above otherwise.
bool decodeYesNo(const QString& value);

// The lines of a list of strings: items separated by "," and blanks, an item
// with blanks written in single quotes. No character codes here.
QStringList splitListValue(QStringView value);

} // namespace LanguageValues
