#include "app/InstallationCheck.h"

#include "base/AppIdentity.h"
#include "base/RydexError.h"
#include "polyglot/LanguageDirectory.h"
#include "polyglot/TbsINIFile.h"
#include "store/StoreEngine.h"
#include "store/StoreLocation.h"
#include "theme/ThemeFile.h"
#include "toolkit/AppIcon.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace {
void checkLanguages(const QString& applicationDir, InstallationCheck& check)
{
    const QString directory = QDir(applicationDir).filePath(QStringLiteral("lng"));
    QStringList names;
    for (const QString& language : LanguageDirectory::languages(directory)) {
        const std::optional<QString> path = LanguageDirectory::languageFile(directory, language);
        try {
            if (!path)
                check.problems
                    << QStringLiteral("%1.lng in %2 is no file").arg(language, directory);
            else if (TbsINIFile(*path).sectionNames().isEmpty())
                check.problems << QStringLiteral("language file %1 has no section").arg(*path);
            else
                names << language;
        } catch (const RydexError& e) {
            check.problems << e.text();
        }
    }
    check.found << QStringLiteral("languages in %1: %2")
                       .arg(QDir::toNativeSeparators(directory),
                            names.isEmpty() ? QStringLiteral("none") : names.join(u", "));
    // A first start comes up in English.
    if (!LanguageDirectory::languageFile(directory, QStringLiteral("english")))
        check.problems << QStringLiteral("english.lng is missing from %1").arg(directory);
}

void checkThemes(const QString& applicationDir, InstallationCheck& check)
{
    const QDir dir(applicationDir);
    const QStringList themes =
        dir.entryList({QStringLiteral("*.sui")}, QDir::Files | QDir::Readable, QDir::Name);
    QStringList usable;
    for (const QString& name : themes) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            check.problems << QStringLiteral("theme %1 cannot be read").arg(file.fileName());
            continue;
        }
        const ThemeFile::Sheet sheet = ThemeFile::read(file.read(ThemeFile::maxFileSize + 1));
        if (sheet.problem.isEmpty())
            usable << name;
        else
            check.problems << QStringLiteral("theme %1 is no usable style sheet: %2")
                                  .arg(file.fileName(), sheet.problem);
    }
    check.found << QStringLiteral("themes: %1")
                       .arg(usable.isEmpty() ? QStringLiteral("none") : usable.join(u", "));
    const QString defaultTheme = QString::fromLatin1(ThemeFile::defaultFileName);
    if (!themes.contains(defaultTheme))
        check.problems << QStringLiteral("the default theme %1 is missing from %2")
                              .arg(defaultTheme, applicationDir);
}
} // namespace

InstallationCheck InstallationCheck::run(const QString& applicationDir)
{
    InstallationCheck check;
    check.found << QStringLiteral("%1 %2 in %3")
                       .arg(QLatin1String(AppIdentity::title), QLatin1String(AppIdentity::version),
                            QDir::toNativeSeparators(applicationDir));
    const StoreEngine& engine = StoreEngine::standard();
    if (engine.present())
        check.found << QStringLiteral("database driver: %1").arg(engine.driverName());
    else
        check.problems
            << QStringLiteral("Qt's database driver %1 is not installed").arg(engine.driverName());
    // Needed only for a club's store on a server: its absence is no fault of
    // an installation that keeps the rides in the file.
    const StoreEngine& server = StoreEngine::forLocation(StoreLocation::server(QString()));
    check.found << (server.present()
                        ? QStringLiteral("database driver for a store on a server: %1")
                              .arg(server.driverName())
                        : QStringLiteral("database driver for a store on a server: none (%1 comes "
                                         "with Debian's libqt6sql6-psql)")
                              .arg(server.driverName()));
    checkLanguages(applicationDir, check);
    checkThemes(applicationDir, check);
    if (AppIcon::render(AppIcon::themeSizes.back()).isNull())
        check.problems << QStringLiteral("the icon cannot be drawn");
    else
        check.found << QStringLiteral("icon: %1").arg(QLatin1String(AppIdentity::desktopId));
    return check;
}

int InstallationCheck::report(const QString& applicationDir)
{
    const InstallationCheck check = run(applicationDir);
    QTextStream out(stdout);
    for (const QString& line : check.found)
        out << line << '\n';
    out.flush();
    QTextStream err(stderr);
    for (const QString& line : check.problems)
        err << "missing: " << line << '\n';
    if (check.complete())
        out << "installation complete" << Qt::endl;
    return check.complete() ? 0 : 1;
}
