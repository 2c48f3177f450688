#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class PreferenceFile;

// A key of the preference store: a cheap handle naming the key by its path.
// Every call goes to the file at once. Key and value names compare without
// regard to letter case; the spelling of the first creation is kept.
//
// Reads from a key that does not exist give their defaults. A write to it
// creates the key (and those above it) first, so keys held across a change of
// the file by another program keep working. Failures throw RydexError.
class PreferenceKey
{
public:
    // A key that is not open: reads give defaults, writes fail.
    PreferenceKey() = default;

    // The names of the path joined by "\" (a name may itself hold a "\").
    QString path() const;
    QStringList segments() const { return m_segments; }
    bool exists() const;

    bool hasValue(const QString& name) const;
    // Missing: the default; a value of another type than text throws
    // "Invalid data type for 'name'".
    QString readText(const QString& name, const QString& def) const;
    // As readText; a text that is not a whole number (an optional sign and
    // decimal digits only, in the range of int) gives the default.
    int readInteger(const QString& name, int def) const;
    // In the order of the file (the order of creation).
    QStringList valueNames() const;

    // Throw "Failed to set data for 'name'" when the file cannot be written.
    void writeText(const QString& name, const QString& text);
    // Decimal, no leading zeros, "-" for negatives.
    void writeInteger(const QString& name, int value);

    // The direct subkeys, alphabetical without regard to case, with their
    // stored spelling.
    QStringList subkeys() const;
    // name is always one key name, never split at "\". Creating an existing
    // subkey changes nothing; failure throws "Failed to create key name".
    void createSubkey(const QString& name);
    // With all its values and subkeys; a missing subkey is no error. Failure
    // throws "Failed to delete key name".
    void deleteSubkey(const QString& name);
    // The subkey called name (one key name), created unless create is false.
    // A subkey that cannot be created is still returned: it reads defaults.
    PreferenceKey subkey(const QString& name, bool create = true) const;

private:
    friend class PreferenceStore;
    PreferenceKey(std::shared_ptr<PreferenceFile> file, QStringList segments);
    // A store behind it and a path of non-empty names.
    bool isOpen() const;
    // Creates this key (and those above it); false when the file refused.
    bool tryCreate() const;
    // As tryCreate(); throws "Failed to create key shownName" on failure.
    void create(const QString& shownName) const;
    // Why the file refused the last change, for the user.
    QString failure() const;

    std::shared_ptr<PreferenceFile> m_file;
    QStringList m_segments;
};
