#include "stats/SeasonYearsChart.h"

#include "stats/SeasonChartLooks.h"

#include <QCategoryAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

namespace {
// The year shown first, then older years fading.
const QColor lineColours[SeasonYearsChart::lineCount] = {QColor(190, 20, 20), QColor(20, 70, 170),
                                                         QColor(30, 130, 60), QColor(150, 100, 20),
                                                         QColor(110, 110, 110)};
} // namespace

SeasonYearsChart::SeasonYearsChart(QWidget* parent) : QChartView(parent)
{
    QChart* c = chart();
    SeasonChartLooks::apply(c);
    c->legend()->setAlignment(Qt::AlignTop);
    setRenderHint(QPainter::Antialiasing, true);
    setFrameShape(QFrame::NoFrame);

    m_dayAxis = new QCategoryAxis(c);
    m_dayAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    m_kmAxis = new QValueAxis(c);
    m_kmAxis->setLabelFormat(QStringLiteral("%d"));
    SeasonChartLooks::applyAxis(m_dayAxis);
    SeasonChartLooks::applyAxis(m_kmAxis);
    c->addAxis(m_dayAxis, Qt::AlignBottom);
    c->addAxis(m_kmAxis, Qt::AlignLeft);
    for (int i = 0; i < lineCount; ++i) {
        auto* line = new QLineSeries(c);
        c->addSeries(line);
        line->attachAxis(m_dayAxis);
        line->attachAxis(m_kmAxis);
        m_lines.at(std::size_t(i)) = line;
    }
    m_today = new QScatterSeries(c);
    m_today->setMarkerSize(11);
    m_today->setColor(lineColours[0]);
    m_today->setBorderColor(Qt::black);
    c->addSeries(m_today);
    m_today->attachAxis(m_dayAxis);
    m_today->attachAxis(m_kmAxis);
    // The dot is no year of its own.
    for (QLegendMarker* marker : c->legend()->markers(m_today))
        marker->setVisible(false);
}

void SeasonYearsChart::setKmTitle(const QString& title)
{
    m_kmAxis->setTitleText(title);
}

void SeasonYearsChart::setCurves(const QVector<SeasonCurve>& curves, const QDate& today,
                                 const QLocale& locale)
{
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    qint64 most = 0;
    QList<QPointF> marker;
    for (int i = 0; i < lineCount; ++i) {
        QLineSeries* line = m_lines.at(std::size_t(i));
        if (i >= curves.size()) {
            line->clear();
            line->setVisible(false);
            continue;
        }
        const SeasonCurve& curve = curves.at(i);
        QList<QPointF> points;
        points.reserve(curve.km.size());
        for (int d = 0; d < curve.km.size(); ++d)
            points << QPointF(d + 1, double(curve.km.at(d)));
        line->replace(points);
        line->setName(QString::number(curve.year));
        QColor colour = lineColours[i];
        line->setPen(QPen(colour, i == 0 ? 3.5 : 1.6, Qt::SolidLine, Qt::RoundCap));
        line->setVisible(true);
        if (!curve.km.isEmpty())
            most = std::max(most, curve.km.last());
        if (curve.year == today.year() && !curve.km.isEmpty()) {
            marker << points.last();
            m_today->setColor(colour);
        }
    }
    m_today->replace(marker);
    const int year = curves.isEmpty() ? today.year() : curves.first().year;
    labelMonths(year, locale);
    m_kmAxis->setRange(0, SeasonChartLooks::roundMaximum(double(most), 100));
    setUpdatesEnabled(updates);
}

void SeasonYearsChart::labelMonths(int year, const QLocale& locale)
{
    // A leap year moves the months by a day; the labels are laid anew only
    // when that or the language changes.
    const int days = QDate(year, 1, 1).daysInYear();
    const QString key =
        locale.name() + QString::number(days) + locale.monthName(1, QLocale::ShortFormat);
    if (key == m_monthsOf)
        return;
    m_monthsOf = key;
    for (const QString& label : m_dayAxis->categoriesLabels())
        m_dayAxis->remove(label);
    m_dayAxis->setStartValue(0.5);
    for (int month = 1; month <= 12; ++month) {
        const QDate last(year, month, QDate(year, month, 1).daysInMonth());
        m_dayAxis->append(locale.standaloneMonthName(month, QLocale::ShortFormat),
                          last.dayOfYear() + 0.5);
    }
    m_dayAxis->setRange(0.5, days + 0.5);
}
