#pragma once

#include "store/StoreLocation.h"

#include <QString>

class PreferenceKey;

// Which store this installation keeps its rides in, as the program key of
// the preference file holds it: "store" ("file" or "server") and "server",
// the connection text. The text stays when the file is chosen again, so the
// user finds it where he left it; a password is never written.
namespace StoreChoice {
// The store chosen; the file at filePath unless the server is chosen.
StoreLocation read(const PreferenceKey& programKey, const QString& filePath);
// The connection text given last, whichever store is chosen; empty when none.
QString serverText(const PreferenceKey& programKey);
// Keeps the choice. A connection text that StoreLocation refuses (one with a
// password among others) is not written: RydexError with the reason.
void write(PreferenceKey& programKey, const StoreLocation& location);
} // namespace StoreChoice
