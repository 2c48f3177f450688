#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for before any window exists. Answering
// "--help" and "--version" needs no display, so neither makes a window.
namespace CommandLine {
enum class Request { Run, Help, Version, CheckInstallation };

// The first option that asks for something other than a run; a run
// otherwise (Qt's own options, such as -platform, are left to Qt).
Request request(int argc, const char* const* argv);

QString helpText(const QString& command);

// The ride files and folders named on the command line (what a file
// manager's "Open with" gives), each made absolute against workingDir so
// that another copy, started elsewhere, finds them; "file:" addresses are
// taken as the paths they name. Options are skipped, and "--" ends them.
// What does not exist is listed apart, to be reported; nothing else is
// judged here: the import says what a file is.
struct FileArguments
{
    QStringList files;
    QStringList missing;
};
// arguments: the program's arguments after its name, Qt's own options removed.
FileArguments fileArguments(const QStringList& arguments, const QString& workingDir);
// The line said for a file or folder that is not there.
QString missingFileText(const QString& command, const QString& path);
QString versionText();

// Whether Qt has a display to open windows on: a platform was chosen (the
// variable QT_QPA_PLATFORM or the option -platform), or an X or Wayland
// display is named. Without one Qt would abort with a page of advice.
bool displayAvailable(int argc, const char* const* argv);
// The one line said instead.
QString noDisplayText(const QString& command);
} // namespace CommandLine
