#include "TcxReader.h"

#include "SportNames.h"
#include "TrackTotals.h"
#include "WholeNumber.h"
#include "XmlValues.h"

#include <QXmlStreamReader>

namespace {

class TcxParser
{
public:
    explicit TcxParser(const QByteArray& data) : m_xml(data) {}

    RideFileContents read()
    {
        bool sawCourse = false;
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("TrainingCenterDatabase") ||
                name == QLatin1String("Activities"))
                continue; // their children follow
            if (name == QLatin1String("Activity")) {
                activity();
            } else {
                sawCourse = sawCourse || name == QLatin1String("Courses");
                m_xml.skipCurrentElement();
            }
        }
        concludeXmlFile(m_contents, m_xml,
                        sawCourse ? QStringLiteral("a course, not an activity") : QString(),
                        QStringLiteral("no activity in the file"));
        return std::move(m_contents);
    }

private:
    struct LapTotals
    {
        std::optional<double> seconds;
        std::optional<double> metres;
        double heartBeats = 0; // average heart rate × lap time, summed
        double heartSeconds = 0;
        std::optional<int> maxHeartRate;
    };

    void activity()
    {
        ImportedRide ride;
        ride.sport = sportFromName(m_xml.attributes().value(QLatin1String("Sport")).toString());
        LapTotals laps;
        QList<TrackPoint> points;
        bool allTimed = true;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("Lap"))
                lap(laps, points, allTimed);
            else
                m_xml.skipCurrentElement();
        }
        if (m_xml.hasError())
            return;
        ride.timerSeconds = laps.seconds;
        ride.distanceMetres = laps.metres;
        if (laps.heartSeconds > 0)
            ride.avgHeartRate = wholeNumber(std::round(laps.heartBeats / laps.heartSeconds));
        ride.maxHeartRate = laps.maxHeartRate;
        TrackTotals::completeFromTrack(ride, points, allTimed);
        m_contents.rides.append(ride);
    }

    void lap(LapTotals& laps, QList<TrackPoint>& points, bool& allTimed)
    {
        std::optional<double> seconds;
        std::optional<double> average;
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("TotalTimeSeconds")) {
                seconds = xmlNumber(m_xml.readElementText());
                if (seconds)
                    laps.seconds = laps.seconds.value_or(0) + *seconds;
            } else if (name == QLatin1String("DistanceMeters")) {
                if (const auto metres = xmlNumber(m_xml.readElementText()))
                    laps.metres = laps.metres.value_or(0) + *metres;
            } else if (name == QLatin1String("AverageHeartRateBpm")) {
                average = value();
            } else if (name == QLatin1String("MaximumHeartRateBpm")) {
                if (const auto max = value(); max && *max > 0) {
                    if (const auto whole = wholeNumber(*max))
                        laps.maxHeartRate = std::max(laps.maxHeartRate.value_or(0), *whole);
                }
            } else if (name == QLatin1String("Track")) {
                track(points, allTimed);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        if (seconds && average && *average > 0) {
            laps.heartBeats += *average * *seconds;
            laps.heartSeconds += *seconds;
        }
    }

    void track(QList<TrackPoint>& points, bool& allTimed)
    {
        bool first = true;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != QLatin1String("Trackpoint")) {
                m_xml.skipCurrentElement();
                continue;
            }
            TrackPoint p = point(allTimed);
            // A device starts a new track after its timer was stopped.
            p.pauseBefore = first && !points.isEmpty();
            first = false;
            points.append(p);
        }
    }

    TrackPoint point(bool& allTimed)
    {
        TrackPoint p;
        bool timed = false;
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("Time")) {
                const auto t = xmlTimeMsecs(m_xml.readElementText());
                timed = t.has_value();
                p.msecsUtc = t.value_or(0);
            } else if (name == QLatin1String("Position")) {
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == QLatin1String("LatitudeDegrees"))
                        p.latitude = xmlNumber(m_xml.readElementText());
                    else if (m_xml.name() == QLatin1String("LongitudeDegrees"))
                        p.longitude = xmlNumber(m_xml.readElementText());
                    else
                        m_xml.skipCurrentElement();
                }
            } else if (name == QLatin1String("AltitudeMeters")) {
                p.altitude = xmlNumber(m_xml.readElementText());
            } else if (name == QLatin1String("DistanceMeters")) {
                p.distanceMetres = xmlNumber(m_xml.readElementText());
            } else if (name == QLatin1String("HeartRateBpm")) {
                if (const auto hr = value())
                    p.heartRate = wholeNumber(*hr);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        allTimed = allTimed && timed;
        return p;
    }

    // The number in a <Value> child, as heart rates are written.
    std::optional<double> value()
    {
        std::optional<double> v;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("Value"))
                v = xmlNumber(m_xml.readElementText());
            else
                m_xml.skipCurrentElement();
        }
        return v;
    }

    QXmlStreamReader m_xml;
    RideFileContents m_contents;
};

} // namespace

RideFileContents readTcx(const QByteArray& data)
{
    return TcxParser(data).read();
}
