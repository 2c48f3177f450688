#pragma once

#include "toolkit/ControlProperties.h"

#include "stats/MonthChartData.h"

#include <QChartView>
#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

class QAreaSeries;
class QCategoryAxis;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QValueAxis;

// The month chart: the rides of one month against the day, one of four
// quantities at a time. The main window shows one; the printed report keeps a
// second one in step with it through stateChanged() and copyStateFrom().
//
// Only the duration, pulse and elevation areas are Qt series of the chart;
// the distance bars, the point markers, the point labels and the title line are
// drawn as items over the plot, because Qt Charts has no bars on a numeric day
// axis, no per-point label texts and no right-aligned title.
class MonthChartView : public QChartView
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES

public:
    enum class SeriesKind { Area, Bar };

    explicit MonthChartView(QWidget* parent = nullptr);
    ~MonthChartView() override;

    // The fixed properties of series 0..3; an index outside that range gives
    // an empty title, an invalid colour and Area.
    static QString seriesTitle(int index);
    static QColor seriesColour(int index);
    static SeriesKind seriesKind(int index);

    // Changes made while a batch is open are laid out once, when the last
    // one closes: a month's title, day axis and points, or the switch from
    // one series to another, cost one layout of the chart instead of several.
    class Batch
    {
    public:
        explicit Batch(MonthChartView* view) : m_view(view) { ++m_view->m_batches; }
        ~Batch() { m_view->endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        MonthChartView* m_view;
    };

    // Replaces the points of all four series, drawn or not.
    void setSeriesData(const ChartSeriesData& data);
    const ChartSeriesData& seriesData() const { return m_data; }

    // Draws only the series of that index. An index outside 0..3 draws none
    // but is kept, so activeSeries() returns what was asked for.
    void setActiveSeries(int index);
    int activeSeries() const { return m_active; }
    // Draws none; activeSeries() is -1 afterwards.
    void deactivateAll();

    // The one title line, right-aligned above the plot.
    void setTitleText(const QString& text);
    void clearTitle();
    QString titleText() const { return m_title; }

    // The day axis runs from 0 to this value (at least 1), a label at every day.
    void setDayAxisMaximum(int maximum);
    int dayAxisMaximum() const { return m_dayMax; }

    // The labels of the value axis from the bottom up, as they are drawn now.
    QStringList valueAxisLabels() const;

    // The looks of the printed report: a white background, a blue title,
    // the distance bars a shade bluer, diamonds at the durations, a line
    // through the points of an area (dotted for durations), labels hanging
    // further from their points, and no axis line.
    void setReportLooks(bool on);
    bool reportLooks() const { return m_reportLooks; }

    // Takes over the points, title, day range and active series of another
    // chart, so that a second chart can mirror this one.
    void copyStateFrom(const MonthChartView& other);

signals:
    // Any of the points, title, day range or active series changed.
    void stateChanged();

private:
    void applyData(const ChartSeriesData& data);
    void fitMargins();
    void refresh();
    void updateValueAxis(double dataMax);
    void rebuildOverlay();
    void placeTitle();
    void addDayLabels(QGraphicsRectItem* layer);
    void addAreaMarks(QGraphicsRectItem* clipped, QGraphicsRectItem* labels);
    void addBarMarks(QGraphicsRectItem* clipped, QGraphicsRectItem* labels);
    QPointF toPosition(double day, double value) const;

    bool m_hasData = false;
    bool m_reportLooks = false;
    ChartSeriesData m_data;
    int m_active = DstSeries;
    QString m_title;
    int m_dayMax = 32;
    int m_dayLabelRows = 1;

    QValueAxis* m_dayAxis = nullptr;
    QCategoryAxis* m_valueAxis = nullptr;
    std::array<QAreaSeries*, ChartSeriesCount> m_areas{};
    QGraphicsSimpleTextItem* m_titleItem = nullptr;
    // Rebuilt whenever the plot, the range or the points change; held here so
    // that a rebuild simply drops the previous ones.
    std::unique_ptr<QGraphicsRectItem> m_clippedLayer;
    std::unique_ptr<QGraphicsRectItem> m_labelLayer;
    // The days under the plot change only with the plot, the month's length
    // and the looks: kept while those stay.
    struct DayLabelsDrawn
    {
        QRectF plot;
        int dayMax = 0;
        int rows = 0;
        bool reportLooks = false;
        bool operator==(const DayLabelsDrawn&) const = default;
    };
    std::unique_ptr<QGraphicsRectItem> m_dayLayer;
    DayLabelsDrawn m_dayLayerDrawn;
    QStringList m_axisLabels;
    double m_axisMax = 0.0;
    bool m_refreshing = false;
    int m_batches = 0;
    bool m_refreshPending = false;
    void endBatch();
};
