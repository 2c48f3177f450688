#pragma once

#include <QByteArray>
#include <QString>

// What the engine will make of a write-ahead log left beside a store, read
// before the store is opened: the engine replays the log only up to its
// first damaged frame and then rewrites the store and deletes the log, so
// whatever was committed after the damage would vanish without a word.

// Whether the log's 32-byte header is the engine's: magic number, version
// and checksum.
bool walHeaderValid(const QByteArray& header);

struct WalScan
{
    bool headerValid = false;
    // Whole frames in the file, and how many of them the engine replays:
    // those up to the last intact commit.
    qint64 frames = 0;
    qint64 framesReplayed = 0;
    // A commit of the log's current generation lies beyond the first
    // damaged frame: committed rides the engine would drop.
    bool commitsLost = false;
};

// Reads the log at path; a missing or unreadable file gives a scan with no
// valid header.
WalScan scanWriteAheadLog(const QString& path);
