#include "store/FilterGuard.h"

FilterGuard::FilterGuard(ADOTable& table, const RideFilter& filter)
    : m_table(table), m_saved(table.rideFilter())
{
    m_table.setFilter(filter);
}

FilterGuard::~FilterGuard()
{
    if (m_restored)
        return;
    // Already on the way out of an error: the first error is the one the
    // user sees, so a second one from putting the filter back is dropped.
    try {
        m_table.setFilter(m_saved);
    } catch (...) {
    }
}

void FilterGuard::restore()
{
    m_restored = true;
    m_table.setFilter(m_saved);
}
