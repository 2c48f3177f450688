// The theme-file loader over any bytes: no crash, and a sheet it accepts
// is accepted again as text, after a comment, and twice over.

#include "FuzzSupport.h"

#include "theme/ThemeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ThemeFile::Sheet sheet = ThemeFile::read(bytes);
    FUZZ_CHECK(sheet.problem.isEmpty() != sheet.text.isEmpty(), sheet.problem);
    if (!sheet.problem.isEmpty())
        return 0;
    // A second byte-order mark stays in the text, and reading it again
    // would take it for the first.
    if (sheet.text.startsWith(QChar(0xFEFF)))
        return 0;
    const QByteArray utf8 = sheet.text.toUtf8();
    for (const QByteArray& longer : {utf8, utf8 + "\n/* a note */\n", utf8 + '\n' + utf8}) {
        const ThemeFile::Sheet again = ThemeFile::read(longer);
        FUZZ_CHECK(again.problem.isEmpty() && again.text == QString::fromUtf8(longer),
                   again.problem + QStringLiteral(": ") + sheet.text);
    }
    return 0;
}
