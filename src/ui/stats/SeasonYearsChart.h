#pragma once

#include "stats/SeasonCurves.h"

#include <QChartView>
#include <QDate>
#include <QVector>
#include <array>

class QCategoryAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The kilometres of a year summed day by day, beside up to four years before
// it: one line a year, the year shown the boldest, a dot at today on the
// current year's line. The lines and axes are made once and refilled.
class SeasonYearsChart : public QChartView
{
    Q_OBJECT

public:
    static constexpr int lineCount = 5;

    explicit SeasonYearsChart(QWidget* parent = nullptr);

    // The curves newest first, as seasonCurves() gives them; the dot is put
    // on the curve of today's year when there is one.
    void setCurves(const QVector<SeasonCurve>& curves, const QDate& today, const QLocale& locale);
    void setKmTitle(const QString& title);

    QLineSeries* line(int index) const { return m_lines.at(std::size_t(index)); }
    QScatterSeries* todayMarker() const { return m_today; }

private:
    void labelMonths(int year, const QLocale& locale);

    std::array<QLineSeries*, lineCount> m_lines{};
    QScatterSeries* m_today = nullptr;
    QCategoryAxis* m_dayAxis = nullptr;
    QValueAxis* m_kmAxis = nullptr;
    QString m_monthsOf;
};
