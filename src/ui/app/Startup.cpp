#include "app/Startup.h"

#include "app/InstallationCheck.h"
#include "app/TfrmBase.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotManager.h"
#include "polyglot/TfrmLanguage.h"
#include "records/TfrmNewRecord.h"
#include "records/TfrmWork.h"
#include "settings/TfrmNewUser.h"
#include "settings/TfrmSettings.h"
#include "stats/TfrmReport.h"
#include "store/AppIdentity.h"
#include "store/PreferenceStore.h"
#include "store/RydexError.h"
#include "store/TData.h"
#include "toolkit/AppIcon.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/WindowFont.h"

#include <QApplication>

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
    useWindowFont();
    // The main window comes first and becomes the application's main window.
    TfrmBase::Environment env;
    env.preferences = m_preferences;
    env.engineCheck = m_options.engineCheck;
    env.applicationDir = m_options.applicationDir;
    m_main = std::make_unique<TfrmBase>(std::move(env));

    // The data module, which the record dialog's controls are bound to.
    m_data = new TData(m_options.storePath, m_main.get());
    m_main->setDataModule(m_data);
    if (m_engine && !m_engine->creationError().isEmpty())
        DialogPresenter::current().showError(m_engine->creationError());
    if (m_main->enginePresent()) {
        try {
            m_data->open();
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

    // Then the other long-lived windows, in this order, once the main window
    // is on the screen; each is owned by the main window, is translated and
    // themed as it is made and lives until the end of the run.
    TfrmBase* main = m_main.get();
    TData* data = m_data;
    m_main->setWindowMaker([main, data] {
        main->setProgressWindow(createProgressWindow(main));
        main->setReportForm(createReportForm(main));
        main->setNewUserDialog(createNewUserDialog(main));
        main->setSettingsDialog(createSettingsDialog(main));
        main->setRecordDialog(createRecordDialog(main));
        bindRecordDialog(main->recordDialog(), data->source());
    });
}

Startup::~Startup() = default;

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
    // The check needs no display and no window, and creates no file.
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], InstallationCheck::option) == 0) {
            QCoreApplication app(argc, argv);
            AppIdentity::apply();
            return InstallationCheck::report(QCoreApplication::applicationDirPath());
        }
    }
    QApplication app(argc, argv);
    prepareApplication();
    Startup startup;
    startup.show();
    if (startup.terminated())
        return 0;
    return app.exec();
}
