#include "SportNames.h"

RideSport sportFromName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n.isEmpty() || n == QLatin1String("other") || n == QLatin1String("generic"))
        return RideSport::Unknown;
    const auto has = [&](const char* word) { return n.contains(QLatin1String(word)); };
    if (has("bik") || has("cycl") || has("ride"))
        return RideSport::Cycling;
    if (has("run"))
        return RideSport::Running;
    if (has("swim"))
        return RideSport::Swimming;
    if (has("ski"))
        return RideSport::CrossCountrySkiing;
    if (has("fitness") || has("training"))
        return RideSport::Fitness;
    return RideSport::Other;
}
