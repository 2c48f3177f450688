#include "TestMain.h"

#include "store/AppIdentity.h"
#include "store/Clock.h"

#include <QDir>
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
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
