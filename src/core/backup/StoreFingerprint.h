#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// A cheap summary of what a ride store and the preference file hold: it
// changes with every ride added, edited or deleted, every import and every
// change of a preference. Throws RydexError when the store cannot be read.
QString storeFingerprint(const QSqlDatabase& store, const std::optional<QByteArray>& preferences);
