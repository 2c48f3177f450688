#pragma once

#include <QString>
#include <QStringList>

// Whether the program finds beside itself what it needs: the database
// driver, the language files (English among them, the language of a first
// start), the default theme and its icon. A packager or a test runs
// "rydex --check-installation" to ask without starting a window; the check
// only reads and creates no file, not even the preferences.
struct InstallationCheck
{
    QStringList found;
    QStringList problems;
    bool complete() const { return problems.isEmpty(); }

    static InstallationCheck run(const QString& applicationDir);
    // The command-line option that asks for the check.
    static constexpr const char* option = "--check-installation";
    // Prints the check's lines and returns the program's exit code.
    static int report(const QString& applicationDir);
};
