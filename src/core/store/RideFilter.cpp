#include "store/RideFilter.h"

#include <QRegularExpression>

QString RideFilter::cyclistText(const QString& name)
{
    return QStringLiteral("(user = '") + name + QStringLiteral("')");
}

QString RideFilter::yearText(const QString& name, int year)
{
    return QStringLiteral("(user = '") + name + QStringLiteral("') and (year = ") +
           QString::number(year) + QStringLiteral(")");
}

QString RideFilter::monthText(const QString& name, int year, int month)
{
    return QStringLiteral("(user = '") + name + QStringLiteral("') and (year = ") +
           QString::number(year) + QStringLiteral(") and (month = ") + QString::number(month) +
           QStringLiteral(")");
}

QString RideFilter::text() const
{
    if (isEmpty())
        return QString();
    if (year && month)
        return monthText(user, *year, *month);
    if (year)
        return yearText(user, *year);
    return cyclistText(user);
}

std::optional<RideFilter> RideFilter::parse(const QString& text)
{
    if (text.isEmpty())
        return RideFilter{};
    static const QString head = QStringLiteral("(user = '");
    if (!text.startsWith(head))
        return std::nullopt;
    // Read from the end, so that the name between the apostrophes may hold
    // anything, apostrophes and brackets included.
    static const QRegularExpression monthTail(
        QStringLiteral("'\\) and \\(year = ([0-9]{1,5})\\) and \\(month = ([0-9]{1,2})\\)$"));
    static const QRegularExpression yearTail(QStringLiteral("'\\) and \\(year = ([0-9]{1,5})\\)$"));
    RideFilter f;
    qsizetype nameEnd = -1;
    if (auto m = monthTail.match(text); m.hasMatch() && m.capturedStart() >= head.size()) {
        f.year = m.captured(1).toInt();
        f.month = m.captured(2).toInt();
        nameEnd = m.capturedStart();
    } else if (auto y = yearTail.match(text); y.hasMatch() && y.capturedStart() >= head.size()) {
        f.year = y.captured(1).toInt();
        nameEnd = y.capturedStart();
    } else if (text.endsWith(QStringLiteral("')")) && text.size() >= head.size() + 2) {
        nameEnd = text.size() - 2;
    } else {
        return std::nullopt;
    }
    f.user = text.mid(head.size(), nameEnd - head.size());
    if (f.user.isNull())
        f.user = QLatin1String("");
    return f;
}
