#include "RideFileReader.h"

#include "FitDecoder.h"
#include "GpxReader.h"
#include "TcxReader.h"

RideFileContents readRideFile(const QString& path, const RideFileLimits& limits)
{
    const RideFileBytes file = readRideFileBytes(path, limits);
    if (file.problem != RideProblem::None) {
        RideFileContents contents;
        contents.problem = file.problem;
        contents.detail = file.detail;
        return contents;
    }
    return readRideFileContent(path, file.bytes);
}

RideFileContents readRideFileContent(const QString& path, const QByteArray& bytes)
{
    QString name = path.toLower();
    if (name.endsWith(QLatin1String(".gz")))
        name.chop(3);
    if (name.endsWith(QLatin1String(".fit")))
        return decodeFit(bytes);
    if (name.endsWith(QLatin1String(".gpx")))
        return readGpx(bytes);
    if (name.endsWith(QLatin1String(".tcx")))
        return readTcx(bytes);
    RideFileContents contents;
    contents.problem = RideProblem::Unreadable;
    contents.detail = QStringLiteral("not a FIT, GPX or TCX file");
    return contents;
}
