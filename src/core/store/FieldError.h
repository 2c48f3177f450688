#pragma once

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "store/RideFields.h"

// A value one field of a ride cannot take: a text that is no value of the
// field, or a value too large for it. It keeps what it is made of, so that a
// window can say the same in its own words, naming the field by the caption
// the user reads beside the control.
class FieldError : public RydexError
{
public:
    // `message` is a catalogue text with two "%s": the value, then the field.
    FieldError(int message, QString value, RideField field)
        : RydexError(Msg::format(message, {value, fieldName(field)}), Kind::Conversion),
          m_message(message), m_value(std::move(value)), m_field(field)
    {
    }
    int message() const { return m_message; }
    const QString& value() const { return m_value; }
    RideField field() const { return m_field; }
    // The same text with the field called `caption`.
    QString textNaming(const QString& caption) const
    {
        return Msg::format(m_message, {m_value, caption});
    }

private:
    int m_message;
    QString m_value;
    RideField m_field;
};
