#pragma once

#include <QObject>

class ADOTable;

// Links the bound controls (grid, note, record dialog fields) to the ride
// table: a control follows whatever table its source names.
class DataSource : public QObject
{
    Q_OBJECT

public:
    DataSource(ADOTable* table, QObject* parent = nullptr);
    ADOTable* table() const { return m_table; }

private:
    ADOTable* m_table;
};
