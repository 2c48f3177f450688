#include "records/AverageSpeed.h"

#include "base/MessageCatalogue.h"
#include "base/PictureFormat.h"
#include "base/RydexError.h"

#include <limits>

Fixed4 averageSpeed(const QTime& duration, Fixed4 distance)
{
    const qint64 seconds = duration.isValid()
                               ? (duration.hour() * 60 + duration.minute()) * 60 + duration.second()
                               : 0;
    if (seconds == 0)
        throw RydexError(Msg::text(Msg::AverageSpeedZeroDuration));

    // km/h in hundredths = units * 3600 / (seconds * 100) = units * 36 / seconds.
    // The division goes in two steps so that no product can overflow for any
    // distance the field can hold.
    const bool negative = distance.units() < 0;
    const quint64 units =
        negative ? quint64(0) - quint64(distance.units()) : quint64(distance.units());
    const quint64 s = quint64(seconds);
    const quint64 whole = units / s;
    const quint64 rest = (units % s) * 36; // below 36 * 86400
    quint64 hundredths = whole * 36 + rest / s;
    const quint64 remainder = rest % s;
    if (remainder * 2 >= s)
        ++hundredths;

    constexpr quint64 limit = quint64(std::numeric_limits<qint64>::max()) / 100;
    if (whole > limit / 36 || hundredths > limit)
        throw RydexError(Msg::text(Msg::RangeError), RydexError::Kind::Range);
    const qint64 result = qint64(hundredths) * 100;
    return Fixed4::fromUnits(negative ? -result : result);
}

void checkAverageSpeedFits(Fixed4 speed)
{
    if (speed <= largestAverageSpeed && speed >= Fixed4() - largestAverageSpeed)
        return;
    const QLocale locale;
    const QString picture = QStringLiteral("0.00");
    throw RydexError(Msg::format(Msg::AverageSpeedTooHigh,
                                 {formatPicture(picture, speed, locale),
                                  formatPicture(picture, largestAverageSpeed, locale)}),
                     RydexError::Kind::Range);
}
