#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <utility>

// This test executable started again as a helper process: the environment
// variables given select the helper's mode (each test checks for its own in
// initTestCase()). The helper reports on stdout, one line at a time, each line
// written only once what it reports has happened; the test reads the lines,
// and may kill the helper at any moment.
//
//     ChildProcess child({{"RYDEX_X_CHILD", dir}});
//     QVERIFY(child.waitForLine("READY", 60000));
//     child.kill();
//     const QStringList said = child.lines();
class ChildProcess
{
public:
    using Environment = QList<std::pair<QString, QString>>;

    // Starts the helper; its temporary files go to tmpDir when one is given.
    explicit ChildProcess(const Environment& environment, const QString& tmpDir = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until the helper has reported exactly this line, has ended, or
    // the time is up; true when the line came.
    bool waitForLine(const QString& line, int timeoutMs);
    // Waits for the helper to end by itself; false when the time ran out.
    bool waitForEnd(int timeoutMs);
    // SIGKILL, as a crash or a power cut would end it, then collects what it
    // reported before.
    void kill();

    // Every whole line reported so far; a line cut short by a kill is left out.
    QStringList lines();
    // What the helper wrote to stderr.
    QByteArray errors();
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    int exitCode() const { return m_process.exitCode(); }

private:
    void collect();

    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

// The helper's side: one report line, on its way to the test before the
// function returns.
void reportLine(const QString& line);

// A count a test runs by: the environment variable's value when it is set
// to a positive number, else the default for a run by hand. ctest sets the
// smaller counts meant for CI in tests/CMakeLists.txt.
int countFromEnvironment(const char* name, int byHand);
