#include "stats/MonthChartView.h"

#include "base/PictureFormat.h"
#include "stats/ChartFrame.h"
#include "stats/Figures.h"

#include <QAreaSeries>
#include <QBrush>
#include <QCategoryAxis>
#include <QFontMetricsF>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsPathItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QLocale>
#include <QPen>
#include <QSet>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>
#include <vector>

namespace {
// A straight line over the plot. Qt finds a line item's bounds by stroking
// its outline whenever it is asked, and placing, painting and removing the
// marks of a month asked for them thousands of times, a fifth of the chart's
// part in a change of month. A line's bounds are its end points and half its
// pen around them.
class MarkLine : public QGraphicsLineItem
{
public:
    using QGraphicsLineItem::QGraphicsLineItem;

    QRectF boundingRect() const override
    {
        // A square cap reaches half the pen beyond the ends; one pixel more
        // covers a cosmetic pen under any scale.
        const qreal room = pen().widthF() / 2 + 1;
        return QRectF(line().p1(), line().p2()).normalized().adjusted(-room, -room, room, room);
    }
};

// Everything that gives the four series their look, by series index.
struct SeriesLook
{
    const char* title;
    MonthChartView::SeriesKind kind;
    QColor fill;
    QColor labelFrame;
    QColor labelBackground;
    qreal connector; // pixels between a point and its label
    enum class Marker { None, Circle, Triangle } marker;
    QColor markerFill;
};

const SeriesLook& look(int index)
{
    static const SeriesLook looks[ChartSeriesCount] = {
        {"Time", MonthChartView::SeriesKind::Area, QColor(128, 255, 128), QColor(0, 128, 64),
         QColor(255, 255, 225), 3, SeriesLook::Marker::Circle, QColor(255, 255, 128)},
        {"Dst", MonthChartView::SeriesKind::Bar, QColor(125, 129, 164), QColor(0, 0, 160),
         QColor(255, 255, 225), 3, SeriesLook::Marker::None, QColor()},
        {"Pulse", MonthChartView::SeriesKind::Area, QColor(198, 0, 0), QColor(255, 0, 0),
         QColor(255, 255, 225), 5, SeriesLook::Marker::Triangle, QColor(255, 255, 0)},
        {"Altitude", MonthChartView::SeriesKind::Area, QColor(255, 255, 74), QColor(0, 64, 128),
         QColor(165, 255, 74), 5, SeriesLook::Marker::Triangle, QColor(128, 255, 128)},
    };
    return looks[index];
}

// Whether the set did not hold the key yet; it does afterwards.
bool insertNew(QSet<QPair<int, int>>& set, const QPair<int, int>& key)
{
    const qsizetype before = set.size();
    set.insert(key);
    return set.size() != before;
}

bool validIndex(int index)
{
    return index >= 0 && index < ChartSeriesCount;
}

const QColor axisTextColour(0, 0, 128); // navy
const QColor connectorColour(255, 255, 128);
const QColor dropLineColour(128, 128, 128);

QFont verdana(int points)
{
    QFont font(QStringLiteral("Verdana"), points);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont dayLabelFont()
{
    return verdana(8);
}

QFont pointLabelFont()
{
    return verdana(7);
}

// A step of the value axis that reads well: 1, 2 or 5 times a power of ten,
// never below 1 since the labels show whole numbers only; for durations a
// step in whole minutes that a clock reading makes sense of.
double niceStep(double raw, bool durations)
{
    if (durations) {
        static constexpr double minutes[] = {1,  2,   5,   10,  15,  20,  30,
                                             60, 120, 180, 240, 360, 480, 720};
        const double rawMinutes = raw * 24 * 60;
        for (double m : minutes) {
            if (m >= rawMinutes)
                return m / (24 * 60);
        }
        return std::ceil(rawMinutes / (24 * 60));
    }
    if (!(raw > 1))
        return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * magnitude >= raw * (1 - 1e-12))
            return m * magnitude;
    }
    return 10 * magnitude;
}
} // namespace

MonthChartView::MonthChartView(QWidget* parent) : QChartView(parent)
{
    QChart* c = chart();
    c->legend()->hide();
    setChartFrame(c, QColor(181, 181, 181), QColor(236, 233, 216));
    setRenderHint(QPainter::Antialiasing, false);
    setRubberBand(QChartView::NoRubberBand);
    setFrameShape(QFrame::NoFrame);
    // Every refresh replaces the labels and marks over the plot; keeping a
    // spatial index of them cost more than finding a few hundred items by
    // walking them.
    scene()->setItemIndexMethod(QGraphicsScene::NoIndex);

    m_dayAxis = new QValueAxis(c);
    m_dayAxis->setGridLineVisible(false);
    m_dayAxis->setMinorGridLineVisible(false);
    m_dayAxis->setMinorTickCount(0);
    c->addAxis(m_dayAxis, Qt::AlignBottom);
    // The axis only maps the days; its line and labels are drawn with the
    // overlay, because Qt shortens two-digit labels to "..." once the days
    // get narrow and cannot move them onto a second line.
    m_dayAxis->setVisible(false);

    m_valueAxis = new QCategoryAxis(c);
    m_valueAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_valueAxis->setLabelsFont(verdana(8));
    m_valueAxis->setLabelsColor(axisTextColour);
    m_valueAxis->setLinePen(QPen(Qt::black, 1));
    QPen grid(QColor(96, 96, 96), 1, Qt::DotLine);
    m_valueAxis->setGridLinePen(grid);
    m_valueAxis->setMinorGridLineVisible(false);
    c->addAxis(m_valueAxis, Qt::AlignLeft);

    for (int i = 0; i < ChartSeriesCount; ++i) {
        if (seriesKind(i) != SeriesKind::Area)
            continue;
        auto* area = new QAreaSeries(c);
        area->setUpperSeries(new QLineSeries(area));
        area->setLowerSeries(new QLineSeries(area));
        area->setName(seriesTitle(i));
        area->setBrush(seriesColour(i));
        area->setPen(Qt::NoPen);
        c->addSeries(area);
        area->attachAxis(m_dayAxis);
        area->attachAxis(m_valueAxis);
        m_areas[i] = area;
    }

    m_titleItem = new QGraphicsSimpleTextItem(c);
    m_titleItem->setFont(verdana(10));
    m_titleItem->setBrush(axisTextColour);
    m_titleItem->setZValue(1000);

    connect(c, &QChart::plotAreaChanged, this, &MonthChartView::refresh);
    connect(c, &QGraphicsWidget::geometryChanged, this, &MonthChartView::fitMargins);
    fitMargins();
    refresh();
}

MonthChartView::~MonthChartView() = default;

QString MonthChartView::seriesTitle(int index)
{
    return validIndex(index) ? QString::fromLatin1(look(index).title) : QString();
}

QColor MonthChartView::seriesColour(int index)
{
    return validIndex(index) ? look(index).fill : QColor();
}

MonthChartView::SeriesKind MonthChartView::seriesKind(int index)
{
    return validIndex(index) ? look(index).kind : SeriesKind::Area;
}

void MonthChartView::setSeriesData(const ChartSeriesData& data)
{
    // A refresh sequence re-reads the same rows several times; only a real
    // change is worth laying the chart out again.
    if (data == m_data && m_hasData)
        return;
    m_hasData = true;
    applyData(data);
    refresh();
    emit stateChanged();
}

void MonthChartView::applyData(const ChartSeriesData& data)
{
    m_data = data;
    for (int i = 0; i < ChartSeriesCount; ++i) {
        if (!m_areas[i])
            continue;
        QList<QPointF> upper;
        QList<QPointF> lower;
        upper.reserve(m_data[i].size());
        lower.reserve(m_data[i].size());
        for (const ChartPoint& p : m_data[i]) {
            upper.append(QPointF(p.day, p.y));
            lower.append(QPointF(p.day, 0));
        }
        m_areas[i]->upperSeries()->replace(upper);
        m_areas[i]->lowerSeries()->replace(lower);
    }
}

void MonthChartView::setActiveSeries(int index)
{
    if (index == m_active)
        return;
    m_active = index;
    refresh();
    emit stateChanged();
}

void MonthChartView::deactivateAll()
{
    setActiveSeries(-1);
}

void MonthChartView::setTitleText(const QString& text)
{
    if (text == m_title)
        return;
    m_title = text;
    m_titleItem->setText(text);
    placeTitle();
    emit stateChanged();
}

void MonthChartView::clearTitle()
{
    setTitleText(QString());
}

void MonthChartView::setDayAxisMaximum(int maximum)
{
    maximum = std::max(maximum, 1);
    if (maximum == m_dayMax)
        return;
    m_dayMax = maximum;
    fitMargins();
    refresh();
    emit stateChanged();
}

QStringList MonthChartView::valueAxisLabels() const
{
    return m_axisLabels;
}

void MonthChartView::copyStateFrom(const MonthChartView& other)
{
    // Nothing to do when already in step, so two charts that follow each other
    // do not keep notifying one another.
    if (&other == this || (m_title == other.m_title && m_dayMax == other.m_dayMax &&
                           m_active == other.m_active && m_data == other.m_data))
        return;
    // One refresh and one notice for the whole change rather than one per part.
    m_title = other.m_title;
    m_titleItem->setText(m_title);
    m_dayMax = other.m_dayMax;
    m_active = other.m_active;
    applyData(other.m_data);
    fitMargins();
    refresh();
    emit stateChanged();
}

void MonthChartView::fitMargins()
{
    // 5 % of the height above and below the plot, 1 % of the width on the
    // left; the title line sits in the top margin.
    const QSizeF size = chart()->size();
    const int titleHeight = qCeil(QFontMetricsF(m_titleItem->font()).height());
    const int top = qRound(size.height() * 0.05);
    const int bottom = qRound(size.height() * 0.05);
    const int left = qRound(size.width() * 0.01);
    const int right = qRound(size.width() * 0.015);
    // Day labels go onto two lines, odd days above even ones, when a day is
    // narrower than its label. The plot's width is only estimated here (the
    // value axis takes about 50 pixels), so that the choice cannot swing back
    // and forth with the plot it changes.
    const QFontMetricsF days(dayLabelFont());
    const qreal perDay = (size.width() - left - right - 50) / m_dayMax;
    const qreal widest = days.horizontalAdvance(QString::number(m_dayMax));
    m_dayLabelRows = widest + 4 <= perDay ? 1 : 2;
    const int dayLabels = qCeil(days.height() * m_dayLabelRows) + 3;
    const QMargins margins(left, top + titleHeight, right, bottom + dayLabels);
    if (chart()->margins() != margins)
        chart()->setMargins(margins);
    placeTitle();
}

void MonthChartView::endBatch()
{
    if (--m_batches == 0 && m_refreshPending) {
        m_refreshPending = false;
        refresh();
    }
}

void MonthChartView::refresh()
{
    if (m_batches > 0) {
        m_refreshPending = true;
        return;
    }
    if (m_refreshing)
        return;
    m_refreshing = true;
    if (m_dayAxis->min() != 0 || m_dayAxis->max() != m_dayMax)
        m_dayAxis->setRange(0, m_dayMax);
    double dataMax = 0;
    if (validIndex(m_active)) {
        for (const ChartPoint& p : m_data[m_active])
            dataMax = std::max(dataMax, p.y);
    }
    updateValueAxis(dataMax);
    for (int i = 0; i < ChartSeriesCount; ++i) {
        if (m_areas[i])
            m_areas[i]->setVisible(i == m_active);
    }
    rebuildOverlay();
    placeTitle();
    m_refreshing = false;
}

void MonthChartView::updateValueAxis(double dataMax)
{
    const bool durations = m_active == TimeSeries;
    const qreal plotHeight = chart()->plotArea().height();
    // Room above the highest point for its label, so it stays inside the plot.
    const qreal labelRoom = QFontMetricsF(pointLabelFont()).height() + 12;
    double top = dataMax;
    if (plotHeight > 2 * labelRoom)
        top = dataMax * plotHeight / (plotHeight - labelRoom);
    else
        top = dataMax * 1.5;
    if (!(top > 0))
        top = durations ? 1.0 / 24 : 10;
    const int wanted = std::max(2, int(plotHeight / 28));
    const double step = niceStep(top / wanted, durations);
    const double max = std::ceil(top / step - 1e-9) * step;

    const QLocale locale;
    QStringList labels;
    for (int i = 0; i * step <= max + step * 1e-9; ++i) {
        const double value = i * step;
        QString text = durations ? durationAxisLabel(value)
                                 : formatPicture(QStringLiteral("#,##0."), value, locale);
        // The axis keys its categories by text; two equal texts (steps finer
        // than the labels' minutes) would silently drop a tick.
        while (labels.contains(text))
            text.append(QChar(0x200B));
        labels.append(text);
    }
    if (labels == m_axisLabels && max == m_axisMax)
        return;
    m_axisLabels = labels;
    m_axisMax = max;
    for (const QString& old : m_valueAxis->categoriesLabels())
        m_valueAxis->remove(old);
    // Labels sit on the upper end of each category, so the first, "0", needs
    // a category that ends at zero.
    m_valueAxis->setStartValue(-step / 1000);
    for (int i = 0; i < labels.size(); ++i)
        m_valueAxis->append(labels[i], i * step);
    m_valueAxis->setRange(0, max);
}

QPointF MonthChartView::toPosition(double day, double value) const
{
    const QRectF plot = chart()->plotArea();
    const double x = plot.left() + plot.width() * day / m_dayMax;
    const double y = plot.bottom() - plot.height() * value / (m_axisMax > 0 ? m_axisMax : 1);
    return QPointF(x, y);
}

void MonthChartView::setReportLooks(bool on)
{
    m_reportLooks = on;
    QChart* c = chart();
    if (on) {
        c->setBackgroundBrush(Qt::white);
        m_valueAxis->setLineVisible(false);
        m_dayAxis->setLineVisible(false);
        m_titleItem->setBrush(QColor(Qt::blue));
        m_titleItem->setFont(verdana(10));
    }
    refresh();
}

void MonthChartView::rebuildOverlay()
{
    m_clippedLayer.reset();
    m_labelLayer.reset();
    const QRectF plot = chart()->plotArea();
    if (plot.isEmpty()) {
        m_dayLayer.reset();
        return;
    }
    // Drawn over the areas and the grid; the clipped layer keeps bars and
    // markers of an overfull plot inside it, labels may reach into the margin.
    m_clippedLayer = std::make_unique<QGraphicsRectItem>(plot.adjusted(-4, -4, 4, 0), chart());
    m_clippedLayer->setPen(Qt::NoPen);
    m_clippedLayer->setFlag(QGraphicsItem::ItemClipsChildrenToShape);
    m_clippedLayer->setZValue(900);
    m_labelLayer = std::make_unique<QGraphicsRectItem>(QRectF(), chart());
    m_labelLayer->setPen(Qt::NoPen);
    m_labelLayer->setZValue(950);

    // The foot of the plot, where Qt would draw the day axis with its ticks.
    if (!m_reportLooks) {
        auto* foot =
            new MarkLine(QLineF(plot.bottomLeft(), plot.bottomRight()), m_clippedLayer.get());
        foot->setPen(QPen(Qt::black, 1));
    }
    const DayLabelsDrawn days{plot, m_dayMax, m_dayLabelRows, m_reportLooks};
    if (!m_dayLayer || !(days == m_dayLayerDrawn)) {
        m_dayLayer = std::make_unique<QGraphicsRectItem>(QRectF(), chart());
        m_dayLayer->setPen(Qt::NoPen);
        m_dayLayer->setZValue(950);
        addDayLabels(m_dayLayer.get());
        m_dayLayerDrawn = days;
    }

    if (!validIndex(m_active))
        return;
    if (seriesKind(m_active) == SeriesKind::Bar)
        addBarMarks(m_clippedLayer.get(), m_labelLayer.get());
    else
        addAreaMarks(m_clippedLayer.get(), m_labelLayer.get());
}

namespace {
// Places framed labels above their anchors, lifting a label above any label
// placed before it that it would cover, so that the labels of rides close
// together stay readable. A label that would have to be lifted out of the
// plot is left out: above that height labels would only pile up on one
// another, unreadable, and every one kept there would slow down the placing
// of the next. So the labels kept are those that fit in the plot, and a
// month of any number of rides is labelled in n log n steps.
class LabelPlacer
{
public:
    LabelPlacer(QGraphicsItem* layer, const SeriesLook& look, const QRectF& plot, qreal topLimit,
                qreal connector = -1)
        : m_layer(layer), m_look(look), m_font(pointLabelFont()), m_metrics(m_font), m_plot(plot),
          m_topLimit(topLimit), m_connector(connector >= 0 ? connector : look.connector)
    {
    }

    void place(const QPointF& anchor, const QString& text)
    {
        // The bars of a crowded day fan out past the plot, where they are
        // cut off; so are their labels.
        if (anchor.x() < m_plot.left() || anchor.x() > m_plot.right())
            return;
        const QSizeF size(m_metrics.horizontalAdvance(text) + 5, m_metrics.height() + 2);
        QRectF box(QPointF(anchor.x() - size.width() / 2, anchor.y() - m_connector - size.height()),
                   size);
        if (!lift(box))
            return;
        box.moveTop(std::max(box.top(), m_topLimit));
        m_placed.emplace(box.left(), box);
        m_widest = std::max(m_widest, box.width());

        auto* connector = new MarkLine(QLineF(anchor, QPointF(anchor.x(), box.bottom())), m_layer);
        connector->setPen(QPen(connectorColour, 1));
        auto* frame = new QGraphicsRectItem(box, m_layer);
        frame->setPen(QPen(m_look.labelFrame, 1, Qt::DotLine));
        frame->setBrush(m_look.labelBackground);
        // The font before the text: the text is laid out once.
        auto* label = new QGraphicsSimpleTextItem(frame);
        label->setFont(m_font);
        label->setText(text);
        label->setBrush(Qt::black);
        label->setPos(box.left() + 3, box.top() + 1);
    }

private:
    // Moves the box up above every placed label it covers; false when it
    // had to leave the plot for that.
    bool lift(QRectF& box) const
    {
        // Only labels beside it can be in its way; they are found by their
        // left edges, none wider than the widest placed.
        std::vector<QRectF> beside;
        const auto end = m_placed.lower_bound(box.right());
        for (auto it = m_placed.upper_bound(box.left() - m_widest); it != end; ++it) {
            if (it->second.right() > box.left() && it->second.top() < box.bottom())
                beside.push_back(it->second);
        }
        // From the lowest up: once above one, the box is above every lower one.
        std::sort(beside.begin(), beside.end(),
                  [](const QRectF& a, const QRectF& b) { return a.top() > b.top(); });
        bool lifted = false;
        for (const QRectF& other : beside) {
            if (box.top() <= m_topLimit)
                break;
            if (box.intersects(other)) {
                box.moveBottom(other.top() - 1);
                lifted = true;
            }
        }
        return !lifted || box.top() >= m_topLimit;
    }

    QGraphicsItem* m_layer;
    const SeriesLook& m_look;
    QFont m_font;
    QFontMetricsF m_metrics;
    QRectF m_plot;
    qreal m_topLimit;
    qreal m_connector;
    // The placed labels by their left edges.
    std::multimap<qreal, QRectF> m_placed;
    qreal m_widest = 0;
};
} // namespace

void MonthChartView::addAreaMarks(QGraphicsRectItem* clipped, QGraphicsRectItem* labels)
{
    const SeriesLook& l = look(m_active);
    const bool durations = m_active == TimeSeries;
    LabelPlacer placer(labels, l, chart()->plotArea(), 0, m_reportLooks && !durations ? 8 : -1);
    if (m_reportLooks) {
        // The line through the points.
        QPolygonF line;
        for (const ChartPoint& p : m_data[m_active])
            line << toPosition(p.day, p.y);
        QPainterPath path;
        path.addPolygon(line);
        auto* through = new QGraphicsPathItem(path, clipped);
        through->setPen(QPen(Qt::black, 1, durations ? Qt::DotLine : Qt::SolidLine));
    }
    // A mark that another has already drawn to the pixel is left out: the
    // rides of a crowded day would otherwise cost an item each, and a month
    // of thousands of them seconds to draw, for nothing more to see.
    QSet<QPair<int, int>> marked;
    std::unordered_map<int, qreal> dropTops;
    for (const ChartPoint& p : m_data[m_active]) {
        const QPointF at = toPosition(p.day, p.y);
        const QPointF base = toPosition(p.day, 0);
        placer.place(QPointF(at.x(), at.y() - 4), p.label);
        const int column = qRound(at.x());
        const auto drawnDrop = dropTops.find(column);
        if (drawnDrop == dropTops.end() || at.y() < drawnDrop->second) {
            dropTops[column] = at.y();
            auto* drop = new MarkLine(QLineF(at, base), clipped);
            drop->setPen(QPen(dropLineColour, 1, Qt::DotLine));
        }
        if (!insertNew(marked, {column, qRound(at.y())}))
            continue;
        if (m_reportLooks && durations) {
            const QPolygonF diamond{QPointF(at.x(), at.y() - 4), QPointF(at.x() + 4, at.y()),
                                    QPointF(at.x(), at.y() + 4), QPointF(at.x() - 4, at.y())};
            auto* marker = new QGraphicsPolygonItem(diamond, clipped);
            marker->setBrush(l.markerFill);
            marker->setPen(QPen(Qt::black, 1));
        } else if (l.marker == SeriesLook::Marker::Circle) {
            auto* circle =
                new QGraphicsEllipseItem(QRectF(at.x() - 2.5, at.y() - 2.5, 5, 5), clipped);
            circle->setBrush(l.markerFill);
            circle->setPen(QPen(dropLineColour, 1, Qt::DotLine));
        } else {
            const QPolygonF triangle{QPointF(at.x(), at.y() - 4), QPointF(at.x() + 4, at.y() + 3),
                                     QPointF(at.x() - 4, at.y() + 3)};
            auto* marker = new QGraphicsPolygonItem(triangle, clipped);
            marker->setBrush(l.markerFill);
            marker->setPen(QPen(Qt::black, 1));
        }
    }
}

void MonthChartView::addBarMarks(QGraphicsRectItem* clipped, QGraphicsRectItem* labels)
{
    const SeriesLook& l = look(m_active);
    const QVector<ChartPoint>& points = m_data[m_active];
    const qreal width = chart()->plotArea().width() * 0.1 * 0.3;
    LabelPlacer placer(labels, l, chart()->plotArea(), 0);
    // Rides of one day keep the full bar width and fan out by half a bar each,
    // so every bar and its label stay visible without reaching far into the
    // neighbouring days.
    for (int i = 0; i < points.size();) {
        int j = i;
        while (j < points.size() && points[j].day == points[i].day)
            ++j;
        const int count = j - i;
        for (int k = 0; k < count; ++k) {
            const ChartPoint& p = points[i + k];
            const QPointF top = toPosition(p.day, p.y);
            const QPointF base = toPosition(p.day, 0);
            const qreal centre = top.x() + (k - (count - 1) / 2.0) * width / 2;
            QRectF bar(QPointF(centre - width / 2, top.y()), QPointF(centre + width / 2, base.y()));
            // A crowded day fans out past the plot, where its bars are cut off.
            if (bar.right() < clipped->rect().left() || bar.left() > clipped->rect().right())
                continue;
            auto* item = new QGraphicsRectItem(bar.normalized(), clipped);
            item->setBrush(m_reportLooks ? QColor(125, 130, 164) : l.fill);
            item->setPen(QPen(Qt::black, 1));
            placer.place(QPointF(centre, top.y()), p.label);
        }
        i = j;
    }
}

void MonthChartView::addDayLabels(QGraphicsRectItem* layer)
{
    const QFont font = dayLabelFont();
    const QFontMetricsF metrics(font);
    const qreal top = chart()->plotArea().bottom() + 2;
    for (int day = 0; day <= m_dayMax; ++day) {
        auto* label = new QGraphicsSimpleTextItem(layer);
        label->setFont(font);
        label->setText(QString::number(day));
        label->setBrush(Qt::black);
        const qreal row = m_dayLabelRows > 1 && day % 2 == 0 ? metrics.height() : 0;
        const QPointF at = toPosition(day, 0);
        label->setPos(at.x() - label->boundingRect().width() / 2, top + row);
    }
}

void MonthChartView::placeTitle()
{
    const QRectF plot = chart()->plotArea();
    const QRectF text = m_titleItem->boundingRect();
    const qreal right = plot.isEmpty() ? chart()->size().width() : plot.right();
    m_titleItem->setPos(right - text.width(), qRound(chart()->size().height() * 0.025));
}
