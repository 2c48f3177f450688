#include "store/WriteAheadLog.h"

#include <QFile>

namespace {
constexpr qint64 headerSize = 32;
constexpr qint64 frameHeaderSize = 24;

quint32 bigEndian32(const uchar* p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

// The engine's running checksum over 32-bit words in the byte order the
// magic number's lowest bit names; s carries on from the previous part.
void checksum(const uchar* p, qint64 size, bool big, quint32 s[2])
{
    const auto word = [&](qint64 at) {
        return big ? bigEndian32(p + at)
                   : quint32(p[at]) | quint32(p[at + 1]) << 8 | quint32(p[at + 2]) << 16 |
                         quint32(p[at + 3]) << 24;
    };
    for (qint64 i = 0; i + 8 <= size; i += 8) {
        s[0] += word(i) + s[1];
        s[1] += word(i + 4) + s[0];
    }
}
} // namespace

bool walHeaderValid(const QByteArray& header)
{
    if (header.size() < headerSize)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(header.constData());
    const quint32 magic = bigEndian32(p);
    if ((magic & 0xFFFFFFFEu) != 0x377F0682u || bigEndian32(p + 4) != 3007000u)
        return false;
    quint32 s[2] = {0, 0};
    checksum(p, 24, magic & 1u, s);
    return s[0] == bigEndian32(p + 24) && s[1] == bigEndian32(p + 28);
}

WalScan scanWriteAheadLog(const QString& path)
{
    WalScan scan;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return scan;
    const QByteArray header = file.read(headerSize);
    scan.headerValid = walHeaderValid(header);
    if (!scan.headerValid)
        return scan;
    const auto* h = reinterpret_cast<const uchar*>(header.constData());
    const bool big = bigEndian32(h) & 1u;
    const quint32 pageSize = bigEndian32(h + 8);
    // A power of two from 512 to 65536, as the engine checks it.
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return scan;
    const quint32 salt[2] = {bigEndian32(h + 16), bigEndian32(h + 20)};
    quint32 sum[2] = {bigEndian32(h + 24), bigEndian32(h + 28)};
    const qint64 frameSize = frameHeaderSize + pageSize;
    scan.frames = (file.size() - headerSize) / frameSize;
    bool intact = true;
    for (qint64 i = 0; i < scan.frames; ++i) {
        const QByteArray frame = file.read(frameSize);
        if (frame.size() != frameSize)
            break;
        const auto* f = reinterpret_cast<const uchar*>(frame.constData());
        const bool current = bigEndian32(f + 8) == salt[0] && bigEndian32(f + 12) == salt[1];
        const bool commit = bigEndian32(f + 4) != 0;
        if (intact) {
            checksum(f, 8, big, sum);
            checksum(f + frameHeaderSize, pageSize, big, sum);
            intact = current && bigEndian32(f) != 0 && sum[0] == bigEndian32(f + 16) &&
                     sum[1] == bigEndian32(f + 20);
            if (intact && commit)
                scan.framesReplayed = i + 1;
        }
        // Frames of an earlier generation, left behind a shorter one, carry
        // other salts and were never meant to be replayed.
        if (!intact && current && commit) {
            scan.commitsLost = true;
            break;
        }
    }
    return scan;
}
