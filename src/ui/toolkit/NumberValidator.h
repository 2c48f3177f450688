#pragma once

#include <QValidator>

// Lets only a number be typed into a number box: digits, a minus sign in
// front where the value may be negative, and for decimals one decimal
// separator. The separator is the user's locale's at the moment of typing
// (the locale may change while the program runs); the other common one is
// taken as it, so "12.5" becomes "12,5" where the comma is the separator.
class NumberValidator : public QValidator
{
public:
    enum class Kind { Whole, Decimal };
    enum class Sign { NotNegative, MayBeNegative };

    NumberValidator(Kind kind, Sign sign, QObject* parent = nullptr);

    State validate(QString& input, int& position) const override;

private:
    Kind m_kind;
    Sign m_sign;
};
