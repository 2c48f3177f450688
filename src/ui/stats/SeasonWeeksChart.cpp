#include "stats/SeasonWeeksChart.h"

#include "stats/SeasonChartLooks.h"

#include "base/MessageCatalogue.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLineSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>

SeasonWeeksChart::SeasonWeeksChart(QWidget* parent) : QChartView(parent)
{
    QChart* c = chart();
    SeasonChartLooks::apply(c);
    c->legend()->setAlignment(Qt::AlignTop);
    setRenderHint(QPainter::Antialiasing, true);
    setFrameShape(QFrame::NoFrame);

    m_km = new QBarSet(QString(), this);
    m_km->setColor(QColor(125, 129, 164));
    m_km->setBorderColor(QColor(0, 0, 110));
    m_bars = new QBarSeries(c);
    m_bars->setBarWidth(0.8);
    m_bars->append(m_km);
    m_hours = new QLineSeries(c);
    m_hours->setPen(QPen(QColor(200, 60, 0), 2));
    m_hours->setPointsVisible(true);
    c->addSeries(m_bars);
    c->addSeries(m_hours);

    m_weekAxis = new QCategoryAxis(c);
    m_weekAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_weekAxis->setGridLineVisible(false);
    m_kmAxis = new QValueAxis(c);
    m_kmAxis->setLabelFormat(QStringLiteral("%d"));
    m_hoursAxis = new QValueAxis(c);
    m_hoursAxis->setLabelFormat(QStringLiteral("%d"));
    m_hoursAxis->setGridLineVisible(false);
    for (QAbstractAxis* axis :
         std::initializer_list<QAbstractAxis*>{m_weekAxis, m_kmAxis, m_hoursAxis})
        SeasonChartLooks::applyAxis(axis);
    m_hoursAxis->setLabelsColor(QColor(160, 40, 0));
    m_hoursAxis->setTitleBrush(QColor(160, 40, 0));
    c->addAxis(m_weekAxis, Qt::AlignBottom);
    c->addAxis(m_kmAxis, Qt::AlignLeft);
    c->addAxis(m_hoursAxis, Qt::AlignRight);
    m_bars->attachAxis(m_weekAxis);
    m_bars->attachAxis(m_kmAxis);
    m_hours->attachAxis(m_weekAxis);
    m_hours->attachAxis(m_hoursAxis);

    connect(m_bars, &QBarSeries::clicked, this,
            [this](int index, QBarSet*) { emit weekClicked(index); });
}

void SeasonWeeksChart::setTexts(const QString& kmTitle, const QString& hoursTitle)
{
    m_km->setLabel(kmTitle);
    m_hours->setName(hoursTitle);
    m_kmAxis->setTitleText(kmTitle);
    m_hoursAxis->setTitleText(hoursTitle);
}

void SeasonWeeksChart::setWeeks(const QVector<SeasonWeek>& weeks, const QLocale& locale)
{
    m_weeks = weeks;
    m_locale = locale;
    m_labels.clear();
    m_labels.reserve(weeks.size());
    QList<qreal> km;
    QList<QPointF> hours;
    km.reserve(weeks.size());
    hours.reserve(weeks.size());
    qint64 mostKm = 0;
    double mostHours = 0;
    for (int i = 0; i < weeks.size(); ++i) {
        const SeasonWeek& w = weeks.at(i);
        m_labels << weekLabel(w, locale);
        km << qreal(w.km);
        hours << QPointF(i, w.hours());
        mostKm = std::max(mostKm, w.km);
        mostHours = std::max(mostHours, w.hours());
    }
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    // One replacement each, not a change per bar or point.
    m_km->remove(0, m_km->count());
    m_km->append(km);
    m_hours->replace(hours);
    m_weekAxis->setRange(-0.5, std::max<double>(weeks.size(), 1) - 0.5);
    m_kmAxis->setRange(0, SeasonChartLooks::roundMaximum(double(mostKm), 10));
    m_hoursAxis->setRange(0, SeasonChartLooks::roundMaximum(mostHours, 1));
    m_labelStep = 0;
    placeLabels();
    setUpdatesEnabled(updates);
}

QStringList SeasonWeeksChart::weekLabels() const
{
    QStringList out;
    for (const QString& label : m_weekAxis->categoriesLabels())
        out << label;
    return out;
}

QString SeasonWeeksChart::weekTip(int index) const
{
    if (index < 0 || index >= m_weeks.size())
        return QString();
    const SeasonWeek& w = m_weeks.at(index);
    return Msg::format(Msg::SeasonWeekTip,
                       {QString::number(w.week), weekLabel(w, m_locale), m_locale.toString(w.km),
                        m_locale.toString(w.hours(), 'f', 1), m_locale.toString(w.rides)});
}

bool SeasonWeeksChart::viewportEvent(QEvent* event)
{
    // The week under the pointer, anywhere in its column of the plot.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QPointF at = mapToScene(help->pos());
        const int index = qRound(chart()->mapToValue(at, m_bars).x());
        const QString tip = chart()->plotArea().contains(at) ? weekTip(index) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QChartView::viewportEvent(event);
}

void SeasonWeeksChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    placeLabels();
}

void SeasonWeeksChart::placeLabels()
{
    // Every n-th week is labelled, n as small as lets the labels stand
    // apart at the plot's width: a label may take the room of its n weeks.
    const int count = int(m_labels.size());
    if (count == 0) {
        for (const QString& label : m_weekAxis->categoriesLabels())
            m_weekAxis->remove(label);
        return;
    }
    const QFontMetrics metrics(m_weekAxis->labelsFont());
    int widest = 0;
    for (const QString& label : std::as_const(m_labels))
        widest = std::max(widest, metrics.horizontalAdvance(label));
    const double perWeek = std::max(1.0, chart()->plotArea().width()) / count;
    const double room = widest + metrics.averageCharWidth() * 2;
    int step = 1;
    while (step < count && perWeek * step < room)
        ++step;
    // Steps that divide into a month or a quarter read better.
    for (int nice : {1, 2, 4, 8, 13, 26}) {
        if (nice >= step) {
            step = nice;
            break;
        }
    }
    if (step == m_labelStep && m_weekAxis->count() > 0)
        return;
    m_labelStep = step;
    for (const QString& label : m_weekAxis->categoriesLabels())
        m_weekAxis->remove(label);
    for (int i = 0; i < count; i += step)
        m_weekAxis->append(m_labels.at(i), i);
    m_weekAxis->setStartValue(-0.5);
}
