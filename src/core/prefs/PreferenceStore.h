#pragma once

#include "prefs/PreferenceKey.h"

#include <QString>
#include <memory>
#include <optional>

class PreferenceFile;

// Everything the program remembers apart from the rides: a tree of keys with
// named text values, kept in one file per user (where Windows has the
// registry's HKEY_CURRENT_USER). Cheap to copy; copies share the file.
//
// Call check() once at start-up: a damaged file is then copied aside and
// replaced by everything that could still be read from it. Until check() has
// kept such a copy, reads of a damaged file give what can be read (defaults
// for the rest) and writes fail rather than overwrite it.
class PreferenceStore
{
public:
    explicit PreferenceStore(QString filePath);

    QString filePath() const;
    // Nothing when the file is fine or does not exist yet; otherwise the text
    // to show the user.
    std::optional<QString> check();
    // path is a list of key names separated by "\" ("software\Brontel\...");
    // empty names are skipped. Creates the key and those above it unless
    // create is false; a key that cannot be created is returned all the same
    // and reads its defaults.
    PreferenceKey openKey(const QString& path, bool create = true);

    // "software\Brontel\Rydex 2005"
    static QString programKeyPath();
    // The program key's "users": one subkey per cyclist.
    static QString cyclistsKeyPath();

private:
    std::shared_ptr<PreferenceFile> m_file;
};
