#include "ChildProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <cstdio>

ChildProcess::ChildProcess(const Environment& environment, const QString& tmpDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
        env.insert(name, value);
    if (!tmpDir.isEmpty())
        env.insert(QStringLiteral("TMPDIR"), tmpDir);
    m_process.setProcessEnvironment(env);
    m_process.start(QCoreApplication::applicationFilePath(), {});
}

ChildProcess::~ChildProcess()
{
    if (m_process.state() != QProcess::NotRunning)
        kill();
}

void ChildProcess::collect()
{
    m_out += m_process.readAllStandardOutput();
    m_err += m_process.readAllStandardError();
}

bool ChildProcess::waitForLine(const QString& line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        collect();
        if (lines().contains(line))
            return true;
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(50);
    }
}

bool ChildProcess::waitForEnd(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        m_process.waitForFinished(50);
        collect();
    }
    collect();
    return m_process.state() == QProcess::NotRunning;
}

void ChildProcess::kill()
{
    m_process.kill();
    m_process.waitForFinished(30000);
    collect();
}

QStringList ChildProcess::lines()
{
    collect();
    const qsizetype end = m_out.lastIndexOf('\n');
    if (end < 0)
        return {};
    return QString::fromUtf8(m_out.left(end)).split(QLatin1Char('\n'));
}

QByteArray ChildProcess::errors()
{
    collect();
    return m_err;
}

void reportLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

int countFromEnvironment(const char* name, int byHand)
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue(name, &ok);
    return ok && n > 0 ? n : byHand;
}
