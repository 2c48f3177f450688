#include "theme/ThemeFile.h"

#include "base/MessageCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

std::optional<QString> ThemeFile::resolve(const QString& path, const QString& applicationDir)
{
    if (path.isEmpty())
        return std::nullopt;
    if (QFileInfo(path).isFile())
        return QFileInfo(path).absoluteFilePath();
    const QString beside = QDir(applicationDir).filePath(QFileInfo(path).fileName());
    if (!QFileInfo(path).fileName().isEmpty() && QFileInfo(beside).isFile())
        return QFileInfo(beside).absoluteFilePath();
    return std::nullopt;
}

namespace {
// The structure of a style sheet: rules "selector { name: value; ... }",
// comments, quoted strings and brackets. Returns the problem or nothing.
QString checkStructure(const QString& text)
{
    int depth = 0;
    int rules = 0;
    bool inComment = false;
    QChar quote;
    qsizetype declarationStart = -1;
    int brackets = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (inComment) {
            if (c == u'*' && next == u'/') {
                inComment = false;
                ++i;
            }
            continue;
        }
        if (!quote.isNull()) {
            if (c == u'\\')
                ++i;
            else if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'/' && next == u'*') {
            inComment = true;
            ++i;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'(' || c == u'[') {
            ++brackets;
        } else if (c == u')' || c == u']') {
            if (--brackets < 0)
                return QStringLiteral("a \"%1\" closes nothing").arg(c);
        } else if (c == u'{') {
            if (depth > 0)
                return QStringLiteral("a \"{\" inside a rule");
            depth = 1;
            declarationStart = i + 1;
        } else if (c == u'}' || (c == u';' && depth > 0)) {
            if (depth == 0)
                return QStringLiteral("a \"}\" closes no rule");
            const QString declaration = text.mid(declarationStart, i - declarationStart).trimmed();
            if (!declaration.isEmpty() && !declaration.contains(u':'))
                return QStringLiteral("\"%1\" is no declaration").arg(declaration.left(40));
            declarationStart = i + 1;
            if (c == u'}') {
                depth = 0;
                ++rules;
            }
        }
    }
    if (inComment)
        return QStringLiteral("a comment is not closed");
    if (!quote.isNull())
        return QStringLiteral("a quoted text is not closed");
    if (depth != 0 || brackets != 0)
        return QStringLiteral("a rule is not closed");
    if (rules == 0)
        return QStringLiteral("it holds no rule");
    return QString();
}
} // namespace

ThemeFile::Sheet ThemeFile::read(const QByteArray& bytes)
{
    if (bytes.size() > maxFileSize)
        return {QString(), Msg::format(Msg::FileTooLarge, {QString::number(maxFileMB)})};
    if (bytes.trimmed().isEmpty())
        return {QString(), Msg::text(Msg::ThemeEmpty)};
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 32 && b != '\n' && b != '\r' && b != '\t' && b != '\f')
            return {QString(), Msg::text(Msg::ThemeNotText)};
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return {QString(), Msg::text(Msg::ThemeNotText)};
    if (!checkStructure(text).isEmpty())
        return {QString(), Msg::text(Msg::ThemeNotStyleSheet)};
    return {text, QString()};
}
