#pragma once

#include <QString>
#include <QStringView>
#include <optional>

class TbsINIFile;

// The section of a language file that replaces the program's message texts,
// keyed by the texts' numbers: "65318_Cancel='Cancel'".
namespace ResourceStrings {

QString sectionName();

// Whether a key names the message text: the text before the first "_",
// without its blanks, is the number written in decimal ("065318" is not
// 65318).
bool keyMatches(QStringView key, int id);

// The decoded text of the first key in file order that names the number, or
// nothing, so that the program's own text stays.
std::optional<QString> find(const TbsINIFile& file, int id);

} // namespace ResourceStrings
