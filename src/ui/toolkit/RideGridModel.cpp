#include "toolkit/RideGridModel.h"

#include "base/MessageCatalogue.h"
#include "store/ADOTable.h"
#include "store/DataSource.h"

#include <QBrush>
#include <QColor>

RideGridModel::RideGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void RideGridModel::setSource(DataSource* source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source) {
        connect(m_source, &DataSource::valueListsChanged, this, [this] {
            if (m_shownRows > 0 && columnCount() > 0)
                emit dataChanged(index(0, 0), index(m_shownRows - 1, columnCount() - 1));
        });
    }
    setTable(source ? source->table() : nullptr);
}

void RideGridModel::setTable(ADOTable* table)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    if (m_table) {
        connect(m_table, &ADOTable::setChanged, this, &RideGridModel::reset);
        connect(m_table, &ADOTable::rowChanged, this, [this](int row) {
            if (row >= 0 && row < m_shownRows)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        connect(m_table, &ADOTable::currentChanged, this, [this](int row) {
            const int old = m_current;
            m_current = row;
            if (old >= 0 && old < m_shownRows)
                emit headerDataChanged(Qt::Vertical, old, old);
            if (row >= 0 && row < m_shownRows)
                emit headerDataChanged(Qt::Vertical, row, row);
            emit currentRowChanged(row);
        });
    }
    reset();
}

void RideGridModel::setColumns(const QVector<Column>& columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void RideGridModel::setColumnTitle(int column, const QString& title)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void RideGridModel::reset()
{
    beginResetModel();
    // The grid shows what the table held when it last told us; a walk with
    // the controls detached never shows half-way.
    m_shownRows = m_table && m_table->isOpen() ? m_table->recordCount() : 0;
    m_current = m_table ? m_table->currentIndex() : -1;
    endResetModel();
}

int RideGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

int RideGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RideGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || !m_table)
        return QVariant();
    if (index.row() >= m_table->recordCount())
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    const RideRow& row = m_table->rowAt(index.row());
    const QVariant id = row[fieldIndex(RideField::id)];
    // A ride with a stored value the program cannot hold stands out, in
    // dark text on amber whatever the theme; the field itself shows empty.
    if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) {
        if (!m_table->isDamaged(id))
            return QVariant();
        return role == Qt::BackgroundRole ? QBrush(QColor(0xff, 0xd0, 0x70))
                                          : QBrush(QColor(0x20, 0x20, 0x20));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    const RideField field = m_columns.at(index.column()).field;
    if (role == Qt::ToolTipRole) {
        const QVariant stored = m_table->damagedValue(id, field);
        if (stored.isValid())
            return Msg::format(Msg::FieldConversion, {stored.toString(), fieldName(field)});
    }
    const QString text = ADOTable::displayText(field, row[fieldIndex(field)], QLocale());
    return m_source ? m_source->valueLists().displayText(field, text) : text;
}

QVariant RideGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size())
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_columns.at(section).title;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return QVariant();
    }
    if (section < 0 || section >= m_shownRows)
        return QVariant();
    if (role == Qt::DisplayRole) {
        if (section == m_current)
            return QStringLiteral("\u25B6");
        const bool damaged = m_table && section < m_table->recordCount() &&
                             m_table->isDamaged(m_table->rowAt(section)[fieldIndex(RideField::id)]);
        return damaged ? QStringLiteral("!") : QString();
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return QVariant();
}

Qt::ItemFlags RideGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
