#include "records/LongDate.h"

namespace {
bool isSeparator(QChar c)
{
    return c.isSpace() || c == QLatin1Char(',') || c == QChar(0x060C) /* Arabic comma */ ||
           c == QChar(0x3001) /* ideographic comma */;
}
} // namespace

QString withoutWeekday(const QString& format)
{
    QString out = format;
    bool quoted = false;
    for (qsizetype i = 0; i < out.size();) {
        if (out.at(i) == QLatin1Char('\'')) {
            quoted = !quoted;
            ++i;
            continue;
        }
        if (quoted || out.at(i) != QLatin1Char('d')) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < out.size() && out.at(end) == QLatin1Char('d'))
            ++end;
        // "d" and "dd" are the day of the month; three or more name the weekday.
        if (end - i < 3) {
            i = end;
            continue;
        }
        qsizetype from = i;
        qsizetype to = end;
        if (to < out.size()) {
            while (to < out.size() && isSeparator(out.at(to)))
                ++to;
        } else {
            while (from > 0 && isSeparator(out.at(from - 1)))
                --from;
        }
        out.remove(from, to - from);
        i = from;
    }
    return out.trimmed();
}

QString longDateWithoutWeekday(const QLocale& locale)
{
    return withoutWeekday(locale.dateFormat(QLocale::LongFormat));
}
