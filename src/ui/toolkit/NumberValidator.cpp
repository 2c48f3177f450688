#include "toolkit/NumberValidator.h"

#include <QLocale>

NumberValidator::NumberValidator(Kind kind, Sign sign, QObject* parent)
    : QValidator(parent), m_kind(kind), m_sign(sign)
{
}

QValidator::State NumberValidator::validate(QString& input, int&) const
{
    const QString point = QLocale().decimalPoint();
    const QChar other = point == QStringLiteral(",") ? QLatin1Char('.') : QLatin1Char(',');
    bool digits = false;
    bool separator = false;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits = true;
        } else if (c == QLatin1Char('-') && i == 0 && m_sign == Sign::MayBeNegative) {
            continue;
        } else if (m_kind == Kind::Decimal && !separator && point.size() == 1 &&
                   (c == point.at(0) || c == other)) {
            input[i] = point.at(0);
            separator = true;
        } else {
            return Invalid;
        }
    }
    return digits ? Acceptable : Intermediate;
}
