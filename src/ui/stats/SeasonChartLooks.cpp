#include "stats/SeasonChartLooks.h"

#include <QAbstractAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QLinearGradient>
#include <QPen>
#include <algorithm>
#include <cmath>

void SeasonChartLooks::apply(QChart* chart)
{
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, QColor(214, 214, 214));
    gradient.setColorAt(1, QColor(246, 244, 232));
    chart->setBackgroundBrush(gradient);
    chart->setBackgroundPen(Qt::NoPen);
    chart->legend()->setLabelColor(QColor(20, 20, 40));
}

void SeasonChartLooks::applyAxis(QAbstractAxis* axis)
{
    axis->setLabelsColor(QColor(0, 0, 110));
    axis->setTitleBrush(QColor(0, 0, 110));
    axis->setGridLinePen(QPen(QColor(140, 140, 140), 1, Qt::DotLine));
    axis->setLinePen(QPen(QColor(90, 90, 90), 1));
}

double SeasonChartLooks::roundMaximum(double value, double least)
{
    const double v = std::max(value, least);
    const double magnitude = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (m * magnitude >= v)
            return m * magnitude;
    }
    return 10 * magnitude;
}
