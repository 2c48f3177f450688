// Writes the program's own texts as a language file: every window's
// captions, hints, messages, lists and column titles, and every message text
// of the catalogue. The template of a translation, from which the program's
// Czech language file was written: rydex-lngdump OUTPUT.lng. The record
// dialog's lists come out as the texts shown for the stored items, which a
// translation replaces while the rides keep the stored ones.
#include "OffscreenTool.h"
#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "app/TfrmInfo.h"
#include "base/MessageCatalogue.h"
#include "polyglot/TranslatableTexts.h"
#include "records/TfrmEditODO.h"
#include "store/TData.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/ScriptedPresenter.h"

#include <QApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
QByteArray section(QObject* window)
{
    QByteArray out = "[" + QByteArray(window->metaObject()->className()) + "]\r\n";
    for (const TranslatableTexts::Entry& e : TranslatableTexts::collect(window))
        out += (e.key + u'=' + e.value).toUtf8() + "\r\n";
    return out + "\r\n";
}
} // namespace

int main(int argc, char** argv)
{
    const OffscreenTool tool(argc, argv, "rydex-lngdump OUTPUT.lng");
    if (tool.output().isEmpty())
        return 2;
    // A program of its own, with no language files beside it, so that every
    // window shows the texts it is defined with.
    QTemporaryDir work;
    Startup::Options options;
    options.storePath = work.filePath(QStringLiteral("Rydex.dat"));
    options.preferencePath = work.filePath(QStringLiteral("Rydex 2005.conf"));
    options.applicationDir = work.path();
    DialogPresenter::install(std::make_unique<ScriptedPresenter>());
    Startup startup(options);
    TfrmBase* w = startup.mainWindow();
    // Every window, also those the program makes once the main one is painted.
    w->ensureWindows();

    QByteArray out =
        "; The texts of Rydex 2005, one section per window and the message texts\r\n"
        "; by number. Written by rydex-lngdump; copy it to start a translation.\r\n\r\n";
    for (QObject* window : w->children()) {
        // The translated windows; the popup menus are parts of the main one.
        const bool translated = window->findChild<QObject*>(QStringLiteral("bsPolyglotTranslator"),
                                                            Qt::FindDirectChildrenOnly);
        if (!translated)
            continue;
        out += section(window);
    }
    out = out.insert(out.indexOf("\r\n\r\n") + 4, section(w));
    TfrmInfo about(w);
    out += section(&about);
    TfrmEditODO odo(
        startup.data()->table(), [] {}, w);
    out += section(&odo);

    out += "[ResourceStrings]\r\n";
    for (int id : Msg::ids())
        out += (QString::number(id) + u'=' + TranslatableTexts::encodeTextLiteral(Msg::builtIn(id)))
                   .toUtf8() +
               "\r\n";

    QSaveFile file(tool.output());
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        QTextStream(stderr) << file.errorString() << Qt::endl;
        return 1;
    }
    return 0;
}
