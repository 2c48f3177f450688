#include "stats/SeasonMonthsModel.h"

#include "base/MessageCatalogue.h"

#include <QFont>

SeasonMonthsModel::SeasonMonthsModel(QObject* parent) : QAbstractTableModel(parent)
{
    m_bold.setBold(true);
    retranslate();
}

void SeasonMonthsModel::setBaseFont(const QFont& font)
{
    m_bold = font;
    m_bold.setBold(true);
}

void SeasonMonthsModel::setRows(const QVector<SeasonMonthRow>& rows)
{
    if (rows.size() == m_rows.size()) {
        m_rows = rows;
        if (!m_rows.isEmpty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void SeasonMonthsModel::retranslate()
{
    m_titles = {Msg::text(Msg::SeasonColumnMonth),     Msg::text(Msg::SeasonColumnRides),
                Msg::text(Msg::SeasonColumnDistance),  Msg::text(Msg::SeasonColumnHours),
                Msg::text(Msg::SeasonColumnElevation), Msg::text(Msg::SeasonColumnPulse),
                Msg::text(Msg::SeasonColumnChange)};
    m_total = Msg::text(Msg::SeasonTotal);
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, Month), index(rowCount() - 1, Month));
}

int SeasonMonthsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SeasonMonthsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SeasonMonthsModel::text(const SeasonMonthRow& row, int column) const
{
    const QLocale locale;
    switch (column) {
    case Month:
        return row.month == 0 ? m_total : locale.standaloneMonthName(row.month);
    case Rides:
        return locale.toString(row.rides);
    case Distance:
        return locale.toString(row.figures.km);
    case Hours:
        return row.figures.hours;
    case Elevation:
        return locale.toString(row.figures.alt);
    case Pulse:
        return row.figures.pulse;
    case Change:
        return changePercentText(row.changePercent, locale);
    default:
        return QString();
    }
}

QVariant SeasonMonthsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const SeasonMonthRow& row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(row, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == Month ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                       : int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        return row.month == 0 ? QVariant(m_bold) : QVariant();
    default:
        return {};
    }
}

QVariant SeasonMonthsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_titles.value(section);
    if (role == Qt::TextAlignmentRole)
        return section == Month ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                : int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}
