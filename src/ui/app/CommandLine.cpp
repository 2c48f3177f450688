#include "app/CommandLine.h"

#include "app/InstallationCheck.h"
#include "store/AppIdentity.h"

#include <QByteArray>

namespace CommandLine {

Request request(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray option(argv[i]);
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
    return QStringLiteral("Usage: %1 [option]\n"
                          "%2, a training log for cyclists.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help              print this help and exit\n"
                          "  --version               print the version and exit\n"
                          "  %3    check the installed files without opening a window\n")
        .arg(command, QString::fromUtf8(AppIdentity::title),
             QString::fromLatin1(InstallationCheck::option));
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
