#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
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
    // Of a damaged file that starts as ours, what could not be read: a key
    // by its path, a value by its key's path and its name, or a line by its
    // number. root then holds everything else. Of any other damaged file
    // nothing is read, and lost stays empty.
    QStringList lost;
};
// Reads what it can: a line that does not decode or does not parse costs that
// line (a key's line, the key and its values), never the rest of the file.
Parsed parse(const QByteArray& bytes);
QByteArray serialize(const Node& root);

QString encodeKeyName(const QString& name);
std::optional<QString> decodeKeyName(const QString& encoded);
} // namespace PreferenceFormat
