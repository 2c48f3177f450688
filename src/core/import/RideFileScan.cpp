#include "RideFileScan.h"

#include "RideFileReader.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QSet>

bool isRideFileName(const QString& name)
{
    QStringView rest(name);
    if (rest.endsWith(u".gz", Qt::CaseInsensitive))
        rest.chop(3);
    return rest.endsWith(u".fit", Qt::CaseInsensitive) ||
           rest.endsWith(u".gpx", Qt::CaseInsensitive) ||
           rest.endsWith(u".tcx", Qt::CaseInsensitive);
}

QStringList rideFilesIn(const QStringList& filesAndFolders, const std::atomic<bool>* cancelled)
{
    const auto stopped = [cancelled] {
        return cancelled && cancelled->load(std::memory_order_relaxed);
    };
    // Keyed by the file a path leads to, so that a file reached through a
    // link as well is read once; the shortest path that leads there is kept.
    QMap<QString, QString> files;
    const auto add = [&files](const QFileInfo& info) {
        const QString path = info.absoluteFilePath();
        QString target = info.canonicalFilePath();
        if (target.isEmpty())
            target = path; // missing: its reading says why
        auto it = files.find(target);
        if (it == files.end())
            files.insert(target, path);
        else if (path < *it)
            *it = path;
    };
    QStringList folders;
    for (const QString& entry : filesAndFolders) {
        const QFileInfo info(entry);
        if (info.isDir())
            folders << info.absoluteFilePath();
        else
            add(info);
    }
    // Links to folders are followed (a season may be linked in from
    // elsewhere), but each real folder is walked once, so that a link back
    // to a folder above cannot make the walk endless. Hidden entries are left
    // out: a memory card's trash holds the rides the user deleted.
    QSet<QString> walked;
    while (!folders.isEmpty() && !stopped()) {
        const QString folder = folders.takeLast();
        const QString real = QFileInfo(folder).canonicalFilePath();
        if (real.isEmpty() || walked.contains(real))
            continue;
        walked.insert(real);
        QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext() && !stopped()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (info.isDir())
                folders << info.absoluteFilePath();
            else if (isRideFileName(info.fileName()))
                add(info);
        }
    }
    QStringList paths = files.values();
    paths.sort();
    return paths;
}

ScannedFile scanRideFile(const QString& path, const RideFileLimits& limits)
{
    ScannedFile scanned;
    scanned.path = path;
    // One read serves both the hash and the decoding: a season of files is
    // read from a slow memory card only once.
    const RideFileBytes file = readRideFileBytes(path, limits);
    if (file.problem != RideProblem::None) {
        scanned.contents.problem = file.problem;
        scanned.contents.detail = file.detail;
        return scanned;
    }
    scanned.sha256 = QCryptographicHash::hash(file.bytes, QCryptographicHash::Sha256);
    scanned.contents = readRideFileContent(path, file.bytes);
    return scanned;
}
