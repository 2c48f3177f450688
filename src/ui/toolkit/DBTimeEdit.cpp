#include "toolkit/DBTimeEdit.h"

#include "base/MessageCatalogue.h"
#include "store/ADOTable.h"
#include "store/FieldError.h"
#include "toolkit/FieldLink.h"

#include <QValidator>

namespace {
// Qt's mask letters read the other way round: '0' may stay empty, '9' must
// be filled. The blank is "_".
constexpr char qtMask[] = "09:99:99;_";
constexpr int maskLength = 8;
const QChar blankChar = QLatin1Char('_');

bool isDigitPosition(int i)
{
    return i != 2 && i != 5;
}

// Refuses a keystroke that would make the masked text no time of day: hours
// above 23, minutes or seconds above 59. A position still empty may be
// anything, so every text on the way to a valid duration stays typeable.
class DurationValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        if (input.size() != maskLength)
            return Intermediate;
        const auto digit = [&input](int i) {
            return input.at(i).isDigit() ? input.at(i).digitValue() : -1;
        };
        const int tens = digit(0);
        const int ones = digit(1);
        if (tens >= 0 && ones >= 0 && tens * 10 + ones > 23)
            return Invalid;
        if (digit(3) > 5 || digit(6) > 5)
            return Invalid;
        return DBTimeEdit::complete(DBTimeEdit::rightAlignedHour(input)) ? Acceptable
                                                                         : Intermediate;
    }
};
} // namespace

DBTimeEdit::DBTimeEdit(const QString& name, RideField field, QWidget* parent)
    : DBEdit(name, field, parent)
{
    setMaxLength(maskLength);
    m_validator = new DurationValidator(this);
    // The hour moves into place as soon as the user has left it, not while
    // he might still type its second digit.
    connect(this, &QLineEdit::textEdited, this, [this] { alignHour(cursorPosition() > 2); });
}

QString DBTimeEdit::rightAlignedHour(const QString& masked)
{
    if (masked.size() == maskLength && masked.at(0).isDigit() && masked.at(1) == blankChar)
        return QString(blankChar) + masked.at(0) + masked.mid(2);
    return masked;
}

bool DBTimeEdit::complete(const QString& masked)
{
    if (masked.size() != maskLength)
        return false;
    for (int i = 0; i < maskLength; ++i) {
        const QChar c = masked.at(i);
        if (!isDigitPosition(i))
            continue;
        if (i == 0 ? !(c.isDigit() || c == blankChar || c == QLatin1Char(' ')) : !c.isDigit())
            return false;
    }
    return true;
}

bool DBTimeEdit::blank(const QString& masked)
{
    for (const QChar c : masked) {
        if (c.isDigit())
            return false;
    }
    return true;
}

void DBTimeEdit::useMask(bool on)
{
    const QString mask = on ? QString::fromLatin1(qtMask) : QString();
    if (inputMask() != mask)
        setInputMask(mask);
    // The display form ("12:30:00" or more after a load of another tool's
    // value) is never typed into; only the mask is checked.
    setValidator(on ? m_validator : nullptr);
}

void DBTimeEdit::loadText()
{
    const ADOTable* t = link()->table();
    const bool editing = link()->editing();
    useMask(editing);
    if (!t) {
        setText(QString());
        return;
    }
    if (editing) {
        // The edit form puts a missing hour digit as a leading blank.
        QString text = t->editText(field());
        if (text.startsWith(QLatin1Char(' ')))
            text[0] = blankChar;
        setText(text);
    } else {
        setText(t->displayText(field()));
    }
    setCursorPosition(0);
}

void DBTimeEdit::storeText()
{
    const QString masked = rightAlignedHour(displayText());
    if (blank(masked)) {
        link()->writeText(QString());
        return;
    }
    if (!complete(masked))
        throw FieldError(Msg::FieldConversion, masked, field());
    link()->writeText(masked);
}

void DBTimeEdit::alignHour(bool leftTheHour)
{
    if (!leftTheHour || inputMask().isEmpty())
        return;
    const QString aligned = rightAlignedHour(displayText());
    if (aligned == displayText())
        return;
    const int cursor = cursorPosition();
    // Moving the digit is no change of the user's: it keeps the state the
    // text had (changed or not).
    const bool modified = link()->isModified();
    setText(aligned);
    link()->setModified(modified);
    setCursorPosition(cursor);
}

void DBTimeEdit::focusOutEvent(QFocusEvent* event)
{
    alignHour(true);
    DBEdit::focusOutEvent(event);
}
