#pragma once

#include "import/ImportPlan.h"
#include "store/ValueList.h"

#include <QAbstractTableModel>
#include <QVector>

// The rides found in the chosen files, one row each, as the import window
// lists them: whether each is to be imported (the tick), where it comes
// from, its figures as the month view shows them and what becomes of it.
// Sorting goes by SortRole, the value behind each text, so that dates,
// durations and numbers sort as what they are in every locale.
class ImportRidesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        Tick,
        File,
        Date,
        Start,
        Duration,
        Distance,
        Pulse,
        Ascent,
        Kind,
        Status,
        ColumnCount
    };
    static constexpr int SortRole = Qt::UserRole;

    // How many rows there are of each outcome, for the line above the list.
    struct Counts
    {
        int rides = 0;
        int fresh = 0;
        int recorded = 0;
        int cannot = 0;
    };

    explicit ImportRidesModel(QObject* parent = nullptr);

    // Rows in the planner's order, so that a row's matchedCandidate is a row
    // of this model.
    void append(const QVector<ImportCandidate>& rows);
    void clear();
    const QVector<ImportCandidate>& candidates() const { return m_rows; }

    // The kinds are shown as the record dialog shows them.
    void setValueLists(const ValueLists& lists);

    // Rows that cannot be imported are never ticked.
    bool setTicked(int row, bool ticked);
    QVector<int> tickedRows() const;
    Counts counts() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The texts of another language: the titles and the statuses anew.
    void retranslate();

signals:
    void tickedChanged();

private:
    bool isRow(const QModelIndex& index) const;
    QString text(const ImportCandidate& row, int column) const;
    QVariant sortValue(const ImportCandidate& row, int column) const;
    QString statusText(const ImportCandidate& row) const;

    QVector<ImportCandidate> m_rows;
    ValueLists m_lists;
};
