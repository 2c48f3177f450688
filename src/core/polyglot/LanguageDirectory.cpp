#include "polyglot/LanguageDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {
const QString extension = QStringLiteral(".lng");

QDir directoryOf(const QString& directory)
{
    return QDir(directory.isEmpty() ? QStringLiteral(".") : directory);
}

// The first platform listed a directory in its file system's order, which on
// its usual file system was by name without regard to case; a Linux listing
// has no order at all, and the first language listed is the one the program
// falls back to. Sorting keeps that choice the same on every machine.
bool listedBefore(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

bool isLanguageFileName(const QString& name)
{
    // ".lng" alone would be a language without a name, which the engine
    // could never tell from "no language".
    return name.size() > extension.size() && name.endsWith(extension, Qt::CaseInsensitive);
}
} // namespace

QString LanguageDirectory::besideExecutable()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/lng/");
}

QString LanguageDirectory::initial()
{
    return QStringLiteral("./Language/");
}

QString LanguageDirectory::languageName(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.first(dot);
}

QStringList LanguageDirectory::languages(const QString& directory)
{
    QStringList names;
    const QStringList entries = directoryOf(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (isLanguageFileName(entry))
            names.append(languageName(entry));
    }
    std::sort(names.begin(), names.end(), listedBefore);
    return names;
}

std::optional<QString> LanguageDirectory::languageFile(const QString& directory,
                                                       const QString& language)
{
    if (language.isEmpty() || language.contains(u'/'))
        return std::nullopt;
    const QDir dir = directoryOf(directory);
    const QString wanted = language + extension;
    const QString exact = dir.filePath(wanted);
    if (QFileInfo(exact).isFile())
        return exact;

    QStringList matches;
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0 &&
            QFileInfo(dir.filePath(entry)).isFile())
            matches.append(entry);
    }
    if (matches.isEmpty())
        return std::nullopt;
    std::sort(matches.begin(), matches.end(), listedBefore);
    return dir.filePath(matches.front());
}
