#pragma once

#include "base/Fixed4.h"

#include <QLocale>
#include <QString>
#include <QVector>
#include <QtGlobal>

// What the month figures need of one ride. An empty field of the ride is
// given as 0.
struct RideFigures
{
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    Fixed4 dst;
    int alt = 0;
    int pulse = 0;
};

// The month box as shown: duration total, whole kilometres, elevation gain and
// average pulse.
struct MonthFigures
{
    QString hours;
    qint64 km = 0;
    qint64 alt = 0;
    QString pulse;
};

// Kilometres are each ride's distance rounded to a whole kilometre, halves to
// the even neighbour, then summed. The average pulse leaves out rides without
// a pulse and drops the remainder; it is "0" when no ride has one. The sums
// are 64-bit, so no month of real rides can overflow them.
MonthFigures computeMonthFigures(const QVector<RideFigures>& rides);

// The year's kilometres are the odometer reading of its last ride, shown in
// the general form after the year box is refreshed ...
QString yearKmText(Fixed4 lastOdo, const QLocale& locale);
// ... and with two decimals right after the odometer chain was recomputed.
QString odoTotalText(Fixed4 odo, const QLocale& locale);

// The month chart's title line: "Březen 245km".
QString chartTitle(const QString& monthCaption, qint64 km);

// The upper end of the day axis: the month's number of days plus one, so the
// last day is not drawn on the frame. Years follow the Gregorian leap rule
// throughout 0..65535, year 0 included (it is a leap year, as in astronomical
// year numbering). A month outside 1..12 gives 32, the axis of a new chart.
int dayAxisMaximum(int year, int month);

// Label of a duration point: its share of the month's total, "#0.# %" (a total
// of zero gives "0 %").
QString durationShareLabel(qint64 seconds, qint64 totalSeconds, const QLocale& locale);
// Label of a distance, pulse or elevation point: "#,##0.###".
QString valueLabel(double value, const QLocale& locale);
// Label of the value axis while durations are shown: a fraction of a day as a
// duration "h:mm" (0.5 -> "12:00"), hours going on past a day (1.25 ->
// "30:00") as a duration total does, so the axis never starts again at 0:00
// above a long ride. A negative fraction counts by its size (-0.25 ->
// "6:00"), the time is taken to the nearest millisecond and the seconds are
// cut off. Not-a-number, infinities and absurd sizes give an empty text.
QString durationAxisLabel(double fractionOfDay);
