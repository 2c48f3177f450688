#include "prefs/PreferenceFormat.h"

#include "base/AppIdentity.h"
#include "base/MessageCatalogue.h"

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

namespace {
// One line of the file, decoded on its own, so that a byte that is no UTF-8
// costs that line only. A line that does not decode is still given, with
// replacement characters, to say what was lost.
struct Line
{
    QString text;
    bool decoded = true;
};

std::vector<Line> splitLines(const QByteArray& bytes)
{
    std::vector<Line> lines;
    for (QByteArrayView rest(bytes);;) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        if (line.endsWith('\r'))
            line.chop(1);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        Line decoded;
        decoded.text = decoder(line);
        decoded.decoded = !decoder.hasError();
        lines.push_back(std::move(decoded));
        if (end < 0)
            return lines;
        rest = rest.sliced(end + 1);
    }
}

// The name of a value line, as far as it can be read, for saying it was lost.
QString valueNameOf(const QString& line)
{
    qsizetype pos = 0;
    QString name;
    if (unquote(line, pos, name))
        return name;
    return line.section(QLatin1Char('='), 0, 0);
}
} // namespace

PreferenceFormat::Parsed PreferenceFormat::parse(const QByteArray& bytes)
{
    std::vector<Line> lines = splitLines(bytes);
    Parsed out;
    // Only a file that starts as ours is worth taking apart: anything else
    // (another program's settings, random bytes) would give keys nobody
    // wrote, and a file of another version may mean its lines differently.
    const auto firstLine = std::find_if(lines.begin(), lines.end(), [](const Line& l) {
        const QString t = l.text.trimmed();
        return !l.decoded || (!t.isEmpty() && !t.startsWith(QLatin1Char(';')));
    });
    const QString header = formatHeader() + QLatin1Char(' ') + QString::number(formatVersion);
    const bool ours =
        firstLine != lines.end() && firstLine->decoded && firstLine->text.trimmed() == header;
    const std::size_t headerLine = std::size_t(firstLine - lines.begin());

    Node* current = nullptr;
    QString currentPath;
    // Inside a section that could not be read: its values go with it.
    bool sectionLost = false;
    const auto lose = [&out](const QString& what) {
        out.damaged = true;
        out.lost.append(what);
    };
    const auto valuePath = [&currentPath](const QString& name) {
        return currentPath + QLatin1Char('\\') + name;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].text.trimmed();
        const bool decoded = lines[i].decoded;
        if (decoded && (line.isEmpty() || line.startsWith(QLatin1Char(';'))))
            continue;
        if (ours && i == headerLine)
            continue;
        const QString lineNumber = Msg::format(Msg::PreferenceLine, {QString::number(i + 1)});
        if (line.startsWith(QLatin1Char('['))) {
            current = nullptr;
            currentPath = line.mid(1, line.size() - 2);
            sectionLost = true;
            const bool closed =
                line.endsWith(QLatin1Char(']')) && !currentPath.contains(QLatin1Char(']'));
            if (!decoded || !closed) {
                lose(closed ? currentPath : lineNumber);
                continue;
            }
            QStringList path;
            for (const QString& encoded : currentPath.split(QLatin1Char('\\'))) {
                const std::optional<QString> name = decodeKeyName(encoded);
                if (!name)
                    break;
                path += *name;
            }
            if (path.size() != currentPath.count(QLatin1Char('\\')) + 1) {
                lose(currentPath);
                continue;
            }
            current = &out.root.ensure(path);
            sectionLost = false;
            continue;
        }
        if (sectionLost)
            continue;
        if (!current || !line.startsWith(QLatin1Char('"'))) {
            lose(lineNumber);
            continue;
        }
        if (!decoded) {
            lose(valuePath(valueNameOf(line)));
            continue;
        }
        qsizetype pos = 0;
        Value value;
        if (!unquote(line, pos, value.name) || pos >= line.size() ||
            line.at(pos) != QLatin1Char('=')) {
            lose(lineNumber);
            continue;
        }
        ++pos;
        if (pos < line.size() && line.at(pos) == QLatin1Char('"')) {
            // An empty text is a text, not a missing one.
            value.data = QStringLiteral("");
            if (!unquote(line, pos, value.data) || !isBlank(QStringView(line).mid(pos))) {
                lose(valuePath(value.name));
                continue;
            }
        } else {
            value.isText = false;
            value.data = line.mid(pos);
            // Binary values of a registry export go on over lines ending in "\".
            // At the very end of the file the value goes on with an empty line,
            // as if the file ended in a line break: written back, that line
            // keeps the next value from being taken as part of this one.
            bool whole = true;
            while (value.data.endsWith(QLatin1Char('\\'))) {
                QString next;
                if (i + 1 < lines.size()) {
                    ++i;
                    whole = whole && lines[i].decoded;
                    next = lines[i].text.trimmed();
                }
                value.data += QLatin1Char('\n') + next;
            }
            if (value.data.isEmpty() || !whole) {
                lose(valuePath(value.name));
                continue;
            }
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
    if (out.damaged && !ours) {
        out.root = Node();
        out.lost.clear();
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
