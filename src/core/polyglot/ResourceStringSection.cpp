#include "polyglot/ResourceStringSection.h"

#include "polyglot/LanguageValues.h"
#include "polyglot/TbsINIFile.h"

namespace {
bool numberMatches(QStringView key, QStringView number)
{
    const qsizetype underscore = key.indexOf(u'_');
    QStringView text = underscore < 0 ? key : key.first(underscore);
    while (!text.isEmpty() && text.front().unicode() <= 32)
        text = text.sliced(1);
    while (!text.isEmpty() && text.back().unicode() <= 32)
        text.chop(1);
    return text == number;
}
} // namespace

QString ResourceStrings::sectionName()
{
    return QStringLiteral("ResourceStrings");
}

bool ResourceStrings::keyMatches(QStringView key, int id)
{
    return numberMatches(key, QString::number(id));
}

std::optional<QString> ResourceStrings::find(const TbsINIFile& file, int id)
{
    const QString section = sectionName();
    const QString number = QString::number(id);
    for (const QString& key : file.keys(section)) {
        if (numberMatches(key, number)) {
            return LanguageValues::decodeTextLiteral(file.readString(section, key, QString()),
                                                     file.codePage());
        }
    }
    return std::nullopt;
}
