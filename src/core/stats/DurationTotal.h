#pragma once

#include <QString>
#include <QTime>
#include <QtGlobal>

// Summed ride durations. Hours, minutes and seconds are added up separately
// and only combined when the total is asked for, so that any number of rides
// sums without a carry rule; hours are not limited to a day.
class DurationTotal
{
public:
    void add(int hours, int minutes, int seconds);
    // A ride's time of day; a null or invalid time (an empty field) adds nothing.
    void add(const QTime& duration);

    qint64 totalSeconds() const;
    // "H:MM:SS" with every part at least two digits and hours as long as they
    // need to be: 00:00:00, 07:05:00, 24:00:01, 131:40:09.
    QString text() const;

private:
    qint64 m_hours = 0;
    qint64 m_minutes = 0;
    qint64 m_seconds = 0;
};
