#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A theme is a Qt style sheet in a ".sui" file; the program shares one.
namespace ThemeFile {

// The theme in force until the user picks another; it lies beside the program.
inline constexpr const char* defaultFileName = "RX05TdF.sui";

// The file that setting the theme to path takes: the path itself when a
// file is there, else the file of the same name in the program's folder;
// nothing when neither exists (the theme in force stays).
std::optional<QString> resolve(const QString& path, const QString& applicationDir);

// The style sheet in the file's bytes, or why it is none (a text of the
// message catalogue): empty, not UTF-8 text (NUL or other control bytes),
// larger than maxFileSize (read one byte more to tell), or not a style
// sheet (no rule, unbalanced braces, brackets or quotes, an
// unclosed comment, a declaration without ":"). Qt's own parser is asked as
// well by the window side; this check keeps bytes that are no text away
// from it.
// Far beyond any style sheet of the program's windows: a bigger file is no
// theme, and Qt's parser would take its time over it.
constexpr int maxFileMB = 4;
constexpr qint64 maxFileSize = qint64(maxFileMB) * 1024 * 1024;

struct Sheet
{
    QString text;
    QString problem; // empty when the sheet is usable
};
Sheet read(const QByteArray& bytes);

} // namespace ThemeFile
