#include "RideFileBytes.h"

#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <algorithm>

namespace {

RideFileBytes refused(RideProblem problem, const QString& detail)
{
    RideFileBytes result;
    result.problem = problem;
    result.detail = detail;
    return result;
}

} // namespace

RideFileBytes gunzip(const QByteArray& compressed, qint64 maxBytes)
{
    z_stream stream{};
    // 16 + MAX_WBITS: a gzip header and trailer, checked by zlib.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return refused(RideProblem::Unreadable, QStringLiteral("the decompressor did not start"));
    RideFileBytes result;
    qsizetype consumed = 0;
    char chunk[64 * 1024];
    int status = Z_OK;
    for (;;) {
        stream.next_in =
            reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData() + consumed));
        stream.avail_in = uInt(std::min<qsizetype>(compressed.size() - consumed, 1 << 30));
        const uInt offered = stream.avail_in;
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        consumed += offered - stream.avail_in;
        const auto produced = qsizetype(sizeof chunk - stream.avail_out);
        result.bytes.append(chunk, produced);
        if (result.bytes.size() > maxBytes) {
            inflateEnd(&stream);
            return refused(
                RideProblem::TooLarge,
                QStringLiteral("the file inflates beyond %1 MB").arg(maxBytes / (1024 * 1024)));
        }
        if (status == Z_STREAM_END) {
            // Another member may follow; anything else after the end is
            // ignored, as gzip itself does.
            if (!QByteArrayView(compressed)
                     .sliced(consumed)
                     .startsWith(QByteArrayView("\x1f\x8b", 2)))
                break;
            inflateReset(&stream);
            status = Z_OK;
        } else if (status != Z_OK && status != Z_BUF_ERROR) {
            break; // damaged data
        } else if (offered == stream.avail_in && produced == 0) {
            break; // no progress: the data ends inside the stream
        }
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END)
        return refused(RideProblem::Damaged,
                       QStringLiteral("the compressed data is damaged or cut short"));
    return result;
}

RideFileBytes readRideFileBytes(const QString& path, const RideFileLimits& limits)
{
    // A pipe would keep the reading waiting for ever, and a device has no
    // end; neither is a ride file, whatever its name.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return refused(RideProblem::Unreadable, QStringLiteral("not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(RideProblem::Unreadable, file.errorString());
    if (file.size() > limits.maxFileBytes)
        return refused(RideProblem::TooLarge, QStringLiteral("the file is larger than %1 MB")
                                                  .arg(limits.maxFileBytes / (1024 * 1024)));
    // Memory for the file as large as it is, not for the limit (which every
    // reading thread would otherwise ask of the system each time), grown
    // while the file grows meanwhile, and never beyond the limit.
    QByteArray bytes;
    qint64 capacity = std::min(file.size(), limits.maxFileBytes) + 1;
    qint64 got = 0;
    for (;;) {
        bytes.resize(qsizetype(capacity));
        const qint64 n = file.read(bytes.data() + got, capacity - got);
        if (n < 0)
            return refused(RideProblem::Unreadable, file.errorString());
        got += n;
        if (got < capacity || got > limits.maxFileBytes)
            break;
        capacity = std::min(capacity * 2, limits.maxFileBytes + 1);
    }
    bytes.resize(qsizetype(got));
    if (got > limits.maxFileBytes)
        return refused(RideProblem::TooLarge, QStringLiteral("the file is larger than %1 MB")
                                                  .arg(limits.maxFileBytes / (1024 * 1024)));
    if (path.endsWith(QLatin1String(".gz"), Qt::CaseInsensitive))
        return gunzip(bytes, limits.maxInflatedBytes);
    RideFileBytes result;
    result.bytes = bytes;
    return result;
}
