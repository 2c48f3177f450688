#pragma once

#include "stats/SeasonWeeks.h"

#include <QChartView>
#include <QVector>

class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QLineSeries;
class QValueAxis;

// The kilometres of each week of a season as bars, the riding hours as a
// line on an axis of their own at the right. The series and axes are made
// once and refilled for each season.
class SeasonWeeksChart : public QChartView
{
    Q_OBJECT

public:
    explicit SeasonWeeksChart(QWidget* parent = nullptr);

    void setWeeks(const QVector<SeasonWeek>& weeks, const QLocale& locale);
    const QVector<SeasonWeek>& weeks() const { return m_weeks; }
    // The axis titles and the series' names in the language shown.
    void setTexts(const QString& kmTitle, const QString& hoursTitle);
    // The labels shown under the bars, at their bars' indexes.
    QStringList weekLabels() const;
    // What the pointer over a week's bar tells of it.
    QString weekTip(int index) const;

    QBarSeries* bars() const { return m_bars; }

signals:
    void weekClicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void placeLabels();

    QVector<SeasonWeek> m_weeks;
    QStringList m_labels;
    QBarSeries* m_bars = nullptr;
    QBarSet* m_km = nullptr;
    QLineSeries* m_hours = nullptr;
    QCategoryAxis* m_weekAxis = nullptr;
    QValueAxis* m_kmAxis = nullptr;
    QValueAxis* m_hoursAxis = nullptr;
    int m_labelStep = 0;
    QLocale m_locale;
};
