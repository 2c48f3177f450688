#pragma once

#include "store/ADOTable.h"

// Detaches the controls bound to the ride table for a walk over its rows and
// brings them back however the walk ends, an error included. Without a table
// (no store yet) it does nothing.
class ControlsDetached
{
public:
    explicit ControlsDetached(ADOTable* table) : m_table(table)
    {
        if (m_table)
            m_table->disableControls();
    }
    ~ControlsDetached()
    {
        if (m_table)
            m_table->enableControls();
    }
    // Attaches the controls again now, telling them only of what changed.
    void releaseOnlyChanges()
    {
        if (m_table)
            m_table->enableControls(ADOTable::Reattach::OnlyChanges);
        m_table = nullptr;
    }
    ControlsDetached(const ControlsDetached&) = delete;
    ControlsDetached& operator=(const ControlsDetached&) = delete;

private:
    ADOTable* m_table;
};
