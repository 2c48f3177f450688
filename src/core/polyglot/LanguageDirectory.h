#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Where language files lie and how they are named: one file per language,
// "english.lng" holding the language "english".
namespace LanguageDirectory {

// "lng" beside the executable, where the language dialog points the engine.
QString besideExecutable();
// The engine's directory until then: "Language" below the working directory.
QString initial();

// The file name without its directory and without its last extension.
QString languageName(const QString& fileName);

// The languages of the directory (the working directory when empty): every
// entry whose name ends in ".lng", whatever kind of entry it is, sorted by
// name without regard to case.
QStringList languages(const QString& directory);

// The file of a language: the name as given, else a file whose name matches
// it without regard to case; nothing when no regular file matches, which the
// engine takes as "no language file".
std::optional<QString> languageFile(const QString& directory, const QString& language);

} // namespace LanguageDirectory
