#include "stats/DurationTotal.h"

void DurationTotal::add(int hours, int minutes, int seconds)
{
    m_hours += hours;
    m_minutes += minutes;
    m_seconds += seconds;
}

void DurationTotal::add(const QTime& duration)
{
    if (!duration.isValid())
        return;
    add(duration.hour(), duration.minute(), duration.second());
}

qint64 DurationTotal::totalSeconds() const
{
    return m_hours * 3600 + m_minutes * 60 + m_seconds;
}

QString DurationTotal::text() const
{
    // Ride durations are never negative, but a total of hand-made parts could
    // be; show it with its sign rather than as a jumble of negative parts.
    const qint64 total = totalSeconds();
    const qint64 magnitude = total < 0 ? -total : total;
    auto twoDigits = [](qint64 n) {
        return QString::number(n).rightJustified(2, QLatin1Char('0'));
    };
    QString text = twoDigits(magnitude / 3600) + QLatin1Char(':') +
                   twoDigits(magnitude % 3600 / 60) + QLatin1Char(':') + twoDigits(magnitude % 60);
    return total < 0 ? QLatin1Char('-') + text : text;
}
