#include "app/ImportRequests.h"

#include "app/SignInPrompt.h"
#include "app/TfrmBase.h"
#include "records/TfrmImport.h"
#include "toolkit/RunReported.h"

#include <QApplication>

namespace {
// The import command of the main window.
void openPreview(TfrmBase& window, const QStringList& files)
{
    window.importFiles(files);
}

// Brings the main window to the front, out of the task bar if need be.
void bringUp(TfrmBase& window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}
} // namespace

ImportRequests::ImportRequests(QObject* parent) : QObject(parent), m_open(openPreview)
{
    // A modal dialog or a menu closes without telling anyone: look again a
    // few times a second while files wait.
    m_retry.setInterval(250);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &ImportRequests::deliver);
}

void ImportRequests::setWindow(TfrmBase* window)
{
    m_window = window;
    if (!m_waiting.isEmpty())
        m_retry.start(0);
}

void ImportRequests::add(const QStringList& files)
{
    if (files.isEmpty())
        return;
    m_waiting += files;
    // Never from inside the hand-over itself: the copy that handed the files
    // over waits for its answer meanwhile.
    m_retry.start(0);
}

bool ImportRequests::importWindowOnTop()
{
    return qobject_cast<TfrmImport*>(QApplication::activeModalWidget()) != nullptr;
}

bool ImportRequests::windowBusy() const
{
    if (!m_window || !m_window->isVisible() || m_window->terminated() ||
        QApplication::activePopupWidget() != nullptr)
        return true;
    // The import window takes more files while it is open; any other modal
    // dialog holds them back, and so does a delivery still asking who signs in.
    if (importWindowOnTop())
        return false;
    return m_delivering || QApplication::activeModalWidget() != nullptr;
}

void ImportRequests::deliver()
{
    if (m_waiting.isEmpty())
        return;
    if (windowBusy()) {
        m_retry.start();
        return;
    }
    const bool wasDelivering = std::exchange(m_delivering, true);
    const QStringList files = std::exchange(m_waiting, {});
    TfrmBase& window = *m_window;
    runReported([&] {
        bringUp(window);
        if (window.signedIn() || askToSignIn(window))
            m_open(window, files);
    });
    m_delivering = wasDelivering;
    // Files that came while the preview was open wait for their turn.
    if (!m_waiting.isEmpty())
        m_retry.start();
}
