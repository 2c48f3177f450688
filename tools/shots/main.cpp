// Renders every window of the program to PNG files, offscreen, on sample
// data made for the purpose in a temporary folder: rydex-shots OUTPUT_DIR
#include "SampleData.h"

#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "app/TfrmInfo.h"
#include "records/TfrmWork.h"
#include "settings/TfrmSettings.h"
#include "store/Clock.h"
#include "store/RydexError.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageBoxWindow.h"
#include "toolkit/ScriptedPresenter.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {
bool save(QWidget* w, const QString& dir, const QString& name)
{
    w->repaint();
    QApplication::processEvents();
    const QString file = QDir(dir).filePath(name + QStringLiteral(".png"));
    const bool ok = w->grab().save(file);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << file << Qt::endl;
    return ok;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Startup::prepareApplication();
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: rydex-shots OUTPUT_DIR" << Qt::endl;
        return 2;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);
    QTemporaryDir work;
    // A fixed day, so the pictures show the same month every time.
    Clock::setFixedToday(QDate(2005, 5, 20));

    Startup::Options options;
    options.storePath = work.filePath(QStringLiteral("Rydex.dat"));
    options.preferencePath = work.filePath(QStringLiteral("Rydex 2005.conf"));
    options.applicationDir = QCoreApplication::applicationDirPath();
    try {
        SampleOptions sample;
        sample.storePath = options.storePath;
        sample.preferencePath = options.preferencePath;
        sample.cyclists = 3;
        sample.years = 2;
        sample.ridesPerYear = 150;
        sample.firstYear = 2004;
        generateSample(sample);
    } catch (const RydexError& e) {
        QTextStream(stderr) << e.text() << Qt::endl;
        return 1;
    }

    // Modal windows are rendered by the presenter instead of being run.
    auto presenter = std::make_unique<ScriptedPresenter>();
    ScriptedPresenter* script = presenter.get();
    DialogPresenter::install(std::move(presenter));
    int failures = 0;
    script->setModalHandler([&](QDialog& dialog) {
        dialog.show();
        const QString name = QString::fromLatin1(dialog.metaObject()->className());
        if (auto* settings = qobject_cast<TfrmSettings*>(&dialog)) {
            // Every page of the settings.
            for (int page = 0; page < settings->Pages->count(); ++page) {
                settings->Pages->setCurrentIndex(page);
                failures += save(&dialog, out, name + QStringLiteral("-page%1").arg(page)) ? 0 : 1;
            }
        } else {
            failures += save(&dialog, out, name) ? 0 : 1;
        }
        dialog.hide();
        return int(QDialog::Rejected);
    });

    Startup startup(options);
    startup.show();
    TfrmBase* w = startup.mainWindow();
    failures += save(w, out, QStringLiteral("TfrmBase-welcome")) ? 0 : 1;
    if (auto* first = w->findChild<MenuItem*>(QStringLiteral("menu0"))) {
        first->trigger();
        failures += save(w, out, QStringLiteral("TfrmBase-month")) ? 0 : 1;
        for (int chart = 0; chart < 4; ++chart) {
            w->Grafy->setTabIndex(chart);
            failures += save(w, out, QStringLiteral("TfrmBase-chart%1").arg(chart)) ? 0 : 1;
        }
        w->resize(270, 300);
        failures += save(w, out, QStringLiteral("TfrmBase-narrow")) ? 0 : 1;
        w->resize(994, 720);
        // The dialogs of a signed-in cyclist.
        w->EditRecord();
        w->EditODO();
        w->mnuOptionsClick();
        if (TfrmWork* work = w->progressWindow()) {
            work->showWorking();
            work->Progress->setMaximum(400);
            work->Progress->setPosition(170);
            failures += save(work, out, QStringLiteral("TfrmWork")) ? 0 : 1;
            work->hideWorking();
        }
    }
    w->openNewCyclistDialog();
    w->mnuAboutClick();
    {
        MessageBoxWindow box(
            QStringLiteral("Potvrzení"), QStringLiteral("Opravdu chcete záznam smazat?"),
            MessageDialog::Warning, {QStringLiteral("OK"), QStringLiteral("Cancel")});
        box.show();
        failures += save(&box, out, QStringLiteral("MessageDialog")) ? 0 : 1;
        box.hide();
    }
    for (const auto& raised : script->raised()) {
        if (raised.kind != QStringLiteral("modal"))
            QTextStream(stderr) << "raised " << raised.kind << ": " << raised.text << Qt::endl;
    }
    return failures == 0 ? 0 : 1;
}
