// Every parser of text the user types: a ride field's edit text (duration,
// distances and the odometer reading as exact decimals, whole numbers,
// dates), the duration box's mask helpers and the date box's format. A
// value that is read must show and read again as the same value; a text
// that is refused must be refused as a conversion error.

#include "FuzzSupport.h"

#include "base/Fixed4.h"
#include "base/PictureFormat.h"
#include "records/LongDate.h"
#include "store/FieldText.h"
#include "store/RideFields.h"
#include "toolkit/DBTimeEdit.h"

#include <QDateTime>
#include <QTime>
#include <optional>

namespace {
// The field's value of a text, or nothing when the text is refused.
struct Reading
{
    bool refused = false;
    std::optional<QVariant> value;
    friend bool operator==(const Reading&, const Reading&) = default;
};

Reading read(RideField field, const QString& text, const QLocale& locale)
{
    try {
        return {false, fieldValueOfText(field, text, locale)};
    } catch (const RydexError& e) {
        FUZZ_CHECK(e.kind() == RydexError::Kind::Conversion, e.text());
        return {true, std::nullopt};
    }
}

// The exact value of a plain decimal in the C locale ("-12.34567"), in
// ten-thousandths rounded halves away from zero, worked out independently
// of Fixed4; nothing when it is no such decimal or too long to check.
std::optional<qint64> referenceUnits(const QString& input)
{
    const QString text = input.trimmed();
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        i = 1;
    QString whole, fraction;
    bool separator = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'.' && !separator)
            separator = true;
        else if (c >= u'0' && c <= u'9')
            (separator ? fraction : whole) += c;
        else
            return std::nullopt;
    }
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    if ((whole.isEmpty() && fraction.isEmpty() && !text.contains(u'0')) || whole.size() > 13)
        return std::nullopt;
    qint64 units = whole.isEmpty() ? 0 : whole.toLongLong() * Fixed4::scale;
    const QString four = (fraction + QStringLiteral("0000")).left(4);
    units += four.toLongLong();
    if (fraction.size() > 4 && fraction.at(4) >= u'5')
        ++units;
    return negative ? -units : units;
}

void checkDecimal(RideField field, const QString& text, const QLocale& locale, const Reading& r)
{
    if (locale == QLocale::c()) {
        const std::optional<qint64> expected = referenceUnits(text);
        if (expected) {
            FUZZ_CHECK(r.value && r.value->value<Fixed4>().units() == *expected, text);
        } else if (text.trimmed().size() < 14) {
            FUZZ_CHECK(!r.value, text);
        }
    }
    if (!r.value)
        return;
    const Fixed4 f = r.value->value<Fixed4>();
    FUZZ_CHECK(Fixed4::parse(f.toPlainString(), QLocale::c()) == f, text);
    // The edit box shows two decimals; taking that text back gives the
    // value rounded, and zero is shown as an empty box.
    const Reading shown = read(field, fieldEditText(field, *r.value, locale), locale);
    const Fixed4 rounded = f.roundedTo2();
    if (rounded == Fixed4())
        FUZZ_CHECK(!shown.refused && !shown.value, text);
    else
        FUZZ_CHECK(shown.value && shown.value->value<Fixed4>() == rounded,
                   text + QStringLiteral(" shown as ") + fieldEditText(field, *r.value, locale));
    fieldDisplayText(field, *r.value, locale);
    formatPicture(text.left(20), f, locale);
}

void checkDuration(RideField field, const QString& text, const QLocale& locale, const Reading& r)
{
    // The duration box's helpers: moving a lone hour digit changes nothing
    // the field reads, and a mask without digits is an empty field.
    FUZZ_CHECK(read(field, DBTimeEdit::rightAlignedHour(text), locale) == r, text);
    const bool maskCharacters = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || c == u'_' || c == u' ' || c == u':';
    });
    if (maskCharacters && DBTimeEdit::blank(text))
        FUZZ_CHECK(!r.refused && !r.value, text);
    DBTimeEdit::complete(text);
    if (!r.value)
        return;
    FUZZ_CHECK(r.value->toTime().isValid(), text);
    FUZZ_CHECK(read(field, fieldEditText(field, *r.value, locale), locale) == r, text);
}

void checkOther(RideField field, const QString& text, const QLocale& locale, const Reading& r)
{
    if (!r.value)
        return;
    switch (fieldDef(field).kind) {
    case FieldKind::DateTime: {
        const QDate date = r.value->toDateTime().date();
        FUZZ_CHECK(date.isValid(), text);
        const QString iso = date.toString(Qt::ISODate);
        if (!iso.isEmpty())
            FUZZ_CHECK(read(field, iso, locale) == r, text + QStringLiteral(" as ") + iso);
        break;
    }
    case FieldKind::AutoIncrement:
    case FieldKind::UInt16:
    case FieldKind::Int16: {
        const QString shown = fieldEditText(field, *r.value, locale);
        FUZZ_CHECK(read(field, shown, locale) == r, text + QStringLiteral(" as ") + shown);
        break;
    }
    default:
        FUZZ_CHECK(r.value->toString() == text, text);
    }
}

void checkDateFormat(const QString& format)
{
    const QString shorter = withoutWeekday(format);
    FUZZ_CHECK(withoutWeekday(shorter) == shorter, format);
    // No run of three or more "d" is left outside quotes.
    bool quoted = false;
    int run = 0;
    for (const QChar c : shorter) {
        if (c == u'\'')
            quoted = !quoted;
        run = (!quoted && c == u'd') ? run + 1 : 0;
        FUZZ_CHECK(run < 3, format + QStringLiteral(" gave ") + shorter);
    }
    QDate(2005, 3, 15).toString(shorter.left(64));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const auto field = static_cast<RideField>(input.byte() % rideFieldCount);
    const QLocale locale = Fuzz::locale(input.byte());
    const QString text = QString::fromUtf8(input.rest());

    const Reading reading = read(field, text, locale);
    switch (fieldDef(field).kind) {
    case FieldKind::Decimal:
        checkDecimal(field, text, locale, reading);
        break;
    case FieldKind::Duration:
        checkDuration(field, text, locale, reading);
        break;
    default:
        checkOther(field, text, locale, reading);
    }
    checkDateFormat(text);
    return 0;
}
