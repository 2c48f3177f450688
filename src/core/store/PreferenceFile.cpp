#include "store/PreferenceFile.h"

#include "polyglot/MessageCatalogue.h"
#include "store/AppIdentity.h"
#include "store/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstring>

using PreferenceFormat::Node;
using PreferenceFormat::Value;

namespace {
constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// Far above any real preference file; a bigger file is not ours, and reading
// it whole on every preference read would be ruinous.
constexpr qint64 maxFileSize = 4 * 1024 * 1024;
// Another program holds the lock only for the few milliseconds of one write.
constexpr int lockWaitMs = 5000;

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

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

std::optional<QByteArray> checksumOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f) || f.error() != QFileDevice::NoError)
        return std::nullopt;
    return hash.result();
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

// ---------------------------------------------------------------------------
// The file on disk

PreferenceFile::PreferenceFile(QString path) : m_path(std::move(path)) {}

PreferenceFile::Snapshot PreferenceFile::load() const
{
    Snapshot s;
    const QFileInfo info(m_path);
    if (!info.exists())
        return s;
    s.status = Snapshot::Unreadable;
    // Not opened at all: a directory fails, and a pipe would block forever.
    if (!info.isFile()) {
        s.reason = Msg::text(Msg::NotARegularFile);
        return s;
    }
    // Judged by the permission bits as well, so that a file its owner made
    // unreadable stays so for a program run by root.
    if (!info.permissions().testFlag(QFileDevice::ReadOwner)) {
        s.reason = systemError(EACCES);
        return s;
    }
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly)) {
        s.reason = f.errorString();
        return s;
    }
    const QByteArray bytes = f.read(maxFileSize + 1);
    if (f.error() != QFileDevice::NoError) {
        s.reason = f.errorString();
        return s;
    }
    if (bytes.size() > maxFileSize) {
        s.status = Snapshot::Damaged;
        return s;
    }
    // An empty file holds nothing that could be lost.
    if (bytes.trimmed().isEmpty()) {
        s.status = Snapshot::Fine;
        return s;
    }
    // The file is read every time; only parsing the very same bytes again
    // is spared (a sign-in reads some twenty values in a row).
    if (m_parsedBytes && bytes == *m_parsedBytes) {
        s.status = m_parsedDamaged ? Snapshot::Damaged : Snapshot::Fine;
        s.root = m_parsedRoot;
        return s;
    }
    PreferenceFormat::Parsed parsed = PreferenceFormat::parse(bytes);
    s.status = parsed.damaged ? Snapshot::Damaged : Snapshot::Fine;
    s.root = std::move(parsed.root);
    m_parsedBytes = bytes;
    m_parsedDamaged = parsed.damaged;
    m_parsedRoot = s.root;
    return s;
}

Node PreferenceFile::read() const
{
    return load().root;
}

namespace {
// The folder that stood in the way of creating dirPath: the nearest one that
// exists, so that the user learns where to look.
QString nearestExisting(const QString& dirPath)
{
    QString p = QDir::cleanPath(dirPath);
    while (!QFileInfo::exists(p) && QFileInfo(p).path() != p)
        p = QFileInfo(p).path();
    return p;
}
} // namespace

bool PreferenceFile::update(const std::function<bool(Node&)>& change)
{
    m_failure.clear();
    const QFileInfo info(m_path);
    const QString dir = info.absolutePath();
    const QString shownDir = QDir::toNativeSeparators(dir);
    const QString shownFile = QDir::toNativeSeparators(m_path);
    const auto fail = [this](int id, const QStringList& args) {
        m_failure = Msg::format(id, args);
        return false;
    };
    if (PrivateFolder::create(dir))
        return fail(Msg::PreferenceFolderNotWritable,
                    {QDir::toNativeSeparators(nearestExisting(dir)), shownFile});
    // The owner's write bits decide, not only the system: a read-only file or
    // directory stays untouched even by a program run as root.
    if (!QFileInfo(dir).permissions().testFlag(QFileDevice::WriteOwner))
        return fail(Msg::PreferenceFolderNotWritable, {shownDir, shownFile});
    if (info.exists() && !info.permissions().testFlag(QFileDevice::WriteOwner))
        return fail(Msg::PreferenceFileNotWritable, {shownFile, systemError(EACCES)});

    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs))
        return fail(Msg::PreferenceFileLocked,
                    {shownFile, QDir::toNativeSeparators(m_path + QStringLiteral(".lock"))});

    Snapshot current = load();
    switch (current.status) {
    case Snapshot::Missing:
    case Snapshot::Fine:
        break;
    case Snapshot::Unreadable:
        return fail(Msg::PreferencesUnreadable, {shownFile, current.reason});
    case Snapshot::Damaged:
        // Only a damaged content that check() kept a copy of may be replaced.
        if (m_keptDamage.isEmpty() || checksumOf(m_path) != m_keptDamage)
            return fail(Msg::PreferenceFileDamagedKept, {shownFile});
        current.root = Node();
        break;
    }
    if (!change(current.root))
        return true;
    return replace(current.root);
}

bool PreferenceFile::replace(const Node& root)
{
    QSaveFile out(m_path);
    const auto fail = [&] {
        m_failure = Msg::format(Msg::PreferenceFileNotWritable,
                                {QDir::toNativeSeparators(m_path), out.errorString()});
        return false;
    };
    if (!out.open(QIODevice::WriteOnly))
        return fail();
    out.setPermissions(ownerOnlyFile);
    const QByteArray bytes = PreferenceFormat::serialize(root);
    if (out.write(bytes) != bytes.size() || !out.commit())
        return fail();
    m_keptDamage.clear();
    return true;
}

std::optional<QString> PreferenceFile::keepCopy(QByteArray* checksum, QString* failure) const
{
    const std::optional<QByteArray> original = checksumOf(m_path);
    if (!original) {
        *failure = QFile(m_path).errorString();
        return std::nullopt;
    }
    const bool dirWritable =
        QFileInfo(QFileInfo(m_path).absolutePath()).permissions().testFlag(QFileDevice::WriteOwner);
    for (int n = 1; n < 1000; ++n) {
        const QString name = m_path + QStringLiteral(".damaged-") + QString::number(n);
        if (QFileInfo::exists(name)) {
            // A second look at the same damage (another start, another copy of
            // the program) reuses the copy kept the first time.
            if (checksumOf(name) == original) {
                *checksum = *original;
                return name;
            }
            continue;
        }
        if (!dirWritable) {
            *failure = systemError(EACCES);
            return std::nullopt;
        }
        QFile in(m_path);
        QFile copy(name);
        if (!in.open(QIODevice::ReadOnly)) {
            *failure = in.errorString();
            return std::nullopt;
        }
        if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnlyFile)) {
            if (QFileInfo::exists(name))
                continue;
            *failure = copy.errorString();
            return std::nullopt;
        }
        QCryptographicHash hash(QCryptographicHash::Sha256);
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(64 * 1024);
            if (in.error() != QFileDevice::NoError || copy.write(chunk) != chunk.size()) {
                *failure =
                    in.error() != QFileDevice::NoError ? in.errorString() : copy.errorString();
                copy.remove();
                return std::nullopt;
            }
            hash.addData(chunk);
        }
        if (!copy.flush()) {
            *failure = copy.errorString();
            copy.remove();
            return std::nullopt;
        }
        *checksum = hash.result();
        return name;
    }
    *failure = systemError(EEXIST);
    return std::nullopt;
}

std::optional<QString> PreferenceFile::check()
{
    const Snapshot s = load();
    const QString shown = QDir::toNativeSeparators(m_path);
    switch (s.status) {
    case Snapshot::Missing:
    case Snapshot::Fine:
        return std::nullopt;
    case Snapshot::Unreadable:
        return Msg::format(Msg::PreferencesUnreadable, {shown, s.reason});
    case Snapshot::Damaged:
        break;
    }
    QString failure;
    QByteArray checksum;
    const std::optional<QString> kept = keepCopy(&checksum, &failure);
    if (!kept)
        return Msg::format(Msg::PreferencesNotKept, {shown, failure});
    m_keptDamage = checksum;
    return Msg::format(Msg::PreferencesDamaged, {shown, QDir::toNativeSeparators(*kept)});
}
