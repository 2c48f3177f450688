// The decoders of a language file's values: a text literal, a list of
// strings, an integer, a number. Each decoded value, written back in the
// file's notation, must decode to the same value.

#include "FuzzSupport.h"

#include "polyglot/LanguageValues.h"

#include <QMetaEnum>
#include <cmath>

namespace {
QString quoted(QString text)
{
    return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
}

void checkTextLiteral(const QString& value, const WindowsCodePage& codePage)
{
    const QString text = LanguageValues::decodeTextLiteral(value, codePage);
    FUZZ_CHECK(LanguageValues::decodeTextLiteral(quoted(text), codePage) == text, value);
}

void checkList(const QString& value)
{
    const QStringList items = LanguageValues::splitListValue(value);
    QStringList written;
    for (const QString& item : items)
        written << quoted(item);
    FUZZ_CHECK(LanguageValues::splitListValue(written.join(u',')) == items, value);
    FUZZ_CHECK(LanguageValues::splitListValue(written.join(QStringLiteral(" , "))) == items, value);
}

void checkInteger(const QString& value)
{
    const std::optional<qint32> n = LanguageValues::parseInteger(value);
    if (!n)
        return;
    FUZZ_CHECK(LanguageValues::parseInteger(QString::number(*n)) == n, value);
    const QString hex = u'$' + QString::number(quint32(*n), 16);
    FUZZ_CHECK(LanguageValues::parseInteger(hex) == n, value);
    // A plain decimal reads as the C library reads it.
    bool ok = false;
    const qint32 plain = value.toInt(&ok);
    if (ok)
        FUZZ_CHECK(plain == *n, value);
}

void checkNumber(const QString& value, const QLocale& locale)
{
    const std::optional<double> x = LanguageValues::parseNumber(value, locale);
    if (!x)
        return;
    FUZZ_CHECK(std::isfinite(*x), value);
    QString written = QString::number(*x, 'g', 17);
    written.replace(u'.', locale.decimalPoint());
    FUZZ_CHECK(LanguageValues::parseNumber(written, locale) == x,
               value + QStringLiteral(" as ") + written);
}

void checkNames(const QString& value)
{
    Fuzz::acceptingRydexError([&] {
        const bool yes = LanguageValues::decodeYesNo(value);
        FUZZ_CHECK(LanguageValues::decodeYesNo(yes ? QStringLiteral("TRUE")
                                                   : QStringLiteral("false")) == yes,
                   value);
    });
    const QMetaEnum orientation = QMetaEnum::fromType<Qt::Orientation>();
    Fuzz::acceptingRydexError([&] {
        const int element = LanguageValues::decodeEnumeration(value, orientation);
        FUZZ_CHECK(orientation.valueToKey(element) != nullptr, value);
    });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const QLocale locale = Fuzz::locale(input.byte());
    const QString value = QString::fromUtf8(input.rest());
    checkTextLiteral(value, WindowsCodePage::forLocale(locale));
    checkList(value);
    checkInteger(value);
    checkNumber(value, locale);
    checkNames(value);
    return 0;
}
