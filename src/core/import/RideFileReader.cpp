#include "RideFileReader.h"

#include "FitDecoder.h"
#include "GpxReader.h"
#include "TcxReader.h"

RideFileContents readRideFile(const QString& path, const RideFileLimits& limits)
{
    RideFileContents contents;
    const RideFileBytes file = readRideFileBytes(path, limits);
    if (file.problem != RideProblem::None) {
        contents.problem = file.problem;
        contents.detail = file.detail;
        return contents;
    }
    QString name = path.toLower();
    if (name.endsWith(QLatin1String(".gz")))
        name.chop(3);
    if (name.endsWith(QLatin1String(".fit")))
        return decodeFit(file.bytes);
    if (name.endsWith(QLatin1String(".gpx")))
        return readGpx(file.bytes);
    if (name.endsWith(QLatin1String(".tcx")))
        return readTcx(file.bytes);
    contents.problem = RideProblem::Unreadable;
    contents.detail = QStringLiteral("not a FIT, GPX or TCX file");
    return contents;
}
