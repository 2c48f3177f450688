// The language-file reader over any bytes, in the code page of any locale:
// no crash, and every key it lists is found again however its letters are
// cased, and a single-byte code page gives back every byte it decoded.

#include "FuzzSupport.h"

#include "polyglot/TbsINIFile.h"
#include "polyglot/WindowsCodePage.h"

namespace {
// A code page in which every byte stands for one character of its own; 1255
// and 1258 compose accents with the letter before them.
bool isSingleByteWithoutComposition(int number)
{
    return number == 874 || (number >= 1250 && number <= 1257 && number != 1255);
}

void checkCodePage(const WindowsCodePage& codePage, const QByteArray& bytes)
{
    const QString text = codePage.decode(bytes);
    if (isSingleByteWithoutComposition(codePage.number())) {
        FUZZ_CHECK(text.size() == bytes.size(), QString::number(codePage.number()));
        FUZZ_CHECK(codePage.encode(text) == bytes, QString::number(codePage.number()));
    }
}

void checkLookups(const TbsINIFile& file)
{
    const QStringList sections = file.sectionNames();
    for (const QString& section : sections) {
        // A variant that Qt does not take as the same name ("ı" upper-cased
        // is "I") need not find it.
        const QString upper = section.toUpper();
        const QString other = upper.compare(section, Qt::CaseInsensitive) == 0 ? upper : section;
        FUZZ_CHECK(file.keys(other) == file.keys(section), section);
        for (const QString& key : file.keys(section)) {
            const QString value = file.readString(section, key, QStringLiteral("\x01missing"));
            FUZZ_CHECK(value != QStringLiteral("\x01missing"), section + u'/' + key);
            // A name equal without regard to case must find the same entry.
            for (const QString& variant : {key.toCaseFolded(), key.toUpper(), key.toLower()}) {
                if (variant.compare(key, Qt::CaseInsensitive) != 0)
                    continue;
                FUZZ_CHECK(file.readString(other, variant, {}) == value,
                           section + u'/' + key + QStringLiteral(" as ") + variant);
            }
            file.readInteger(section, key, 0);
            file.readFloat(section, key, 0.0, QLocale::c());
        }
    }
}

void checkEdits(TbsINIFile& file)
{
    const QString value = QStringLiteral("edited value");
    const QStringList sections = file.sectionNames();
    const QString section = sections.isEmpty() ? QStringLiteral("New") : sections.last();
    const QStringList keys = file.keys(section);
    const QString key = keys.isEmpty() ? QStringLiteral("Added") : keys.first().toUpper();
    file.writeString(section, key, value);
    FUZZ_CHECK(file.readString(section, key, {}) == value, section + u'/' + key);
    file.deleteKey(section, key);
    FUZZ_CHECK(file.readString(section, key, QStringLiteral("gone")) == QStringLiteral("gone"),
               section + u'/' + key);
    file.eraseSection(section);
    FUZZ_CHECK(file.keys(section).isEmpty(), section);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const QLocale locale = Fuzz::locale(input.byte());
    const QByteArray bytes = input.rest();
    checkCodePage(WindowsCodePage::forLocale(locale), bytes);
    Fuzz::acceptingRydexError([&] {
        TbsINIFile file = TbsINIFile::fromBytes(bytes, locale);
        checkLookups(file);
        checkEdits(file);
    });
    return 0;
}
