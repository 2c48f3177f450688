#include "settings/SeasonList.h"

#include <algorithm>

QList<int> seasonList(const QList<int>& rideYears)
{
    QList<int> seasons = rideYears;
    std::sort(seasons.begin(), seasons.end());
    seasons.erase(std::unique(seasons.begin(), seasons.end()), seasons.end());
    return seasons;
}
