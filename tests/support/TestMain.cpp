#include "TestMain.h"

#include "base/AppIdentity.h"
#include "base/Clock.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir>& tempRoot()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
} // namespace

void TestEnv::prepare()
{
    tempRoot() =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/rydex-test-XXXXXX"));
    const QString base = tempRoot()->path();
    const char* dirs[][2] = {{"HOME", "/home"},
                             {"XDG_CONFIG_HOME", "/config"},
                             {"XDG_DATA_HOME", "/data"},
                             {"XDG_CACHE_HOME", "/cache"},
                             {"XDG_RUNTIME_DIR", "/runtime"}};
    for (const auto& d : dirs) {
        const QString path = base + QString::fromLatin1(d[1]);
        QDir().mkpath(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
        qputenv(d[0], path.toLocal8Bit());
    }
    QDir().mkpath(base + QStringLiteral("/work"));
    QDir::setCurrent(base + QStringLiteral("/work"));
    // A screen of a common desktop, 1280 by 1024 at 96 dots to the inch,
    // rather than whatever the headless platform takes by default.
    const QString screen = base + QStringLiteral("/screen.json");
    QFile config(screen);
    if (config.open(QIODevice::WriteOnly))
        config.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1280,
                         "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.toLocal8Bit());
    qputenv("LANG", "C.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_NUMERIC");
    Clock::setFixedToday(today());
}

void TestEnv::afterApplication()
{
    AppIdentity::apply();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

QString TestEnv::root()
{
    return tempRoot() ? tempRoot()->path() : QString();
}

QDate TestEnv::today()
{
    return QDate(2005, 3, 15);
}
