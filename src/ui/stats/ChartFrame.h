#pragma once

#include <QColor>

class QChart;

// The frame the program's charts share: no animation, square corners, no
// shadow, no margin, and a background fading from `top` to `bottom`.
void setChartFrame(QChart* chart, const QColor& top, const QColor& bottom);
