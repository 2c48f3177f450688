#pragma once

#include <QString>

// Names under which the program finds its data and preference files; the
// program, the tools and the tests all go through these.
namespace AppIdentity {
inline constexpr const char* organization = "Brontel";
inline constexpr const char* application = "Rydex 2005";
inline constexpr const char* title = "Rydex 2005";
inline constexpr const char* version = "2.4.0";
// The desktop entry's name without ".desktop", which names the icon and the
// AppStream component too: the window system matches the program's windows
// to its entry by it.
inline constexpr const char* desktopId = "cz.brontel.Rydex2005";

// Sets the organisation and application names on the running application.
void apply();
// Full path of "Rydex.dat" in the per-user data directory.
QString storePath();
// Full path of the preference file in the per-user configuration directory.
QString preferencePath();
} // namespace AppIdentity
