#include "stats/ChartFrame.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QLinearGradient>

void setChartFrame(QChart* chart, const QColor& top, const QColor& bottom)
{
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    chart->setBackgroundBrush(gradient);
    chart->setBackgroundPen(Qt::NoPen);
}
