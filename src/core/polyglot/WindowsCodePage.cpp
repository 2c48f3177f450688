#include "polyglot/WindowsCodePage.h"

#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <map>
#include <utility>

namespace {
constexpr const char* utf16Name =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
const iconv_t noConverter = reinterpret_cast<iconv_t>(-1);

class Converter
{
public:
    Converter(const QByteArray& to, const QByteArray& from)
        : m_cd(iconv_open(to.constData(), from.constData()))
    {
    }
    ~Converter()
    {
        if (m_cd != noConverter)
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Ready for a fresh input, or null when the C library lacks the code page.
    iconv_t reset() const
    {
        if (m_cd == noConverter)
            return nullptr;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return m_cd;
    }

private:
    iconv_t m_cd;
};

// Opening a converter costs far more than a short conversion, and a text with
// many character codes converts them run by run; an iconv handle is not safe
// to share between threads, hence one cache per thread.
iconv_t converter(int codePage, bool toUnicode)
{
    thread_local std::map<std::pair<int, bool>, Converter> cache;
    const QByteArray name = "CP" + QByteArray::number(codePage);
    auto it = cache.find({codePage, toUnicode});
    if (it == cache.end()) {
        it = cache
                 .try_emplace({codePage, toUnicode}, toUnicode ? QByteArray(utf16Name) : name,
                              toUnicode ? name : QByteArray(utf16Name))
                 .first;
    }
    return it->second.reset();
}

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}
} // namespace

WindowsCodePage WindowsCodePage::forLocale(const QLocale& locale)
{
    const bool cyrillic = locale.script() == QLocale::CyrillicScript;
    switch (locale.language()) {
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Polish:
    case QLocale::Hungarian:
    case QLocale::Slovenian:
    case QLocale::Croatian:
    case QLocale::Romanian:
    case QLocale::Albanian:
        return WindowsCodePage(1250);
    case QLocale::Bosnian:
    case QLocale::Serbian:
        return WindowsCodePage(cyrillic ? 1251 : 1250);
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
    case QLocale::Bulgarian:
    case QLocale::Macedonian:
    case QLocale::Kazakh:
    case QLocale::Kyrgyz:
    case QLocale::Tatar:
    case QLocale::Mongolian:
    case QLocale::Bashkir:
    case QLocale::Tajik:
        return WindowsCodePage(1251);
    case QLocale::Azerbaijani:
    case QLocale::Uzbek:
        return WindowsCodePage(cyrillic ? 1251 : 1254);
    case QLocale::Greek:
        return WindowsCodePage(1253);
    case QLocale::Turkish:
        return WindowsCodePage(1254);
    case QLocale::Hebrew:
        return WindowsCodePage(1255);
    case QLocale::Arabic:
    case QLocale::Persian:
    case QLocale::Urdu:
        return WindowsCodePage(1256);
    case QLocale::Lithuanian:
    case QLocale::Latvian:
    case QLocale::Estonian:
        return WindowsCodePage(1257);
    case QLocale::Vietnamese:
        return WindowsCodePage(1258);
    case QLocale::Thai:
        return WindowsCodePage(874);
    case QLocale::Japanese:
        return WindowsCodePage(932);
    case QLocale::Chinese:
        return WindowsCodePage(locale.script() == QLocale::TraditionalChineseScript ? 950 : 936);
    case QLocale::Korean:
        return WindowsCodePage(949);
    default:
        return WindowsCodePage(1252);
    }
}

QString WindowsCodePage::decode(QByteArrayView bytes) const
{
    const iconv_t cd = isAscii(bytes) ? nullptr : converter(m_number, true);
    if (!cd)
        return QString::fromLatin1(bytes.data(), bytes.size());

    // No code page here gives more UTF-16 units than it takes bytes; the
    // buffer still grows when one does.
    QString out(bytes.size() + 8, Qt::Uninitialized);
    qsizetype written = 0;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    for (;;) {
        if (out.size() - written < 8)
            out.resize(out.size() * 2);
        char* const start = reinterpret_cast<char*>(out.data() + written);
        char* outPtr = start;
        size_t outLeft = static_cast<size_t>(out.size() - written) * 2;
        // With the input used up, one more call hands out what a combining
        // code page (1255, 1258) still holds back.
        const bool flushing = inLeft == 0;
        const size_t rc = flushing ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                   : iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        written += (outPtr - start) / 2;
        if (rc != static_cast<size_t>(-1)) {
            if (flushing)
                break;
            continue;
        }
        if (error == E2BIG)
            continue;
        if (flushing)
            break;
        out[written++] = QChar(static_cast<unsigned char>(*in));
        ++in;
        --inLeft;
    }
    out.resize(written);
    return out;
}

QByteArray WindowsCodePage::encode(QStringView text) const
{
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    const iconv_t cd = ascii ? nullptr : converter(m_number, false);
    if (!cd)
        return text.toLatin1();

    QByteArray out(text.size() * 2 + 8, Qt::Uninitialized);
    qsizetype written = 0;
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.data()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    for (;;) {
        if (out.size() - written < 8)
            out.resize(out.size() * 2);
        char* const start = out.data() + written;
        char* outPtr = start;
        size_t outLeft = static_cast<size_t>(out.size() - written);
        const bool flushing = inLeft < 2;
        const size_t rc = flushing ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                   : iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        written += outPtr - start;
        if (rc != static_cast<size_t>(-1)) {
            if (flushing)
                break;
            continue;
        }
        if (error == E2BIG)
            continue;
        if (flushing)
            break;
        char16_t unit;
        std::memcpy(&unit, in, 2);
        size_t used = 2;
        if (QChar::isHighSurrogate(unit) && inLeft >= 4) {
            char16_t low;
            std::memcpy(&low, in + 2, 2);
            if (QChar::isLowSurrogate(low))
                used = 4;
        }
        out[written++] = unit < 0x100 ? static_cast<char>(unit) : '?';
        in += used;
        inLeft -= used;
    }
    out.resize(written);
    return out;
}
