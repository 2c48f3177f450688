#include "records/OdometerChain.h"

OdometerChain computeOdometerChain(const QVector<ChainRide>& rides)
{
    OdometerChain chain;
    if (rides.isEmpty())
        return chain;
    Fixed4 total = rides.first().odo.value_or(Fixed4()).roundedTo2();
    chain.readings.reserve(rides.size() - 1);
    for (qsizetype k = 1; k < rides.size(); ++k) {
        total += rides.at(k).dst.value_or(Fixed4()).roundedTo2();
        chain.readings.append(total);
    }
    chain.total = total;
    return chain;
}
