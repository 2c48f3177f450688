#include "store/Clock.h"

namespace {
QDate& fixedToday()
{
    static QDate date;
    return date;
}
} // namespace

QDate Clock::today()
{
    return fixedToday().isValid() ? fixedToday() : QDate::currentDate();
}

void Clock::setFixedToday(const QDate& date)
{
    fixedToday() = date;
}
