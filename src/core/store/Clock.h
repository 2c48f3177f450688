#pragma once

#include <QDate>

// The one place the program asks for "today", so that tests can fix the date.
class Clock
{
public:
    static QDate today();
    // An invalid date returns to the system clock.
    static void setFixedToday(const QDate& date);
};
