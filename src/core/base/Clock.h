#pragma once

#include <QDate>

// The one place the program asks for "today", so that tests can fix the date.
class Clock
{
public:
    static QDate today();
    // An invalid date returns to the system clock.
    static void setFixedToday(const QDate& date);

    // Names the system's own zone file in TZ when the environment names no
    // zone, before anything asks for a local time. Without TZ the C library
    // looks at /etc/localtime again for every local date and time it works
    // out, which made reading years of rides several times slower. The zone
    // in force when the program started then stays in force while it runs.
    static void settleTimeZone();
};
