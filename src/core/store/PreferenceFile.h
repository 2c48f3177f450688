#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The text form of the preference file, modelled on a Windows registry export
// so that typed values keep their meaning:
//
//   Rydex 2005 preferences 1
//
//   [software\Brontel\Rydex 2005\users\eva]
//   "CurrentYear"="2005"
//
// A section names a key by its full path. Inside one name "%", "\", "]" and
// control characters are written as %XX, so a cyclist called "a\b" stays one
// key. A value in quotes is a text; anything else after "name"= (dword:...,
// hex:...) is a value of another type, kept as written but never read as text.
namespace PreferenceFormat {

struct Value
{
    QString name;
    // The text, or for a value of another type its form after the "=".
    QString data;
    bool isText = true;
};

struct Node
{
    QString name;
    std::vector<Value> values;
    std::vector<Node> children;

    Node* child(const QString& childName);
    const Node* child(const QString& childName) const;
    Node& ensureChild(const QString& childName);
    bool removeChild(const QString& childName);
    Node* find(const QStringList& path);
    const Node* find(const QStringList& path) const;
    Node& ensure(const QStringList& path);
    const Value* value(const QString& valueName) const;
    // Creates or replaces a text value; false when it already held exactly this text.
    bool setText(const QString& valueName, const QString& text);
};

// Key and value names compare without regard to letter case.
bool sameName(const QString& a, const QString& b);
// Alphabetical without regard to case, the order in which keys are listed.
bool nameLess(const QString& a, const QString& b);

struct Parsed
{
    Node root;
    bool damaged = false;
};
Parsed parse(const QByteArray& bytes);
QByteArray serialize(const Node& root);

QString encodeKeyName(const QString& name);
std::optional<QString> decodeKeyName(const QString& encoded);
} // namespace PreferenceFormat

// The file behind a preference store, shared by the store and every key opened
// from it. Nothing is cached: every read parses the file afresh, every change
// is applied to the file's current content under a lock beside it and written
// by atomic replacement, so two programs writing different values lose none.
class PreferenceFile
{
public:
    explicit PreferenceFile(QString path);
    const QString& path() const { return m_path; }

    // The current content; an empty tree when the file is missing, damaged or
    // unreadable, so that readers get their defaults.
    PreferenceFormat::Node read() const;
    // Applies change to the current content and writes the result. change
    // answers whether it changed anything. False when the file cannot be
    // written: a read-only file or directory, a lock that cannot be had, or a
    // damaged file whose content has not been kept aside by check().
    bool update(const std::function<bool(PreferenceFormat::Node&)>& change);
    // After update() failed: which file or folder could not be written, and
    // why, in words for the user.
    const QString& failure() const { return m_failure; }
    // Nothing when the file is fine or missing; otherwise the user's message.
    // A damaged file is first copied aside; from then on the next change
    // replaces it with a fresh file.
    std::optional<QString> check();

private:
    struct Snapshot
    {
        enum Status { Missing, Fine, Damaged, Unreadable };
        Status status = Missing;
        PreferenceFormat::Node root;
        QString reason;
    };
    Snapshot load() const;
    bool replace(const PreferenceFormat::Node& root);
    std::optional<QString> keepCopy(QByteArray* checksum, QString* failure) const;

    QString m_path;
    QString m_failure;
    // Checksum of the damaged content that check() kept aside.
    QByteArray m_keptDamage;
    // The bytes parsed last and what they gave.
    mutable std::optional<QByteArray> m_parsedBytes;
    mutable bool m_parsedDamaged = false;
    mutable PreferenceFormat::Node m_parsedRoot;
};
