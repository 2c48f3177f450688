#pragma once

class QChart;
class QAbstractAxis;

// The season's charts look like the month chart: a light background that
// stays readable under every theme, no animation, no rounded frame.
namespace SeasonChartLooks {
void apply(QChart* chart);
void applyAxis(QAbstractAxis* axis);
// A round upper end (1, 2, 2.5 or 5 times a power of ten) for an axis that
// shows `value`, never below `least`.
double roundMaximum(double value, double least);
} // namespace SeasonChartLooks
