#include "toolkit/DBTimeEdit.h"

#include "polyglot/MessageCatalogue.h"
#include "store/ADOTable.h"
#include "store/RydexError.h"
#include "toolkit/FieldLink.h"

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
} // namespace

DBTimeEdit::DBTimeEdit(const QString& name, RideField field, QWidget* parent)
    : DBEdit(name, field, parent)
{
    setMaxLength(maskLength);
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
        throw RydexError(Msg::format(Msg::FieldConversion, {masked, fieldName(field())}),
                         RydexError::Kind::Conversion);
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
