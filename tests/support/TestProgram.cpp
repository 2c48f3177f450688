#include "TestProgram.h"

#include "TestMain.h"

#include "app/TfrmBase.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "store/TData.h"
#include "toolkit/MenuItem.h"

#include <QDir>
#include <QFile>
#include <QMenu>

namespace {
QString freshFolder()
{
    static int n = 0;
    const QString folder = TestEnv::root() + QStringLiteral("/program%1").arg(++n);
    QDir().mkpath(folder);
    return folder;
}
} // namespace

TestProgram::TestProgram(const QString& folder)
    : m_folder(folder.isEmpty() ? freshFolder() : folder)
{
    m_options.storePath = m_folder + QStringLiteral("/data/Rydex.dat");
    m_options.preferencePath = m_folder + QStringLiteral("/config/Rydex 2005.conf");
    m_options.applicationDir = m_folder;
    m_options.engineCheck = [] { return true; };
}

TestProgram::~TestProgram() = default;

PreferenceKey TestProgram::addCyclist(const QString& name,
                                      const QList<std::pair<QString, QString>>& values)
{
    PreferenceKey key = PreferenceStore(m_options.preferencePath)
                            .openKey(PreferenceStore::cyclistsKeyPath())
                            .subkey(name);
    for (const auto& [valueName, text] : values)
        key.writeText(valueName, text);
    return key;
}

void TestProgram::addRides(const QList<TestRide>& rides)
{
    if (rides.isEmpty())
        return;
    TData data(m_options.storePath);
    data.open();
    for (const TestRide& ride : rides)
        addTestRide(*data.table(), ride);
}

TfrmBase* TestProgram::start(bool engineInstalled, OtherWindows others)
{
    m_options.engineCheck = [engineInstalled] { return engineInstalled; };
    m_startup = std::make_unique<Startup>(m_options);
    m_startup->show();
    if (others == OtherWindows::Now && !m_startup->terminated())
        window()->ensureWindows();
    return window();
}

void TestProgram::signIn(const QString& name)
{
    const QList<QAction*> items = window()->mnuLogin->submenu()->actions();
    for (QAction* item : items) {
        if (name.isEmpty() || item->text() == name) {
            item->trigger();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no cyclist \"%1\" in the sign-in menu").arg(name)));
}

TfrmBase* TestProgram::window() const
{
    return m_startup ? m_startup->mainWindow() : nullptr;
}

TData* TestProgram::data() const
{
    return m_startup ? m_startup->data() : nullptr;
}

ADOTable* TestProgram::table() const
{
    return m_startup ? m_startup->data()->table() : nullptr;
}

QStringList TestProgram::loginMenu() const
{
    QStringList out;
    for (QAction* item : window()->mnuLogin->submenu()->actions())
        out << item->objectName() + QLatin1Char('=') + item->text();
    return out;
}

PreferenceKey TestProgram::cyclistsKey() const
{
    return PreferenceStore(m_options.preferencePath)
        .openKey(PreferenceStore::cyclistsKeyPath(), false);
}

PreferenceKey TestProgram::cyclistKey(const QString& name) const
{
    return cyclistsKey().subkey(name, false);
}

QByteArray TestProgram::preferenceBytes() const
{
    QFile file(m_options.preferencePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<RideRow> TestProgram::stored(const QString& user) const
{
    TData other(m_options.storePath);
    other.table()->setFilter(RideFilter::cyclist(user));
    other.open();
    return other.table()->rows().toList();
}
