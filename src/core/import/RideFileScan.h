#pragma once

#include "ImportedRide.h"
#include "RideFileBytes.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QTimer;

// Whether a file's name is that of a ride file the import reads: .fit, .gpx,
// .tcx and their .gz forms, in any case of letters.
bool isRideFileName(const QString& name);

// The ride files the user chose: files as they are (whatever their names),
// folders walked to every ride file below them (hidden ones left out, linked
// folders followed, each real folder once). Sorted by path, each file once. Stops early, answering
// what it found so far, once `cancelled` is set.
QStringList rideFilesIn(const QStringList& filesAndFolders,
                        const std::atomic<bool>* cancelled = nullptr);

// One file read for the import: its rides, and the SHA-256 of its content
// as read (inflated, so that a file and its .gz form are the same content),
// the 32 bytes of the digest.
// A file that could not be read has no hash and its reason in `contents`.
struct ScannedFile
{
    QString path;
    QByteArray sha256;
    RideFileContents contents;
};
ScannedFile scanRideFile(const QString& path, const RideFileLimits& limits = {});

// Reads ride files beside the caller's thread, several at once, and hands
// them over in the caller's thread as they are read. Neither cancel() nor the
// destructor waits for a file being read: the reading left over ends on its
// own and what it read is dropped, so the window using it answers at once.
class RideFileScanner : public QObject
{
    Q_OBJECT

public:
    explicit RideFileScanner(QObject* parent = nullptr);
    ~RideFileScanner() override;

    // Walks the folders and reads every file; a scan under way is cancelled
    // first. limits are for tests.
    void start(const QStringList& filesAndFolders, const RideFileLimits& limits = {});
    // No signal but finished(true) comes after it.
    void cancel();
    bool isRunning() const;

signals:
    // The walk is over: this many files will be read.
    void filesFound(int total);
    // Files read since the last signal (a few at a time, in no fixed order),
    // and how many of the total are read now.
    void filesRead(const QList<ScannedFile>& files, int done, int total);
    void finished(bool cancelled);

private:
    void deliver();

    // What the reading threads share with this object; they hold it, not
    // this object, so either may end first.
    struct Run;
    std::shared_ptr<Run> m_run;
    // Hands over what was read at most this often, so that a season of small
    // files does not flood the window with a signal for each.
    QTimer* m_delivery;
};
