#include "toolkit/ShortParagraphs.h"

#include <algorithm>

QString shortParagraphs(const QString& text, int longest)
{
    if (text.size() <= longest)
        return text;
    QString out;
    out.reserve(text.size() + text.size() / longest + 1);
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = lineEnd < 0 ? text.size() : lineEnd;
        qsizetype from = start;
        while (end - from > longest) {
            qsizetype cut = from + longest;
            for (qsizetype i = cut - 1; i > from + longest * 3 / 4; --i) {
                if (text.at(i).isSpace()) {
                    cut = i + 1;
                    break;
                }
            }
            // Never between the halves of a character outside the basic plane.
            if (text.at(cut - 1).isHighSurrogate())
                --cut;
            out += QStringView(text).mid(from, cut - from);
            out += QLatin1Char('\n');
            from = cut;
        }
        out += QStringView(text).mid(from, end - from);
        if (lineEnd >= 0)
            out += QLatin1Char('\n');
        start = end + 1;
    }
    return out;
}

qsizetype longestUnbrokenRun(const QString& text)
{
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}
