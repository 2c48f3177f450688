#pragma once

#include "store/ADOTable.h"

#include "store/RideFilter.h"

// Sets another filter on the ride table for a walk over its rows and puts the
// filter that was in force back however the walk ends, an error included.
// Putting it back makes the first row of that set current, as setting any
// filter does.
class FilterGuard
{
public:
    FilterGuard(ADOTable& table, const RideFilter& filter);
    ~FilterGuard();
    FilterGuard(const FilterGuard&) = delete;
    FilterGuard& operator=(const FilterGuard&) = delete;

    // Puts the saved filter back now; an error from the store reaches the
    // caller here rather than being swallowed by the destructor.
    void restore();

private:
    ADOTable& m_table;
    RideFilter m_saved;
    bool m_restored = false;
};
