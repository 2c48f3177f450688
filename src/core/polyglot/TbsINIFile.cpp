#include "polyglot/TbsINIFile.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "polyglot/LanguageValues.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <utility>

namespace {
QStringView trimmed(QStringView s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s[from].unicode() <= 32)
        ++from;
    while (to > from && s[to - 1].unicode() <= 32)
        --to;
    return s.sliced(from, to - from);
}

// Hundreds of times the size of a translation of every text of the program;
// a bigger file is no language file, and reading it whole (then decoding and
// indexing it) would take the memory of the machine.
constexpr qint64 maxLanguageFileMB = 8;

QByteArray readWholeFile(const QString& path)
{
    // A FIFO or device would block the open or never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw RydexError(Msg::format(Msg::CannotOpenFile, {path, Msg::text(Msg::NotARegularFile)}));
    const qint64 maxSize = maxLanguageFileMB * 1024 * 1024;
    const auto tooLarge = [&] {
        return RydexError(Msg::format(
            Msg::CannotOpenFile,
            {path, Msg::format(Msg::FileTooLarge, {QString::number(maxLanguageFileMB)})}));
    };
    if (info.size() > maxSize)
        throw tooLarge();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RydexError(Msg::format(Msg::CannotOpenFile, {path, file.errorString()}));
    // Read with the limit again: the file may grow after the look above.
    QByteArray bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw RydexError(Msg::format(Msg::CannotOpenFile, {path, file.errorString()}));
    if (bytes.size() > maxSize)
        throw tooLarge();
    return bytes;
}
} // namespace

// Qt's case folding, not a locale's upper case: a Turkish locale would
// otherwise fail to match "Caption" with "CAPTION". Folded code point by code
// point, as QString::compare() folds.
size_t TbsINIFile::Name::hash(const QString& text, size_t seed)
{
    size_t hash = seed;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            if (c >= U'A' && c <= U'Z')
                c += 32;
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            c = QChar::toCaseFolded(c);
        }
        hash = (hash ^ c) * 0x100000001b3u;
    }
    return hash;
}

TbsINIFile::TbsINIFile(const QLocale& locale, QByteArrayView bytes)
    : m_codePage(WindowsCodePage::forLocale(locale))
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    // A byte-order mark is kept as a character: it is part of the first line.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    m_utf8 = !utf8.hasError();
    if (!m_utf8)
        text = m_codePage.decode(bytes);
    parse(text);
}

TbsINIFile::TbsINIFile(const QString& path, const QLocale& locale)
    : TbsINIFile(locale, readWholeFile(path))
{
    m_path = path;
}

TbsINIFile TbsINIFile::fromBytes(QByteArrayView bytes, const QLocale& locale)
{
    return TbsINIFile(locale, bytes);
}

TbsINIFile TbsINIFile::snapshot(const QString& path, const QLocale& locale)
{
    return TbsINIFile(locale, readWholeFile(path));
}

TbsINIFile::~TbsINIFile()
{
    try {
        release();
    } catch (const RydexError&) {
    }
}

TbsINIFile::TbsINIFile(TbsINIFile&& other) noexcept
    : m_codePage(other.m_codePage), m_utf8(other.m_utf8), m_path(std::exchange(other.m_path, {})),
      m_sections(std::move(other.m_sections)), m_lastSection(std::move(other.m_lastSection)),
      m_modified(std::exchange(other.m_modified, false))
{
}

TbsINIFile& TbsINIFile::operator=(TbsINIFile&& other) noexcept
{
    if (this != &other) {
        try {
            release();
        } catch (const RydexError&) {
        }
        m_codePage = other.m_codePage;
        m_utf8 = other.m_utf8;
        m_path = std::exchange(other.m_path, {});
        m_sections = std::move(other.m_sections);
        m_lastSection = std::move(other.m_lastSection);
        m_modified = std::exchange(other.m_modified, false);
    }
    return *this;
}

void TbsINIFile::parse(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = trimmed(text.sliced(pos, end - pos));
        pos = end + 1;
        if (end < n && text[end] == u'\r' && pos < n && text[pos] == u'\n')
            ++pos;

        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[' && line.back() == u']') {
            m_sections.push_back({trimmed(line.sliced(1, line.size() - 2)).toString(), {}, {}});
            continue;
        }
        if (m_sections.empty())
            continue;
        std::vector<Line>& lines = m_sections.back().lines;
        const qsizetype separator = line.indexOf(u'=');
        if (separator < 0) {
            lines.push_back({line.toString(), QString(), false});
        } else {
            lines.push_back({trimmed(line.first(separator)).toString(),
                             trimmed(line.sliced(separator + 1)).toString(), true});
        }
    }
    reindex();
}

void TbsINIFile::reindex()
{
    m_lastSection.clear();
    for (qsizetype s = 0; s < qsizetype(m_sections.size()); ++s) {
        Section& section = m_sections[s];
        m_lastSection.insert(Name{section.name}, s);
        section.lastEntry.clear();
        section.lastEntry.reserve(qsizetype(section.lines.size()));
        for (qsizetype i = 0; i < qsizetype(section.lines.size()); ++i) {
            if (section.lines[i].isEntry)
                section.lastEntry.insert(Name{section.lines[i].key}, i);
        }
    }
}

const TbsINIFile::Section* TbsINIFile::findSection(const QString& name) const
{
    const auto it = m_lastSection.constFind(Name{name});
    return it == m_lastSection.cend() ? nullptr : &m_sections[it.value()];
}

const TbsINIFile::Line* TbsINIFile::findEntry(const QString& section, const QString& key) const
{
    const Section* found = findSection(section);
    if (!found)
        return nullptr;
    const auto it = found->lastEntry.constFind(Name{key});
    return it == found->lastEntry.cend() ? nullptr : &found->lines[it.value()];
}

QStringList TbsINIFile::sectionNames() const
{
    QStringList names;
    names.reserve(qsizetype(m_sections.size()));
    for (const Section& section : m_sections)
        names.append(section.name);
    return names;
}

QStringList TbsINIFile::keys(const QString& section) const
{
    QStringList keys;
    if (const Section* found = findSection(section)) {
        keys.reserve(qsizetype(found->lines.size()));
        for (const Line& line : found->lines) {
            if (line.isEntry)
                keys.append(line.key);
        }
    }
    return keys;
}

QString TbsINIFile::readString(const QString& section, const QString& key,
                               const QString& defaultValue) const
{
    const Line* entry = findEntry(section, key);
    return entry ? entry->value : defaultValue;
}

int TbsINIFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    const Line* entry = findEntry(section, key);
    return entry ? LanguageValues::parseInteger(entry->value).value_or(defaultValue) : defaultValue;
}

double TbsINIFile::readFloat(const QString& section, const QString& key, double defaultValue,
                             const QLocale& locale) const
{
    const Line* entry = findEntry(section, key);
    return entry ? LanguageValues::parseNumber(entry->value, locale).value_or(defaultValue)
                 : defaultValue;
}

void TbsINIFile::writeString(const QString& section, const QString& key, const QString& value)
{
    m_modified = true;
    auto it = m_lastSection.constFind(Name{section});
    if (it == m_lastSection.cend()) {
        m_sections.push_back({section, {}, {}});
        it = m_lastSection.insert(Name{section}, qsizetype(m_sections.size()) - 1);
    }
    Section& target = m_sections[it.value()];
    const Name folded{key};
    const auto entry = target.lastEntry.constFind(folded);
    if (entry != target.lastEntry.cend()) {
        target.lines[entry.value()].value = value;
        return;
    }
    target.lines.push_back({key, value, true});
    target.lastEntry.insert(folded, qsizetype(target.lines.size()) - 1);
}

void TbsINIFile::deleteKey(const QString& section, const QString& key)
{
    const auto it = m_lastSection.constFind(Name{section});
    if (it == m_lastSection.cend())
        return;
    std::vector<Line>& lines = m_sections[it.value()].lines;
    std::erase_if(lines,
                  [&](const Line& line) { return line.isEntry && Name{line.key} == Name{key}; });
    m_modified = true;
    reindex();
}

void TbsINIFile::eraseSection(const QString& section)
{
    std::erase_if(m_sections, [&](const Section& s) { return Name{s.name} == Name{section}; });
    m_modified = true;
    reindex();
}

QByteArray TbsINIFile::content() const
{
    const QLatin1String lineEnd("\r\n");
    QString text;
    for (const Section& section : m_sections) {
        text += u'[' + section.name + u']' + lineEnd;
        for (const Line& line : section.lines) {
            text += line.key;
            if (line.isEntry)
                text += u'=' + line.value;
            text += lineEnd;
        }
        text += lineEnd;
    }
    return m_utf8 ? text.toUtf8() : m_codePage.encode(text);
}

void TbsINIFile::writeTo(const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content()) < 0 || !file.commit())
        throw RydexError(Msg::format(Msg::CannotCreateFile, {path, file.errorString()}));
    m_modified = false;
}

void TbsINIFile::updateFile()
{
    if (!m_path.isEmpty())
        writeTo(m_path);
}

void TbsINIFile::release()
{
    if (m_path.isEmpty())
        return;
    const QString path = std::exchange(m_path, QString());
    const QFileInfo info(path);
    if (info.exists()) {
        if (!m_modified)
            return;
        // Without any write permission a file counts as read-only even for
        // root, as the read-only attribute would.
        constexpr QFile::Permissions anyWrite =
            QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (!info.isWritable() || !(info.permissions() & anyWrite))
            throw RydexError(Msg::format(Msg::FileReadOnly, {path}));
        writeTo(path);
    } else if (!m_sections.empty()) {
        writeTo(path);
    }
}
