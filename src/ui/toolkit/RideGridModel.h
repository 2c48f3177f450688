#pragma once

#include "store/RideFields.h"

#include "store/ADOTable.h"
#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>

class ADOTable;
class DataSource;

// The rows of the ride table's set as a read-only table of chosen fields,
// following the table while its controls are enabled. A field picked from a
// list shows its item in the current language.
class RideGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        RideField field;
        QString title;
    };

    explicit RideGridModel(QObject* parent = nullptr);

    // The source's table and lists.
    void setSource(DataSource* source);
    ADOTable* table() const { return m_table; }
    void setColumns(const QVector<Column>& columns);
    const QVector<Column>& columns() const { return m_columns; }
    void setColumnTitle(int column, const QString& title);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The table's current row moved to this row (-1 for none).
    void currentRowChanged(int row);

private:
    void reset();
    void setTable(ADOTable* table);

    QPointer<DataSource> m_source;
    QPointer<ADOTable> m_table;
    QVector<Column> m_columns;
    int m_shownRows = 0;
    int m_current = -1;
};
