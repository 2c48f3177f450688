#include "GpxReader.h"

#include "SportNames.h"
#include "TrackTotals.h"
#include "WholeNumber.h"
#include "XmlValues.h"

#include <QXmlStreamReader>

namespace {

bool isTrackPointExtension(QStringView ns)
{
    return ns == QLatin1String("http://www.garmin.com/xmlschemas/TrackPointExtension/v1") ||
           ns == QLatin1String("http://www.garmin.com/xmlschemas/TrackPointExtension/v2");
}

bool isGpx(QStringView ns)
{
    return ns.isEmpty() || ns == QLatin1String("http://www.topografix.com/GPX/1/0") ||
           ns == QLatin1String("http://www.topografix.com/GPX/1/1");
}

class GpxParser
{
public:
    explicit GpxParser(const QByteArray& data) : m_xml(data) {}

    RideFileContents read()
    {
        bool sawRoute = false;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("gpx") && isGpx(m_xml.namespaceUri()))
                continue; // its children follow
            if (m_xml.name() == QLatin1String("trk"))
                track();
            else {
                sawRoute = sawRoute || m_xml.name() == QLatin1String("rte") ||
                           m_xml.name() == QLatin1String("wpt");
                m_xml.skipCurrentElement();
            }
        }
        if (!m_xml.hasError())
            flush();
        concludeXmlFile(m_contents, m_xml,
                        sawRoute ? QStringLiteral("a route or single points, no track") : QString(),
                        QStringLiteral("no track in the file"));
        return std::move(m_contents);
    }

private:
    // A device that loses its fix or is switched off for a moment starts a
    // new track; tracks less than an hour apart are one ride, the speed across
    // the gap telling whether it was ridden.
    static constexpr qint64 sameRideGapMsecs = 3600 * 1000;

    struct Track
    {
        ImportedRide ride;
        QList<TrackPoint> points;
        bool allTimed = true;
    };

    void track()
    {
        Track t;
        ImportedRide& ride = t.ride;
        QList<TrackPoint>& points = t.points;
        bool& allTimed = t.allTimed;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("type")) {
                ride.sport = sportFromName(m_xml.readElementText());
            } else if (m_xml.name() == QLatin1String("trkseg")) {
                // A new segment follows a pause or a lost fix; which of the
                // two the speed across the gap tells.
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == QLatin1String("trkpt"))
                        points.append(point(allTimed));
                    else
                        m_xml.skipCurrentElement();
                }
            } else {
                m_xml.skipCurrentElement();
            }
        }
        // An empty track is no ride and says nothing worth listing.
        if (m_xml.hasError() || points.isEmpty())
            return;
        if (m_hasOpen && m_open.allTimed && t.allTimed) {
            const qint64 gap = points.first().msecsUtc - m_open.points.last().msecsUtc;
            if (gap >= 0 && gap <= sameRideGapMsecs) {
                m_open.points.append(points);
                return;
            }
        }
        flush();
        m_open = t;
        m_hasOpen = true;
    }

    void flush()
    {
        if (!m_hasOpen)
            return;
        TrackTotals::completeFromTrack(m_open.ride, m_open.points, m_open.allTimed);
        m_contents.rides.append(m_open.ride);
        m_hasOpen = false;
    }

    TrackPoint point(bool& allTimed)
    {
        TrackPoint p;
        const auto attributes = m_xml.attributes();
        p.latitude = xmlNumber(attributes.value(QLatin1String("lat")).toString());
        p.longitude = xmlNumber(attributes.value(QLatin1String("lon")).toString());
        bool timed = false;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("ele")) {
                p.altitude = xmlNumber(m_xml.readElementText());
            } else if (m_xml.name() == QLatin1String("time")) {
                const auto t = xmlTimeMsecs(m_xml.readElementText());
                timed = t.has_value();
                p.msecsUtc = t.value_or(0);
            } else if (m_xml.name() == QLatin1String("extensions")) {
                extensions(p);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        allTimed = allTimed && timed;
        return p;
    }

    // Anything inside the extensions; only the track-point extension's
    // heart rate and air temperature are ours.
    void extensions(TrackPoint& p)
    {
        int depth = 1;
        while (depth > 0 && !m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
            } else if (token == QXmlStreamReader::StartElement) {
                if (isTrackPointExtension(m_xml.namespaceUri()) &&
                    m_xml.name() == QLatin1String("hr")) {
                    if (const auto hr = xmlNumber(m_xml.readElementText()))
                        p.heartRate = wholeNumber(*hr);
                } else if (isTrackPointExtension(m_xml.namespaceUri()) &&
                           m_xml.name() == QLatin1String("atemp")) {
                    p.temperature = xmlNumber(m_xml.readElementText());
                } else {
                    ++depth;
                }
            }
        }
    }

    QXmlStreamReader m_xml;
    RideFileContents m_contents;
    Track m_open;
    bool m_hasOpen = false;
};

} // namespace

RideFileContents readGpx(const QByteArray& data)
{
    return GpxParser(data).read();
}
