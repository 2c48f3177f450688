#include "SampleMonth.h"

#include "base/Fixed4.h"

#include <QTime>

namespace {
ChartRide ride(int day, QTime time, double km, int pulse, int alt)
{
    return ChartRide{day, time, Fixed4::fromDouble(km), pulse, alt};
}
} // namespace

QVector<ChartRide> sampleChartMonth()
{
    return {ride(1, QTime(1, 10), 32.4, 128, 310),    ride(3, QTime(2, 5), 58.15, 141, 720),
            ride(4, QTime(0, 45), 21, 118, 150),      ride(8, QTime(3, 30), 96.7, 146, 1450),
            ride(12, QTime(1, 0), 28.35, 0, 0),       ride(12, QTime(0, 40), 15.1, 152, 95),
            ride(15, QTime(2, 20), 64.25, 139, 980),  ride(18, QTime(1, 50), 47.8, 133, 540),
            ride(22, QTime(4, 15), 118.5, 144, 2130), ride(23, QTime(1, 25), 38, 127, 260),
            ride(27, QTime(2, 45), 77.05, 149, 1210), ride(30, QTime(1, 5), 30.6, 125, 180)};
}

QByteArray gpxTrack(const char* type, int count, const std::function<GpxPoint(int)>& point)
{
    QString text = QStringLiteral("<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
                                  "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><type>%1</type>"
                                  "<trkseg>")
                       .arg(QString::fromLatin1(type));
    for (int i = 0; i < count; ++i) {
        const GpxPoint p = point(i);
        text += QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time></trkpt>")
                    .arg(p.latitude, p.longitude, p.elevation, p.time.toString(Qt::ISODate));
    }
    return (text + QStringLiteral("</trkseg></trk></gpx>")).toUtf8();
}
