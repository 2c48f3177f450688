#pragma once

#include "store/RideFields.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

// Rides as a CSV file that any spreadsheet reads the same way wherever it
// runs: comma-separated, quoted where a cell needs it (RFC 4180, CRLF line
// ends), UTF-8 without a byte-order mark, one header line of fixed English
// column names, dates as 2026-12-10, durations as h:mm:ss, a full stop as the
// decimal separator whatever the user's locale, and an empty cell for a value
// the ride does not have. Values are written as stored, to the last digit.
namespace RideCsv {

// The column names, in the file's order.
QStringList header();

// The header line and one line per ride, in the order given.
QByteArray write(const QVector<RideRow>& rides);

// One cell, quoted when it holds a comma, a quote or a line break.
QByteArray cell(const QString& text);

} // namespace RideCsv
