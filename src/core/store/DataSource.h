#pragma once

#include "store/ValueList.h"

#include <QObject>

class ADOTable;

// Links the bound controls (grid, note, record dialog fields) to the ride
// table: a control follows whatever table its source names. The controls
// that pick a field's text from a list lend the source their lists, so that
// every view of the rides shows a stored item as the dialog does.
class DataSource : public QObject
{
    Q_OBJECT

public:
    DataSource(ADOTable* table, QObject* parent = nullptr);
    ADOTable* table() const { return m_table; }

    const ValueLists& valueLists() const { return m_lists; }
    void setValueList(RideField field, const ValueList& list);

signals:
    // A list's texts changed (the language changed): the views show anew.
    void valueListsChanged();

private:
    ADOTable* m_table;
    ValueLists m_lists;
};
