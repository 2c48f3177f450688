#include "store/PreferenceFormat.h"

#include "store/AppIdentity.h"

#include <QStringDecoder>
#include <algorithm>

using PreferenceFormat::Node;
using PreferenceFormat::Value;

namespace {
QString formatHeader()
{
    return QString::fromLatin1(AppIdentity::application) + QStringLiteral(" preferences");
}

constexpr int formatVersion = 1;

QString quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// Reads a quoted text starting at pos (which holds the opening quote) and
// leaves pos after the closing quote.
bool unquote(const QString& line, qsizetype& pos, QString& out)
{
    if (pos >= line.size() || line.at(pos) != QLatin1Char('"'))
        return false;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line.at(pos);
        if (c == QLatin1Char('"')) {
            ++pos;
            return true;
        }
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return false;
        switch (line.at(pos).unicode()) {
        case '"':
            out += QLatin1Char('"');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        default:
            return false;
        }
    }
    return false;
}

bool isBlank(QStringView s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.isSpace(); });
}

void serializeNode(const Node& node, const QString& path, QString& out)
{
    out += QLatin1String("\n[") + path + QLatin1String("]\n");
    for (const Value& v : node.values)
        out += quoted(v.name) + QLatin1Char('=') + (v.isText ? quoted(v.data) : v.data) +
               QLatin1Char('\n');
    std::vector<const Node*> sorted;
    for (const Node& c : node.children)
        sorted.push_back(&c);
    std::sort(sorted.begin(), sorted.end(), [](const Node* a, const Node* b) {
        return PreferenceFormat::nameLess(a->name, b->name);
    });
    for (const Node* c : sorted)
        serializeNode(*c, path + QLatin1Char('\\') + PreferenceFormat::encodeKeyName(c->name), out);
}
} // namespace

// ---------------------------------------------------------------------------
// The tree

bool PreferenceFormat::sameName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool PreferenceFormat::nameLess(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

Node* Node::child(const QString& childName)
{
    for (Node& c : children) {
        if (sameName(c.name, childName))
            return &c;
    }
    return nullptr;
}

const Node* Node::child(const QString& childName) const
{
    return const_cast<Node*>(this)->child(childName);
}

Node& Node::ensureChild(const QString& childName)
{
    if (Node* c = child(childName))
        return *c;
    children.push_back(Node{childName, {}, {}});
    return children.back();
}

bool Node::removeChild(const QString& childName)
{
    const auto it = std::find_if(children.begin(), children.end(),
                                 [&](const Node& c) { return sameName(c.name, childName); });
    if (it == children.end())
        return false;
    children.erase(it);
    return true;
}

Node* Node::find(const QStringList& path)
{
    Node* n = this;
    for (const QString& segment : path) {
        n = n->child(segment);
        if (!n)
            return nullptr;
    }
    return n;
}

const Node* Node::find(const QStringList& path) const
{
    return const_cast<Node*>(this)->find(path);
}

Node& Node::ensure(const QStringList& path)
{
    Node* n = this;
    for (const QString& segment : path)
        n = &n->ensureChild(segment);
    return *n;
}

const Value* Node::value(const QString& valueName) const
{
    for (const Value& v : values) {
        if (sameName(v.name, valueName))
            return &v;
    }
    return nullptr;
}

bool Node::setText(const QString& valueName, const QString& text)
{
    for (Value& v : values) {
        if (sameName(v.name, valueName)) {
            if (v.isText && v.data == text)
                return false;
            v.data = text;
            v.isText = true;
            return true;
        }
    }
    values.push_back(Value{valueName, text, true});
    return true;
}

// ---------------------------------------------------------------------------
// The text form

QString PreferenceFormat::encodeKeyName(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == '%' || u == '\\' || u == ']' || u < 0x20 || u == 0x7f)
            out += QLatin1Char('%') + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

std::optional<QString> PreferenceFormat::decodeKeyName(const QString& encoded)
{
    // Escapes stand for bytes of the UTF-8 form, so a hand-written "%C3%A1"
    // decodes as well as the single-byte escapes this program writes.
    const QByteArray utf8 = encoded.toUtf8();
    QByteArray bytes;
    bytes.reserve(utf8.size());
    const auto hexDigit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : -1;
    };
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8.at(i) != '%') {
            bytes += utf8.at(i);
            continue;
        }
        const int high = i + 2 < utf8.size() ? hexDigit(utf8.at(i + 1)) : -1;
        const int low = i + 2 < utf8.size() ? hexDigit(utf8.at(i + 2)) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = decoder(bytes);
    if (decoder.hasError() || name.isEmpty())
        return std::nullopt;
    return name;
}

PreferenceFormat::Parsed PreferenceFormat::parse(const QByteArray& bytes)
{
    Parsed damaged;
    damaged.damaged = true;

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return damaged;

    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }

    Parsed out;
    Node* current = nullptr;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        // The header is optional, but one of another version means a file this
        // program does not understand.
        if (line.startsWith(formatHeader())) {
            if (i != 0 ||
                line != formatHeader() + QLatin1Char(' ') + QString::number(formatVersion))
                return damaged;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return damaged;
            const QString inner = line.mid(1, line.size() - 2);
            if (inner.contains(QLatin1Char(']')))
                return damaged;
            QStringList path;
            for (const QString& encoded : inner.split(QLatin1Char('\\'))) {
                const std::optional<QString> name = decodeKeyName(encoded);
                if (!name)
                    return damaged;
                path += *name;
            }
            current = &out.root.ensure(path);
            continue;
        }
        if (!line.startsWith(QLatin1Char('"')) || !current)
            return damaged;
        qsizetype pos = 0;
        Value value;
        if (!unquote(line, pos, value.name) || pos >= line.size() ||
            line.at(pos) != QLatin1Char('='))
            return damaged;
        ++pos;
        if (pos < line.size() && line.at(pos) == QLatin1Char('"')) {
            // An empty text is a text, not a missing one.
            value.data = QStringLiteral("");
            if (!unquote(line, pos, value.data) || !isBlank(QStringView(line).mid(pos)))
                return damaged;
        } else {
            value.isText = false;
            value.data = line.mid(pos);
            // Binary values of a registry export go on over lines ending in "\".
            // At the very end of the file the value goes on with an empty line,
            // as if the file ended in a line break: written back, that line
            // keeps the next value from being taken as part of this one.
            while (value.data.endsWith(QLatin1Char('\\'))) {
                const QString next = i + 1 < lines.size() ? lines.at(++i).trimmed() : QString();
                value.data += QLatin1Char('\n') + next;
            }
            if (value.data.isEmpty())
                return damaged;
        }
        const auto same =
            std::find_if(current->values.begin(), current->values.end(),
                         [&](const Value& v) { return sameName(v.name, value.name); });
        if (same != current->values.end()) {
            same->data = value.data;
            same->isText = value.isText;
        } else {
            current->values.push_back(std::move(value));
        }
    }
    return out;
}

QByteArray PreferenceFormat::serialize(const Node& root)
{
    QString out =
        formatHeader() + QLatin1Char(' ') + QString::number(formatVersion) + QLatin1Char('\n');
    std::vector<const Node*> sorted;
    for (const Node& c : root.children)
        sorted.push_back(&c);
    std::sort(sorted.begin(), sorted.end(),
              [](const Node* a, const Node* b) { return nameLess(a->name, b->name); });
    for (const Node* c : sorted)
        serializeNode(*c, encodeKeyName(c->name), out);
    return out.toUtf8();
}
