#include "backup/BackupRotation.h"

#include <algorithm>

QList<QDate> backupsToKeep(QList<QDate> days, const QDate& today)
{
    constexpr int daily = 7;
    constexpr int weekly = 4;
    std::sort(days.begin(), days.end(), std::greater<>());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    QList<QDate> keep;
    int counted = 0;
    QList<std::pair<int, int>> weeks;
    for (const QDate& day : std::as_const(days)) {
        if (day > today) {
            keep.append(day);
            continue;
        }
        int year = 0;
        const int week = day.weekNumber(&year);
        const bool newWeek = !weeks.contains(std::pair(year, week));
        if (newWeek)
            weeks.append({year, week});
        if (counted < daily || (newWeek && weeks.size() <= weekly))
            keep.append(day);
        ++counted;
    }
    return keep;
}
