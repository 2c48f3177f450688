#include "RideFileScan.h"

#include <QMutex>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>

namespace {
// The reading keeps a thread per core busy for as long as it runs. The
// shared pool is not for that: Qt's own painting hands work to it and waits,
// and the window would freeze until the last file was read.
QThreadPool& readingPool()
{
    static QThreadPool pool;
    static const bool sized = [] {
        // The walk's thread reads too; one more for a walk of the next scan
        // started while a cancelled one finishes its file.
        pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()) + 1);
        return true;
    }();
    Q_UNUSED(sized);
    return pool;
}
} // namespace

struct RideFileScanner::Run
{
    QStringList roots;
    RideFileLimits limits;
    std::atomic<bool> cancelled{false};

    // Written by the walk before any file is read, then only read.
    QStringList files;
    std::atomic<qsizetype> next{0};

    QMutex mutex;
    // Guarded by the mutex: what the caller's thread has yet to be handed.
    bool walked = false;
    int done = 0;
    QList<ScannedFile> read;

    // The caller's thread alone.
    bool announced = false;

    // The walk runs off the caller's thread too (a device's folders can be
    // slow to list); its thread then reads files with the helpers it starts.
    static void walkAndRead(const std::shared_ptr<Run>& run)
    {
        QStringList found = rideFilesIn(run->roots, &run->cancelled);
        if (run->cancelled)
            return;
        run->files = std::move(found);
        {
            QMutexLocker lock(&run->mutex);
            run->walked = true;
        }
        // Each thread holds one file at a time, so memory stays that of the
        // files being read, however many the folder holds.
        const qsizetype threads =
            std::min<qsizetype>(std::max(1, QThread::idealThreadCount()), run->files.size());
        for (qsizetype i = 1; i < threads; ++i)
            readingPool().start([run] { readFiles(*run); });
        readFiles(*run);
    }

    // Takes the next file until none is left; a file read after a cancel is
    // dropped unseen.
    static void readFiles(Run& run)
    {
        while (!run.cancelled) {
            const qsizetype i = run.next.fetch_add(1);
            if (i >= run.files.size())
                return;
            ScannedFile file = scanRideFile(run.files.at(i), run.limits);
            QMutexLocker lock(&run.mutex);
            if (run.cancelled)
                return;
            run.read.append(std::move(file));
            ++run.done;
        }
    }
};

RideFileScanner::RideFileScanner(QObject* parent) : QObject(parent), m_delivery(new QTimer(this))
{
    m_delivery->setInterval(50);
    connect(m_delivery, &QTimer::timeout, this, &RideFileScanner::deliver);
}

RideFileScanner::~RideFileScanner()
{
    // No finished() from here: whoever listens may be half destroyed.
    if (m_run)
        m_run->cancelled = true;
}

void RideFileScanner::start(const QStringList& filesAndFolders, const RideFileLimits& limits)
{
    cancel();
    // A listener that started a scan on finished(true) is overruled by this
    // call; its reading must not go on unseen.
    if (m_run)
        m_run->cancelled = true;
    auto run = std::make_shared<Run>();
    run->roots = filesAndFolders;
    run->limits = limits;
    m_run = run;
    m_delivery->start();
    readingPool().start([run] { Run::walkAndRead(run); });
}

void RideFileScanner::cancel()
{
    if (!m_run)
        return;
    m_run->cancelled = true;
    m_run.reset();
    m_delivery->stop();
    emit finished(true);
}

bool RideFileScanner::isRunning() const
{
    return m_run != nullptr;
}

void RideFileScanner::deliver()
{
    // A listener may cancel or start another scan from any of these signals:
    // after each, this run goes on only while it is still the current one.
    const std::shared_ptr<Run> run = m_run;
    if (!run)
        return;
    QList<ScannedFile> batch;
    bool walked = false;
    int done = 0;
    {
        QMutexLocker lock(&run->mutex);
        batch.swap(run->read);
        walked = run->walked;
        done = run->done;
    }
    if (!walked)
        return;
    const auto total = int(run->files.size());
    if (!run->announced) {
        run->announced = true;
        emit filesFound(total);
        if (m_run != run)
            return;
    }
    if (!batch.isEmpty()) {
        emit filesRead(batch, done, total);
        if (m_run != run)
            return;
    }
    if (done == total) {
        m_run.reset();
        m_delivery->stop();
        emit finished(false);
    }
}
