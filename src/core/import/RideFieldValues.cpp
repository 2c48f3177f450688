#include "RideFieldValues.h"

#include <QDateTime>

#include <cmath>

namespace RideFieldValues {

QDate localDay(const ImportedRide& ride)
{
    if (ride.localOffsetSeconds)
        return ride.start.toUTC().addSecs(*ride.localOffsetSeconds).date();
    return ride.start.toLocalTime().date();
}

std::optional<QTime> ridingTime(double seconds)
{
    const qint64 whole = std::llround(seconds);
    if (!std::isfinite(seconds) || whole < 0 || whole > 23 * 3600 + 59 * 60 + 59)
        return std::nullopt;
    return QTime(0, 0).addSecs(int(whole));
}

QString temperatureBand(double celsius)
{
    // The dialog's items, exactly as it stores them, by their lower bound.
    static constexpr struct
    {
        int low;
        const char* text;
    } bands[] = {{35, "35 - 40 C'"},  {25, "25 - 30 C'"},  {20, "20 - 25 C'"},
                 {15, "15 - 20 C'"},  {10, "10 - 15 C'"},  {5, "5 - 10 C'"},
                 {0, "0 -  5 C'"},    {-5, "-5 -  0 C'"},  {-10, "-10 -  5 C'"},
                 {-15, "-15 -10 C'"}, {-20, "-20 -15 C'"}, {-25, "-25 -20 C'"}};
    for (const auto& band : bands)
        if (celsius >= band.low && celsius < band.low + 5)
            return QString::fromUtf8(band.text);
    return QString();
}

QString kindText(RideSport sport)
{
    switch (sport) {
    case RideSport::Cycling:
        return QStringLiteral("Cyklistika");
    case RideSport::Running:
        return QStringLiteral("Beh");
    case RideSport::Swimming:
        return QStringLiteral("Plavání");
    case RideSport::CrossCountrySkiing:
        return QStringLiteral("Bežky");
    case RideSport::Fitness:
        return QStringLiteral("Fitness");
    case RideSport::Unknown:
    case RideSport::Other:
        break;
    }
    return QString();
}

QString typeText(const ImportedRide& ride)
{
    // Older devices do not say "indoor"; a bike ride that took time but
    // covered no distance at all was on a trainer all the same.
    const bool stayedPut = ride.distanceMetres == 0.0 && ride.timerSeconds.value_or(0) > 0;
    return ride.sport == RideSport::Cycling && (ride.indoor || stayedPut)
               ? QStringLiteral("Trenažer")
               : QStringLiteral("Trénink");
}

void checkFits(ImportedRide& ride)
{
    if (ride.problem != RideProblem::None)
        return;
    const auto refuse = [&](RideProblem problem, const QString& detail) {
        ride.problem = problem;
        ride.detail = detail;
    };
    const auto outside16 = [](const std::optional<double>& v) {
        return v && (std::round(*v) < -32768 || std::round(*v) > 32767);
    };
    const auto time = ride.timerSeconds ? ridingTime(*ride.timerSeconds) : std::nullopt;
    if (ride.timerSeconds && *ride.timerSeconds < 0)
        refuse(RideProblem::OutOfRange, QStringLiteral("a negative riding time"));
    else if (ride.timerSeconds && !time)
        refuse(RideProblem::TooLong, QStringLiteral("longer than 23:59:59"));
    else if (!time || *time == QTime(0, 0))
        // The average speed is worked out from the duration on saving.
        refuse(RideProblem::OutOfRange, QStringLiteral("no riding time"));
    else if (outside16(ride.elevationGain) || outside16(ride.maxAltitude))
        refuse(RideProblem::OutOfRange, QStringLiteral("an elevation beyond 32,767 m"));
    else if (ride.avgHeartRate.value_or(0) > 65535 || ride.maxHeartRate.value_or(0) > 65535 ||
             ride.avgHeartRate.value_or(0) < 0 || ride.maxHeartRate.value_or(0) < 0)
        refuse(RideProblem::OutOfRange, QStringLiteral("a heart rate beyond its field"));
    else if (ride.distanceMetres.value_or(0) < 0)
        refuse(RideProblem::OutOfRange, QStringLiteral("a negative distance"));
    else if (ride.distanceMetres.value_or(0) / 1000 / (QTime(0, 0).secsTo(*time) / 3600.0) >= 1000)
        refuse(RideProblem::OutOfRange, QStringLiteral("a speed beyond 999.99 km/h"));
}

} // namespace RideFieldValues
