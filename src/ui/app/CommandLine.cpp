#include "app/CommandLine.h"

#include "app/InstallationCheck.h"
#include "base/AppIdentity.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace CommandLine {

Request request(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray option(argv[i]);
        // What follows "--" is a file, whatever its name.
        if (option == "--")
            break;
        if (option == "--help" || option == "-h")
            return Request::Help;
        if (option == "--version")
            return Request::Version;
        if (option == InstallationCheck::option)
            return Request::CheckInstallation;
    }
    return Request::Run;
}

QString helpText(const QString& command)
{
    return QStringLiteral("Usage: %1 [option] [file or folder...]\n"
                          "%2, a training log for cyclists.\n"
                          "\n"
                          "Ride files (FIT, GPX, TCX, also compressed as .fit.gz, .gpx.gz,\n"
                          ".tcx.gz) and folders given are opened in the import preview of the\n"
                          "signed-in cyclist; when the program is already running, they are\n"
                          "handed to it and this command ends at once.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help              print this help and exit\n"
                          "  --version               print the version and exit\n"
                          "  %3    check the installed files without opening a window\n")
        .arg(command, QString::fromUtf8(AppIdentity::title),
             QString::fromLatin1(InstallationCheck::option));
}

FileArguments fileArguments(const QStringList& arguments, const QString& workingDir)
{
    FileArguments result;
    const QDir base(workingDir);
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument.isEmpty() || (!optionsEnded && argument.startsWith(QLatin1Char('-'))))
            continue;
        QString path = argument;
        if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
            const QUrl url(argument);
            if (url.isLocalFile())
                path = url.toLocalFile();
        }
        path = QDir::cleanPath(base.absoluteFilePath(path));
        (QFileInfo::exists(path) ? result.files : result.missing).append(path);
    }
    return result;
}

QString missingFileText(const QString& command, const QString& path)
{
    return QStringLiteral("%1: no such file or folder: %2\n").arg(command, path);
}

QString versionText()
{
    return QStringLiteral("%1 %2\n").arg(QString::fromUtf8(AppIdentity::title),
                                         QString::fromLatin1(AppIdentity::version));
}

bool displayAvailable(int argc, const char* const* argv)
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    for (int i = 1; i < argc; ++i) {
        const QByteArray option(argv[i]);
        if (option == "-platform" || option == "--platform")
            return true;
    }
    return false;
}

QString noDisplayText(const QString& command)
{
    return QStringLiteral("%1: no display to open a window on: neither DISPLAY nor "
                          "WAYLAND_DISPLAY is set\n")
        .arg(command);
}

} // namespace CommandLine
