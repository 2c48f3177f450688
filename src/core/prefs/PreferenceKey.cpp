#include "prefs/PreferenceKey.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "prefs/PreferenceFile.h"

#include <algorithm>
#include <limits>
#include <optional>

using PreferenceFormat::Node;

namespace {
// The store's own words, then which file or folder stood in the way.
RydexError preferenceError(Msg::Id id, const QString& name, const QString& failure = QString())
{
    QString text = Msg::format(id, {name});
    if (!failure.isEmpty())
        text += QStringLiteral(".\n") + failure;
    return RydexError(text, RydexError::Kind::Preference);
}

// An optional sign and decimal digits; nothing else, not even spaces.
std::optional<int> wholeNumber(const QString& text)
{
    qsizetype i = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative || text.startsWith(QLatin1Char('+')))
        i = 1;
    if (i == text.size())
        return std::nullopt;
    const qint64 limit = negative ? -qint64(std::numeric_limits<int>::min())
                                  : qint64(std::numeric_limits<int>::max());
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}
} // namespace

PreferenceKey::PreferenceKey(std::shared_ptr<PreferenceFile> file, QStringList segments)
    : m_file(std::move(file)), m_segments(std::move(segments))
{
}

bool PreferenceKey::isOpen() const
{
    return m_file && !m_segments.isEmpty() && !m_segments.contains(QString());
}

QString PreferenceKey::path() const
{
    return m_segments.join(QLatin1Char('\\'));
}

bool PreferenceKey::exists() const
{
    return isOpen() && m_file->read().find(m_segments) != nullptr;
}

bool PreferenceKey::hasValue(const QString& name) const
{
    if (!isOpen())
        return false;
    const Node root = m_file->read();
    const Node* key = root.find(m_segments);
    return key && key->value(name);
}

QString PreferenceKey::readText(const QString& name, const QString& def) const
{
    if (!isOpen())
        return def;
    const Node root = m_file->read();
    const Node* key = root.find(m_segments);
    const PreferenceFormat::Value* value = key ? key->value(name) : nullptr;
    if (!value)
        return def;
    if (!value->isText)
        throw preferenceError(Msg::InvalidRegType, name);
    return value->data;
}

int PreferenceKey::readInteger(const QString& name, int def) const
{
    if (!hasValue(name))
        return def;
    return wholeNumber(readText(name, QString())).value_or(def);
}

QStringList PreferenceKey::valueNames() const
{
    QStringList names;
    if (!isOpen())
        return names;
    const Node root = m_file->read();
    if (const Node* key = root.find(m_segments)) {
        for (const PreferenceFormat::Value& v : key->values)
            names += v.name;
    }
    return names;
}

void PreferenceKey::writeText(const QString& name, const QString& text)
{
    const bool written = isOpen() && m_file->update([&](Node& root) {
        return root.ensure(m_segments).setText(name, text);
    });
    if (!written)
        throw preferenceError(Msg::RegSetDataFailed, name, failure());
}

void PreferenceKey::writeInteger(const QString& name, int value)
{
    writeText(name, QString::number(value));
}

QStringList PreferenceKey::subkeys() const
{
    QStringList names;
    if (!isOpen())
        return names;
    const Node root = m_file->read();
    if (const Node* key = root.find(m_segments)) {
        for (const Node& c : key->children)
            names += c.name;
    }
    std::sort(names.begin(), names.end(), PreferenceFormat::nameLess);
    return names;
}

QString PreferenceKey::failure() const
{
    return m_file ? m_file->failure() : QString();
}

bool PreferenceKey::tryCreate() const
{
    if (exists())
        return true;
    return isOpen() && m_file->update([&](Node& root) {
        const bool existed = root.find(m_segments) != nullptr;
        root.ensure(m_segments);
        return !existed;
    });
}

void PreferenceKey::create(const QString& shownName) const
{
    if (!tryCreate())
        throw preferenceError(Msg::RegCreateFailed, shownName, failure());
}

void PreferenceKey::createSubkey(const QString& name)
{
    PreferenceKey(m_file, m_segments + QStringList{name}).create(name);
}

PreferenceKey PreferenceKey::subkey(const QString& name, bool create) const
{
    PreferenceKey key(m_file, m_segments + QStringList{name});
    // A key that cannot be created is no error by itself: it reads its
    // defaults, and a write to it reports what stood in the way.
    if (create)
        key.tryCreate();
    return key;
}

void PreferenceKey::deleteSubkey(const QString& name)
{
    if (name.isEmpty() || !subkey(name, false).exists())
        return;
    const bool deleted = m_file->update([&](Node& root) {
        Node* key = root.find(m_segments);
        return key && key->removeChild(name);
    });
    if (!deleted)
        throw preferenceError(Msg::RegDeleteFailed, name, failure());
}
