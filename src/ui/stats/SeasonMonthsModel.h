#pragma once

#include "stats/SeasonMonths.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QLocale>
#include <QVector>

// The season's month table: twelve months and the year's total, each with
// its rides, kilometres, hours, elevation gain, average pulse and the change
// against a year earlier, written in the locale.
class SeasonMonthsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Month, Rides, Distance, Hours, Elevation, Pulse, Change, ColumnCount };

    explicit SeasonMonthsModel(QObject* parent = nullptr);

    void setRows(const QVector<SeasonMonthRow>& rows);
    // The column titles and the total row's name follow the language.
    void retranslate();
    // The total row is this font made bold.
    void setBaseFont(const QFont& font);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString text(const SeasonMonthRow& row, int column) const;

    QVector<SeasonMonthRow> m_rows;
    QStringList m_titles;
    QString m_total;
    QFont m_bold;
};
