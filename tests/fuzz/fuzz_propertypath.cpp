// The property-path walk of a language file's entries over the program's
// real windows, built once: each input is a window's section, lines of
// "path=value", applied one after another. No entry may crash, hang or
// leak; one that names nothing only changes nothing.

#include "FuzzSupport.h"

#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "app/TfrmInfo.h"
#include "polyglot/PropertyPath.h"
#include "toolkit/DialogPresenter.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

namespace {
// Answers every dialog at once: nothing here may wait for a user.
class Answering : public DialogPresenter
{
public:
    bool showMessage(MessageDialog&) override { return true; }
    void showError(const QString&) override {}
    int execModal(QDialog&) override { return QDialog::Rejected; }
};

// Qt's warnings about odd values are expected; its fatal errors are not.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

struct Program
{
    QTemporaryDir folder;
    std::unique_ptr<QApplication> app;
    std::unique_ptr<Startup> startup;
    std::unique_ptr<TfrmInfo> about;
    std::vector<QObject*> windows;
};

Program* program = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    program = new Program;
    // The program's files lie in a folder of their own, never the user's.
    const QString base = program->folder.path();
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, base.toLocal8Bit());
    program->app = std::make_unique<QApplication>(*argc, *argv);
    Startup::prepareApplication();
    DialogPresenter::install(std::make_unique<Answering>());
    Startup::Options options;
    options.storePath = base + QStringLiteral("/Rydex.dat");
    options.preferencePath = base + QStringLiteral("/Rydex 2005.conf");
    options.applicationDir = base;
    options.engineCheck = [] { return true; };
    program->startup = std::make_unique<Startup>(options);
    program->startup->show();
    TfrmBase* main = program->startup->mainWindow();
    program->about = std::make_unique<TfrmInfo>(main);
    // The windows a language file translates: those with a translator.
    program->windows.push_back(main);
    for (QObject* child : main->children()) {
        if (child->findChild<QObject*>(QStringLiteral("bsPolyglotTranslator"),
                                       Qt::FindDirectChildrenOnly))
            program->windows.push_back(child);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    QObject* window = program->windows[input.byte() % program->windows.size()];
    const QLocale locale = Fuzz::locale(input.byte());
    const PropertyPath::ValueContext context{WindowsCodePage::forLocale(locale), locale};
    const QString section = QString::fromUtf8(input.rest());
    for (const QStringView line : QStringView(section).split(u'\n')) {
        const qsizetype separator = line.indexOf(u'=');
        if (separator < 0)
            continue;
        const QString key = line.first(separator).trimmed().toString();
        const QString value = line.sliced(separator + 1).trimmed().toString();
        Fuzz::acceptingRydexError([&] { PropertyPath::apply(window, key, value, context); });
    }
    // A window may be made millions of pixels wide, as the program allows;
    // painting it would take more memory than the fuzzer grants a process.
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        if (topLevel->width() > 4000 || topLevel->height() > 4000)
            topLevel->resize(std::min(topLevel->width(), 4000), std::min(topLevel->height(), 4000));
    }
    // What the changes set going (layouts, deferred deletes) runs now, so
    // that it is part of this input and nothing piles up across inputs.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
