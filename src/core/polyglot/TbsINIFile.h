#pragma once

#include "polyglot/WindowsCodePage.h"

#include <QByteArrayView>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

// The reader of a language file: the whole file is parsed once when it is
// opened and then read from memory, so later changes on disk are not seen.
// Section names and keys compare without regard to case; a name that heads
// several sections finds the last of them, a key that occurs several times
// reads its last value.
class TbsINIFile
{
public:
    // Reads the file; throws RydexError "Cannot open file "%s". %s" when it
    // cannot be read. The locale gives the code page of a file that is not
    // UTF-8.
    explicit TbsINIFile(const QString& path, const QLocale& locale = QLocale());
    // The same reader over bytes that belong to no file (tests, fuzzing):
    // releasing it writes nothing.
    static TbsINIFile fromBytes(QByteArrayView bytes, const QLocale& locale = QLocale());
    // A reader of the file's content as it is now, which never writes the
    // file back; throws as the constructor does.
    static TbsINIFile snapshot(const QString& path, const QLocale& locale = QLocale());

    // Releases the reader, keeping quiet about a failure; call release()
    // first to hear of it.
    ~TbsINIFile();
    TbsINIFile(TbsINIFile&& other) noexcept;
    TbsINIFile& operator=(TbsINIFile&& other) noexcept;
    TbsINIFile(const TbsINIFile&) = delete;
    TbsINIFile& operator=(const TbsINIFile&) = delete;

    // Every section header in file order, a repeated name as often as it
    // occurs.
    QStringList sectionNames() const;
    // The keys of a section's entries in file order, repeated keys repeated;
    // empty when there is no such section. Lines without "=" are no entries.
    QStringList keys(const QString& section) const;
    // The raw value of the key's last occurrence, or the default.
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // The default also stands for a value that is no number.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    double readFloat(const QString& section, const QString& key, double defaultValue,
                     const QLocale& locale = QLocale()) const;

    // Edits mark the reader modified; release() then writes it back.
    void writeString(const QString& section, const QString& key, const QString& value);
    void deleteKey(const QString& section, const QString& key);
    void eraseSection(const QString& section);
    bool isModified() const { return m_modified; }
    // Writes the content to the file and clears the mark; throws RydexError.
    void updateFile();

    // Lets go of the file. A modified reader is written back, or reported
    // with "File "%s" is read-only"; a file that was deleted while it was
    // open is created again from what was read, so that a language file
    // removed by mistake comes back. Throws RydexError when it cannot be
    // written. Afterwards the reader belongs to no file.
    void release();

    QString path() const { return m_path; }
    // The code page of the locale (for the character codes of texts), and
    // whether the file itself was read as UTF-8.
    const WindowsCodePage& codePage() const { return m_codePage; }
    bool isUtf8() const { return m_utf8; }

private:
    // A name that hashes and compares without regard to case, without the
    // cost of a folded copy for each of thousands of keys.
    struct Name
    {
        QString text;
        static size_t hash(const QString& text, size_t seed);
        friend size_t qHash(const Name& name, size_t seed) { return hash(name.text, seed); }
        friend bool operator==(const Name& a, const Name& b)
        {
            return a.text.compare(b.text, Qt::CaseInsensitive) == 0;
        }
    };
    struct Line
    {
        QString key; // the whole line when it has no "="
        QString value;
        bool isEntry;
    };
    struct Section
    {
        QString name;
        std::vector<Line> lines;
        QHash<Name, qsizetype> lastEntry; // index in lines of the last occurrence
    };

    TbsINIFile(const QLocale& locale, QByteArrayView bytes);
    void parse(QStringView text);
    void reindex();
    const Section* findSection(const QString& name) const;
    const Line* findEntry(const QString& section, const QString& key) const;
    QByteArray content() const;
    void writeTo(const QString& path);

    WindowsCodePage m_codePage;
    bool m_utf8 = true;
    QString m_path;
    std::vector<Section> m_sections;
    QHash<Name, qsizetype> m_lastSection; // index in m_sections
    bool m_modified = false;
};
