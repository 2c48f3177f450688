#include "base/Clock.h"

#include <QFileInfo>
#include <QtGlobal>

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

void Clock::settleTimeZone()
{
    // Qt reads ":/etc/localtime" as the system's zone, as the C library does.
    if (qEnvironmentVariableIsEmpty("TZ") && QFileInfo::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");
}
