#pragma once

#include "base/Fixed4.h"
#include "stats/Figures.h"
#include "stats/MonthChartData.h"

#include <QString>
#include <QVector>

class ADOTable;

// The month view's figures read from the ride table. Each reader walks the
// rows it needs and leaves the table's filter as it found it; the caller
// keeps the bound controls detached around the call.

// The figures of the table's current set (the month in force).
MonthFigures readMonthFigures(ADOTable& table);
// The summed durations of a cyclist's year, as the figures box shows them.
QString readYearHours(ADOTable& table, const QString& cyclist, int year);
// The odometer reading of a cyclist's last ride of a year (zero without one).
Fixed4 readYearOdometer(ADOTable& table, const QString& cyclist, int year);
// The chart's points: the rides of the table's current set.
QVector<ChartRide> readChartRides(const ADOTable& table);
