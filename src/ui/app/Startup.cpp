#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/ImportRequests.h"
#include "app/InstallationCheck.h"
#include "app/RunningCopy.h"
#include "app/TfrmBase.h"
#include "base/AppIdentity.h"
#include "base/Clock.h"
#include "base/RydexError.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotManager.h"
#include "polyglot/TfrmLanguage.h"
#include "prefs/PreferenceStore.h"
#include "records/TfrmNewRecord.h"
#include "records/TfrmWork.h"
#include "settings/StoreChoice.h"
#include "settings/TfrmNewUser.h"
#include "settings/TfrmSettings.h"
#include "stats/TfrmReport.h"
#include "store/ADOConnection.h"
#include "store/TData.h"
#include "toolkit/AppIcon.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/HeldErrors.h"
#include "toolkit/RunReported.h"
#include "toolkit/WindowFont.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {
// The language the user chose, read without creating or changing anything:
// the preference file is checked only when the main window is made.
QString storedLanguage(PreferenceStore& preferences)
{
    const QString english = QStringLiteral("english");
    try {
        return preferences.openKey(PreferenceStore::programKeyPath(), false)
            .readText(QStringLiteral("lng"), english);
    } catch (const RydexError&) {
        return english;
    }
}

// The store chosen for the installation, read as the language is.
StoreLocation storedChoice(PreferenceStore& preferences, const QString& filePath)
{
    try {
        return StoreChoice::read(preferences.openKey(PreferenceStore::programKeyPath(), false),
                                 filePath);
    } catch (const RydexError&) {
        return StoreLocation::file(filePath);
    }
}
} // namespace

Startup::Options Startup::defaultOptions()
{
    Options o;
    o.storePath = AppIdentity::storePath();
    o.preferencePath = AppIdentity::preferencePath();
    o.applicationDir = QCoreApplication::applicationDirPath();
    return o;
}

void Startup::prepareApplication()
{
    // No application display name: Qt would append it to every window title,
    // and each window's title is its own caption alone.
    AppIdentity::apply();
    // The desktop entry's name ties the windows to the entry and its icon
    // (Wayland's app id); the icon stands in the task list and title bars.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppIdentity::desktopId));
    QApplication::setWindowIcon(AppIcon::icon());
}

Startup::Startup(Options options)
    : m_options(std::move(options)),
      m_engine(GetCorePolyglot() ? nullptr : std::make_unique<TbsCorePolyglot>()),
      m_preferences(std::make_shared<PreferenceStore>(m_options.preferencePath))
{
    // What goes wrong while the windows are made is shown once they are
    // whole: a box's event loop would otherwise reach half-made windows.
    const HeldErrors heldUntilWhole;
    // The problems met from here on read in the user's language, although
    // the windows take it only when the main window is first shown.
    if (TbsCorePolyglot* engine = GetCorePolyglot())
        engine->setMessageLanguage(languageDirectory(), storedLanguage(*m_preferences));
    useWindowFont();

    // The main window comes first and becomes the application's main window.
    TfrmBase::Environment env;
    env.preferences = m_preferences;
    env.engineCheck = m_options.engineCheck;
    env.applicationDir = m_options.applicationDir;
    env.store = storedChoice(*m_preferences, m_options.storePath);
    env.filePath = m_options.storePath;
    const StoreLocation store = env.store;
    m_main = std::make_unique<TfrmBase>(std::move(env));

    // The data module, which the record dialog's controls are bound to.
    m_data = new TData(store, m_main.get());
    m_main->setDataModule(m_data);

    // Then the other long-lived windows, in this order, once the main window
    // is on the screen; each is owned by the main window, is themed as it is
    // made, is translated as if it had been made here, before the language
    // dialog, and lives until the end of the run.
    TfrmBase* main = m_main.get();
    TData* data = m_data;
    m_main->setWindowMaker([main, data] {
        main->setProgressWindow(createProgressWindow(main));
        main->setReportForm(createReportForm(main));
        main->setNewUserDialog(createNewUserDialog(main));
        main->setSettingsDialog(createSettingsDialog(main));
        main->setRecordDialog(createRecordDialog(main));
        bindRecordDialog(main->recordDialog(), data->source());
        // The check of the store's pages ran while the window was made.
        runReported([data] { data->connection()->requireSoundPages(); });
    });

    if (m_engine && !m_engine->creationError().isEmpty())
        DialogPresenter::current().showError(m_engine->creationError());
    if (m_main->enginePresent()) {
        try {
            m_main->openStore();
            m_main->reportStoreNotices();
        } catch (const RydexError& e) {
            // The program goes on with the store closed; sign-in reports it again.
            DialogPresenter::current().showError(e.text());
        }
    }
    // The language dialog: it points the engine at the languages beside the
    // program, and the first one listed becomes current until the main
    // window's first showing picks the stored one.
    m_main->setLanguageDialog(
        createLanguageDialog(m_main.get(), m_main->LanguageManager, m_options.applicationDir));
}

Startup::~Startup()
{
    if (TbsCorePolyglot* engine = GetCorePolyglot())
        engine->endMessageLanguage();
}

QString Startup::languageDirectory() const
{
    return QDir(m_options.applicationDir).filePath(QStringLiteral("lng"));
}

void Startup::show()
{
    m_main->show();
}

bool Startup::terminated() const
{
    return m_main->terminated();
}

int Startup::run(int argc, char** argv)
{
    // What needs no display is answered without one, and creates no file.
    const QString command = QFileInfo(QFile::decodeName(argv[0])).fileName();
    QTextStream out(stdout);
    switch (CommandLine::request(argc, argv)) {
    case CommandLine::Request::Help:
        out << CommandLine::helpText(command);
        return 0;
    case CommandLine::Request::Version:
        out << CommandLine::versionText();
        return 0;
    case CommandLine::Request::CheckInstallation: {
        QCoreApplication app(argc, argv);
        AppIdentity::apply();
        return InstallationCheck::report(QCoreApplication::applicationDirPath());
    }
    case CommandLine::Request::Run:
        break;
    }
    if (!CommandLine::displayAvailable(argc, argv)) {
        QTextStream(stderr) << CommandLine::noDisplayText(command);
        return 1;
    }
    Clock::settleTimeZone();
    QApplication app(argc, argv);
    // Qt took its own options out of the arguments by now.
    const CommandLine::FileArguments given =
        CommandLine::fileArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());
    for (const QString& path : given.missing)
        QTextStream(stderr) << CommandLine::missingFileText(command, path);
    if (given.files.isEmpty() && !given.missing.isEmpty())
        return 1;
    prepareApplication();
    const Options options = defaultOptions();
    // Files that arrive while the windows are being made wait for them.
    ImportRequests imports;
    RunningCopy copy(RunningCopy::addressFor(options.storePath));
    QObject::connect(&copy, &RunningCopy::filesArrived, &imports, &ImportRequests::add);
    if (copy.start(given.files) == RunningCopy::Start::HandedOver)
        return 0;
    imports.add(given.files);
    Startup startup(options);
    imports.setWindow(startup.mainWindow());
    startup.show();
    if (startup.terminated())
        return 0;
    return app.exec();
}
