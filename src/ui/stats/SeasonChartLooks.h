#pragma once

class QChart;
class QAbstractAxis;

// The season's charts look like the month chart: a light background that
// stays readable under every theme, no animation, no rounded frame.
namespace SeasonChartLooks {
void apply(QChart* chart);
void applyAxis(QAbstractAxis* axis);
} // namespace SeasonChartLooks
