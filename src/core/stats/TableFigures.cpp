#include "stats/TableFigures.h"

#include "stats/DurationTotal.h"
#include "store/ADOTable.h"
#include "store/FilterGuard.h"
#include "store/RideFilter.h"

namespace {
RideFigures figuresOf(const RideRow& row)
{
    RideFigures f;
    const QVariant time = row[fieldIndex(RideField::time)];
    if (!time.isNull()) {
        const QTime t = time.toTime();
        f.hours = t.hour();
        f.minutes = t.minute();
        f.seconds = t.second();
    }
    const QVariant dst = row[fieldIndex(RideField::dst)];
    if (!dst.isNull())
        f.dst = dst.value<Fixed4>();
    f.alt = row[fieldIndex(RideField::alt)].toInt();
    f.pulse = row[fieldIndex(RideField::pulse)].toInt();
    return f;
}
} // namespace

MonthFigures readMonthFigures(ADOTable& table)
{
    QVector<RideFigures> rides;
    if (table.findFirst()) {
        const int count = table.recordCount();
        rides.reserve(count);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                table.next();
            rides.append(figuresOf(table.rowAt(table.currentIndex())));
        }
    }
    return computeMonthFigures(rides);
}

// The year's rides are looked at without showing them: the month stays in
// the grid, and only the columns needed are read, the same two for both
// figures, so that the second look reuses the first.
static const QList<RideField> yearColumns{RideField::time, RideField::odo};
QString readYearHours(ADOTable& table, const QString& cyclist, int year)
{
    DurationTotal total;
    for (const RideRow& row :
         table.peekRows(RideFilter::year(cyclist, year), yearColumns)) {
        const QVariant t = row[fieldIndex(RideField::time)];
        if (!t.isNull())
            total.add(t.toTime());
    }
    return total.text();
}

Fixed4 readYearOdometer(ADOTable& table, const QString& cyclist, int year)
{
    const QVector<RideRow> rows =
        table.peekRows(RideFilter::year(cyclist, year), yearColumns);
    if (rows.isEmpty())
        return Fixed4();
    const QVariant odo = rows.last()[fieldIndex(RideField::odo)];
    if (odo.isNull())
        return Fixed4();
    if (odo.metaType() == QMetaType::fromType<Fixed4>())
        return odo.value<Fixed4>();
    return Fixed4::fromInt(odo.toLongLong());
}

QVector<ChartRide> readChartRides(const ADOTable& table)
{
    QVector<ChartRide> rides;
    rides.reserve(table.recordCount());
    for (const RideRow& row : table.rows()) {
        ChartRide r;
        r.day = row[fieldIndex(RideField::day)].toInt();
        const QVariant t = row[fieldIndex(RideField::time)];
        r.time = t.isNull() ? QTime(0, 0) : t.toTime();
        const QVariant dst = row[fieldIndex(RideField::dst)];
        r.dst = dst.isNull() ? Fixed4() : dst.value<Fixed4>();
        r.pulse = row[fieldIndex(RideField::pulse)].toInt();
        r.alt = row[fieldIndex(RideField::alt)].toInt();
        rides.append(r);
    }
    return rides;
}
