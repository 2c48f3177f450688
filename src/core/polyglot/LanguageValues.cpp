#include "polyglot/LanguageValues.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"

#include <charconv>
#include <string>

namespace {
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int hexValue(QChar c)
{
    if (isDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

[[noreturn]] void invalidElement(const QString& value)
{
    throw RydexError(Msg::format(Msg::InvalidPropertyElement, {value}));
}
} // namespace

QString LanguageValues::decodeTextLiteral(QStringView value, const WindowsCodePage& codePage)
{
    const qsizetype n = value.size();
    if (n < 2)
        return QString();

    QString out;
    out.reserve(n);
    // Adjacent character codes are read together: in a double-byte code page
    // two codes may make one character.
    QByteArray codes;
    const auto flushCodes = [&] {
        if (!codes.isEmpty()) {
            out += codePage.decode(codes);
            codes.clear();
        }
    };

    bool inRun = false;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = value[i];
        if (c == u'\'') {
            if (i == 0) {
                inRun = true;
                ++i;
            } else if (i + 1 < n && value[i + 1] == u'\'') {
                // Outside a run a doubled quote adds nothing: an empty run.
                if (inRun) {
                    flushCodes();
                    out += c;
                }
                i += 2;
            } else {
                if (inRun && i + 1 < n && value[i + 1] != u'#')
                    return QString();
                inRun = !inRun;
                ++i;
            }
        } else if (c == u'#' && !inRun) {
            // Only the low byte counts, so the number never overflows however
            // many digits follow; "#" without digits is code 255.
            unsigned code = 0xFF;
            qsizetype j = i + 1;
            if (j < n && isDigit(value[j])) {
                code = 0;
                for (; j < n && isDigit(value[j]); ++j)
                    code = (code * 10 + (value[j].unicode() - u'0')) & 0xFF;
            }
            codes.append(static_cast<char>(code));
            i = j;
        } else {
            flushCodes();
            out += c;
            ++i;
        }
    }
    if (inRun)
        return QString();
    flushCodes();
    return out;
}

std::optional<qint32> LanguageValues::parseInteger(QStringView value)
{
    const qsizetype n = value.size();
    qsizetype i = 0;
    if (value.startsWith(u'$'))
        i = 1;
    else if (value.startsWith(u"0x") || value.startsWith(u"0X"))
        i = 2;
    if (i > 0) {
        if (i == n)
            return std::nullopt;
        quint64 result = 0;
        for (; i < n; ++i) {
            const int digit = hexValue(value[i]);
            if (digit < 0)
                return std::nullopt;
            result = result * 16 + static_cast<unsigned>(digit);
            if (result > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return static_cast<qint32>(static_cast<quint32>(result));
    }

    const bool negative = value.startsWith(u'-');
    if (negative || value.startsWith(u'+'))
        i = 1;
    if (i == n)
        return std::nullopt;
    const qint64 limit = negative ? Q_INT64_C(2147483648) : Q_INT64_C(2147483647);
    qint64 result = 0;
    for (; i < n; ++i) {
        if (!isDigit(value[i]))
            return std::nullopt;
        result = result * 10 + (value[i].unicode() - u'0');
        if (result > limit)
            return std::nullopt;
    }
    return static_cast<qint32>(negative ? -result : result);
}

std::optional<double> LanguageValues::parseNumber(QStringView value, const QLocale& locale)
{
    const QString separator = locale.decimalPoint();
    const qsizetype n = value.size();
    std::string ascii;
    ascii.reserve(static_cast<size_t>(n));
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype from = i;
        for (; i < n && isDigit(value[i]); ++i)
            ascii += static_cast<char>(value[i].unicode());
        return i - from;
    };

    if (i < n && (value[i] == u'+' || value[i] == u'-')) {
        if (value[i] == u'-')
            ascii += '-';
        ++i;
    }
    qsizetype mantissa = digits();
    if (!separator.isEmpty() && value.sliced(i).startsWith(separator)) {
        ascii += '.';
        i += separator.size();
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < n && (value[i] == u'e' || value[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < n && (value[i] == u'+' || value[i] == u'-'))
            ascii += static_cast<char>(value[i++].unicode());
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;

    double result = 0;
    const char* const end = ascii.data() + ascii.size();
    const auto [stop, error] = std::from_chars(ascii.data(), end, result);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return result;
}

int LanguageValues::decodeEnumeration(const QString& value, const QMetaEnum& type)
{
    if (!value.isEmpty() && type.isValid()) {
        for (int i = 0; i < type.keyCount(); ++i) {
            if (value.compare(QLatin1String(type.key(i)), Qt::CaseInsensitive) == 0)
                return type.value(i);
        }
    }
    invalidElement(value);
}

bool LanguageValues::decodeYesNo(const QString& value)
{
    if (value.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    invalidElement(value);
}

QStringList LanguageValues::splitListValue(QStringView value)
{
    // A value read from a file holds no NUL; one given directly ends there,
    // as the text would for the first platform.
    const qsizetype nul = value.indexOf(QChar(0));
    const qsizetype n = nul >= 0 ? nul : value.size();
    const auto isBlank = [](QChar c) { return c.unicode() <= 32; };

    QStringList items;
    qsizetype i = 0;
    while (i < n && isBlank(value[i]))
        ++i;
    while (i < n) {
        QString item;
        if (value[i] == u'\'') {
            // An unclosed quote takes the rest of the value.
            for (++i; i < n; ++i) {
                if (value[i] == u'\'') {
                    if (i + 1 < n && value[i + 1] == u'\'') {
                        item += u'\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += value[i];
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isBlank(value[i]) && value[i] != u',')
                ++i;
            item = value.sliced(start, i - start).toString();
        }
        items.append(item);
        while (i < n && isBlank(value[i]))
            ++i;
        if (i < n && value[i] == u',') {
            if (i + 1 == n)
                items.append(QString());
            for (++i; i < n && isBlank(value[i]);)
                ++i;
        }
    }
    return items;
}
