#include "stats/SeasonChartLooks.h"

#include "stats/ChartFrame.h"

#include <QAbstractAxis>
#include <QChart>
#include <QPen>
#include <algorithm>
#include <cmath>

void SeasonChartLooks::apply(QChart* chart)
{
    setChartFrame(chart, QColor(214, 214, 214), QColor(246, 244, 232));
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
