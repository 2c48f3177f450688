#include "records/OdometerChain.h"

OdometerChain computeOdometerChain(const QVector<ChainRide>& rides, bool newFirstRide)
{
    OdometerChain chain;
    if (rides.isEmpty())
        return chain;
    Fixed4 total = rides.first().odo.value_or(Fixed4()).roundedTo2();
    qsizetype from = 1;
    if (newFirstRide && rides.size() > 1 && rides.at(1).odo) {
        const Fixed4 entered = rides.at(1).odo->roundedTo2();
        const Fixed4 base = entered - rides.at(1).dst.value_or(Fixed4()).roundedTo2();
        if (base < Fixed4()) {
            chain.firstReadingToCheck = true;
            chain.readings.append(entered);
            total = entered;
            from = 2;
        } else {
            chain.base = base;
            total = base;
        }
    }
    chain.readings.reserve(rides.size() - 1);
    for (qsizetype k = from; k < rides.size(); ++k) {
        total += rides.at(k).dst.value_or(Fixed4()).roundedTo2();
        chain.readings.append(total);
    }
    chain.total = total;
    return chain;
}
