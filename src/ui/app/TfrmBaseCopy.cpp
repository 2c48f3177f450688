// Copying this computer's rides onto a club's server, from the Database
// window.
#include "app/TfrmBase.h"

#include "app/StoreOpening.h"
#include "base/MessageCatalogue.h"
#include "import/LogCopy.h"
#include "records/TfrmWork.h"
#include "store/ADOConnection.h"

#include <QElapsedTimer>
#include <QLocale>

namespace {
// A copy that takes longer than this shows the progress window.
constexpr qint64 longCopy = 300;
} // namespace

QString TfrmBase::copyRides(const StoreLocation& server)
{
    ADOConnection from(StoreLocation::file(m_env.filePath));
    ADOConnection to(server);
    m_opening->askBeforeCreating(to);
    from.open();
    m_opening->open(to);
    TfrmWork* work = progressWindow();
    bool shown = false;
    QElapsedTimer started;
    started.start();
    const auto progress = [&](int done, int total) {
        if (!shown && work && started.elapsed() > longCopy) {
            work->showWorking();
            shown = true;
        }
        if (shown) {
            work->Progress->setMaximum(total);
            work->Progress->setPosition(done);
        }
        return true;
    };
    LogCopyResult result;
    try {
        result = copyLog(from, to, progress);
    } catch (...) {
        if (shown)
            work->hideWorking();
        throw;
    }
    if (shown)
        work->hideWorking();
    return Msg::format(Msg::DatabaseCopyDone, {QLocale().toString(result.copied),
                                               QLocale().toString(result.alreadyThere)});
}
