#pragma once

#include "stats/Figures.h"
#include "stats/SeasonRide.h"

#include <QLocale>
#include <QString>
#include <QVector>
#include <optional>

// One row of the season's month table: a month, or the year's total.
struct SeasonMonthRow
{
    int month = 0; // 1..12; 0 for the year's total row
    int rides = 0;
    // The month box's figures of these rides, computed by the month view's
    // own rules (durations, whole kilometres, elevation, average pulse).
    MonthFigures figures;
    // The change of kilometres against the same month (or the whole year)
    // a year earlier, in percent; nothing when that one has no kilometres.
    std::optional<double> changePercent;
};

// Twelve months and the total row, in that order.
QVector<SeasonMonthRow> seasonMonths(const QVector<SeasonRide>& rides, int year);

// A change in percent as the table shows it: signed, one decimal, in the
// locale ("+12.5 %", "−3.0 %"); empty for nothing.
QString changePercentText(const std::optional<double>& percent, const QLocale& locale);
