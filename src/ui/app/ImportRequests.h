#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class TfrmBase;

// Ride files to be opened in the import preview, from the command line or
// handed over by copies started later. They wait while the program cannot
// take them (no main window shown yet, a modal dialog or a menu open) and
// are never lost meanwhile: files that came while waiting are opened
// together, in the order they came; files that come while the import window
// is open join it. Nobody signed in: the user is asked to
// sign in first; if he does not, the files are dropped and nothing changes.
class ImportRequests : public QObject
{
    Q_OBJECT

public:
    using Opener = std::function<void(TfrmBase& window, const QStringList& files)>;

    explicit ImportRequests(QObject* parent = nullptr);

    // The main window, once it exists; files wait until it is shown.
    void setWindow(TfrmBase* window);
    // What opens the preview; the import command unless replaced.
    void setOpener(Opener opener) { m_open = std::move(opener); }
    // Files not opened yet.
    QStringList waiting() const { return m_waiting; }

public slots:
    void add(const QStringList& files);

private:
    static bool importWindowOnTop();
    // Whether the window cannot take files now and they must wait.
    bool windowBusy() const;
    void deliver();

    QPointer<TfrmBase> m_window;
    QStringList m_waiting;
    QTimer m_retry;
    bool m_delivering = false;
    Opener m_open;
};
