#pragma once

#include <QString>

// What the command line asks for before any window exists. Answering
// "--help" and "--version" needs no display, so neither makes a window.
namespace CommandLine {
enum class Request { Run, Help, Version, CheckInstallation };

// The first option that asks for something other than a run; a run
// otherwise (Qt's own options, such as -platform, are left to Qt).
Request request(int argc, const char* const* argv);

QString helpText(const QString& command);
QString versionText();

// Whether Qt has a display to open windows on: a platform was chosen (the
// variable QT_QPA_PLATFORM or the option -platform), or an X or Wayland
// display is named. Without one Qt would abort with a page of advice.
bool displayAvailable(int argc, const char* const* argv);
// The one line said instead.
QString noDisplayText(const QString& command);
} // namespace CommandLine
