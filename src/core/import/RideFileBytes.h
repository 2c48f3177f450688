#pragma once

#include "ImportedRide.h"

#include <QByteArray>
#include <QString>

// The bytes of a ride file, inflated when it is gzip-compressed, within
// bounds: no ride file is anywhere near them, and a damaged or hostile file
// must not take the machine's memory.
struct RideFileLimits
{
    qint64 maxFileBytes = 256LL * 1024 * 1024;
    qint64 maxInflatedBytes = 512LL * 1024 * 1024;
};

struct RideFileBytes
{
    QByteArray bytes;
    RideProblem problem = RideProblem::None;
    QString detail;
};

// Inflates gzip data (several members one after another, as gzip allows),
// refusing to produce more than `maxBytes`.
RideFileBytes gunzip(const QByteArray& compressed, qint64 maxBytes);

// Reads the file at `path`; a name ending in ".gz" is inflated.
RideFileBytes readRideFileBytes(const QString& path, const RideFileLimits& limits = {});
