#pragma once

#include "ImportedRide.h"
#include "RideFileBytes.h"

#include <QByteArray>
#include <QString>

// The rides in a FIT, GPX or TCX file (or its .gz form), the format known by
// the file's name. A file that cannot be read gives its reason.
RideFileContents readRideFile(const QString& path, const RideFileLimits& limits = {});

// The rides in bytes already read (and inflated) from the file at `path`,
// the format known by its name: for a caller that needs the bytes too.
RideFileContents readRideFileContent(const QString& path, const QByteArray& bytes);
