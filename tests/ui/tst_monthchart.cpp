#include "SampleMonth.h"
#include "ScopedLocale.h"
#include "TestMain.h"

#include "stats/MonthChartData.h"
#include "stats/MonthChartView.h"

#include <QApplication>
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLineSeries>
#include <QMap>
#include <QSignalSpy>

namespace {
ChartRide ride(int day, QTime time, double km, int pulse, int alt)
{
    return ChartRide{day, time, Fixed4::fromDouble(km), pulse, alt};
}

// Whether any pixel of the image has exactly this colour.
bool hasColour(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour.rgb())
                return true;
        }
    }
    return false;
}

QImage render(MonthChartView& view)
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QAreaSeries* areaNamed(MonthChartView& view, const QString& name)
{
    for (QAbstractSeries* s : view.chart()->series()) {
        if (s->name() == name)
            return qobject_cast<QAreaSeries*>(s);
    }
    return nullptr;
}

// The texts drawn below the plot, left to right.
QStringList dayLabels(MonthChartView& view)
{
    QCoreApplication::processEvents();
    QMap<qreal, QString> byX;
    for (QGraphicsItem* item : view.scene()->items()) {
        auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item);
        if (text && text->isVisible() && text->scenePos().y() > view.chart()->plotArea().bottom())
            byX.insert(text->scenePos().x(), text->text());
    }
    return byX.values();
}

// The framed point labels over the plot.
QList<QRectF> labelBoxes(MonthChartView& view)
{
    QList<QRectF> boxes;
    for (QGraphicsItem* item : view.scene()->items()) {
        auto* frame = dynamic_cast<QGraphicsRectItem*>(item);
        if (frame && frame->childItems().size() == 1 &&
            dynamic_cast<QGraphicsSimpleTextItem*>(frame->childItems().first()))
            boxes.append(frame->rect());
    }
    return boxes;
}

QStringList numbers(int from, int to)
{
    QStringList texts;
    for (int n = from; n <= to; ++n)
        texts.append(QString::number(n));
    return texts;
}
} // namespace

class TestMonthChart : public QObject
{
    Q_OBJECT

private slots:
    void chartSeries();
    void labelFormats_data();
    void labelFormats();
    void seriesLook();
    void oneSeriesDrawnAtATime();
    void axesAndTitle();
    void pointLabels_data();
    void pointLabels();
    void mirrorFollowsEveryChange();
    void batchedChangesLookTheSame();
};

void TestMonthChart::chartSeries()
{
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    // Two rides of one day: two points of that day in every series, in order.
    ChartSeriesData s = buildChartSeries(
        {ride(5, QTime(1, 0), 10, 120, 100), ride(5, QTime(3, 0), 30.5, 140, 300)}, en);
    for (const auto& series : s) {
        QCOMPARE(series.size(), 2);
        QCOMPARE(series[0].day, 5);
        QCOMPARE(series[1].day, 5);
    }
    QCOMPARE(s[TimeSeries][0].label, QStringLiteral("25 %"));
    QCOMPARE(s[TimeSeries][1].label, QStringLiteral("75 %"));
    QCOMPARE(s[TimeSeries][1].y, 3.0 / 24);
    QCOMPARE(s[DstSeries][1].y, 30.5);
    QCOMPARE(s[PulseSeries][0].y, 120.0);

    // One decimal of a share; milliseconds do not count.
    s = buildChartSeries({ride(1, QTime(1, 0, 0, 999), 0, 0, 0), ride(2, QTime(2, 0), 0, 0, 0)},
                         en);
    QCOMPARE(s[TimeSeries][0].label, QStringLiteral("33.3 %"));
    QCOMPARE(s[TimeSeries][1].label, QStringLiteral("66.7 %"));

    // No duration at all: every share 0 %, no division by zero.
    s = buildChartSeries({ride(1, QTime(), 12, 0, 0), ride(2, QTime(0, 0), 3, 0, 0)}, en);
    QCOMPARE(s[TimeSeries][0].label, QStringLiteral("0 %"));
    QCOMPARE(s[TimeSeries][1].label, QStringLiteral("0 %"));

    for (const auto& series : buildChartSeries({}, en))
        QVERIFY(series.isEmpty());
}

void TestMonthChart::labelFormats_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("km");
    QTest::addColumn<int>("alt");
    QTest::addColumn<QString>("kmLabel");
    QTest::addColumn<QString>("altLabel");

    const QString nbsp = QStringLiteral("\u00A0"); // the Czech group separator
    QTest::newRow("cs grouped") << "cs_CZ" << 1234.5 << 1234 << "1" + nbsp + "234,5"
                                << "1" + nbsp + "234";
    QTest::newRow("cs below one") << "cs_CZ" << 0.25 << 0 << "0,25"
                                  << "0";
    QTest::newRow("en three decimals") << "en_US" << 12.3456 << 12345 << "12.346"
                                       << "12,345";
}

void TestMonthChart::labelFormats()
{
    QFETCH(QString, locale);
    QFETCH(double, km);
    QFETCH(int, alt);
    const ChartSeriesData s = buildChartSeries({ride(3, QTime(1, 0), km, 0, alt)}, QLocale(locale));
    QTEST(s[DstSeries][0].label, "kmLabel");
    QTEST(s[AltitudeSeries][0].label, "altLabel");
}

void TestMonthChart::seriesLook()
{
    const QStringList titles{"Time", "Dst", "Pulse", "Altitude"};
    const QList<QColor> colours{QColor(128, 255, 128), QColor(125, 129, 164), QColor(198, 0, 0),
                                QColor(255, 255, 74)};
    MonthChartView view;
    for (int i = 0; i < ChartSeriesCount; ++i) {
        QCOMPARE(MonthChartView::seriesTitle(i), titles[i]);
        QCOMPARE(MonthChartView::seriesColour(i), colours[i]);
        const bool bar = i == DstSeries;
        QCOMPARE(MonthChartView::seriesKind(i),
                 bar ? MonthChartView::SeriesKind::Bar : MonthChartView::SeriesKind::Area);
        // Areas are filled with their colour, without a line.
        QAreaSeries* area = areaNamed(view, titles[i]);
        QCOMPARE(area != nullptr, !bar);
        if (area) {
            QCOMPARE(area->brush().color(), colours[i]);
            QCOMPARE(area->pen().style(), Qt::NoPen);
        }
    }
    QVERIFY(MonthChartView::seriesTitle(4).isEmpty());
    QVERIFY(!view.chart()->legend()->isVisible());
}

void TestMonthChart::oneSeriesDrawnAtATime()
{
    MonthChartView view;
    view.resize(753, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.activeSeries(), int(DstSeries)); // what a new chart shows
    view.setSeriesData(buildChartSeries(sampleChartMonth(), QLocale()));

    // Seen by the colours on screen: only the active series' colour is there.
    auto drawn = [&](int active) {
        const QImage image = render(view);
        for (int i = 0; i < ChartSeriesCount; ++i) {
            // The elevation markers wear the colour of the durations.
            if (active == AltitudeSeries && i == TimeSeries)
                continue;
            if (hasColour(image, MonthChartView::seriesColour(i)) != (i == active))
                return false;
        }
        return true;
    };
    QVERIFY(drawn(DstSeries));
    for (int i : {2, 0, 3, 1}) {
        view.deactivateAll();
        QCOMPARE(view.activeSeries(), -1);
        QVERIFY(drawn(-1));
        view.setActiveSeries(i);
        QCOMPARE(view.activeSeries(), i);
        QVERIFY2(drawn(i), qPrintable(MonthChartView::seriesTitle(i)));
    }
    view.setActiveSeries(7); // out of range: nothing drawn, the value kept
    QCOMPARE(view.activeSeries(), 7);
    QVERIFY(drawn(-1));

    // Re-reading fills the series that are not shown as well.
    view.setActiveSeries(PulseSeries);
    view.setSeriesData({});
    view.setSeriesData(buildChartSeries(sampleChartMonth(), QLocale()));
    const QLineSeries* altitude = areaNamed(view, "Altitude")->upperSeries();
    QCOMPARE(altitude->count(), 12);
    QCOMPARE(altitude->at(8), QPointF(22, 2130));
    QCOMPARE(areaNamed(view, "Altitude")->lowerSeries()->at(8), QPointF(22, 0));
    view.setSeriesData({});
    QCOMPARE(areaNamed(view, "Time")->upperSeries()->count(), 0);
    QVERIFY(drawn(-1));
}

void TestMonthChart::axesAndTitle()
{
    MonthChartView view;
    view.resize(753, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // Every day of the range is labelled, also when the days get narrow.
    QCOMPARE(view.dayAxisMaximum(), 32);
    QCOMPARE(dayLabels(view), numbers(0, 32));
    view.setDayAxisMaximum(30);
    QCOMPARE(dayLabels(view), numbers(0, 30));
    view.resize(300, 200);
    QCOMPARE(dayLabels(view), numbers(0, 30));
    view.resize(753, 200);

    view.setTitleText(QStringLiteral("Únor 0km"));
    QCOMPARE(view.titleText(), QStringLiteral("Únor 0km"));

    // The value axis starts at 0, ends on a label above the highest point and
    // writes whole numbers in the user's locale ...
    auto* values = qobject_cast<QCategoryAxis*>(view.chart()->axes(Qt::Vertical).value(0));
    QVERIFY(values);
    const ScopedLocale czech(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    view.setSeriesData(buildChartSeries(sampleChartMonth(), QLocale()));
    view.setActiveSeries(AltitudeSeries);
    QStringList labels = view.valueAxisLabels();
    QCOMPARE(values->categoriesLabels(), labels);
    QVERIFY2(labels.size() >= 3, qPrintable(labels.join('|')));
    QCOMPARE(labels.first(), QStringLiteral("0"));
    const double top = QString(labels.last()).remove(QChar(0xA0)).toDouble();
    QVERIFY2(top >= 2130 && labels.last().contains(QChar(0xA0)), qPrintable(labels.join('|')));
    QCOMPARE(values->min(), 0.0);
    QCOMPARE(values->max(), top);

    // ... and times of day while the durations are shown (longest ride 4:15).
    view.setActiveSeries(TimeSeries);
    labels = view.valueAxisLabels();
    QCOMPARE(labels.first(), QStringLiteral("0:00"));
    const QTime last = QTime::fromString(labels.last(), QStringLiteral("h:mm"));
    QVERIFY2(last.isValid() && last >= QTime(4, 15), qPrintable(labels.join('|')));
    QCOMPARE(values->max() * 86400000, double(last.msecsSinceStartOfDay()));
    // A ride of nearly a day takes the axis past 24 hours, still rising.
    view.setSeriesData(buildChartSeries({ride(2, QTime(23, 30), 1, 0, 0)}, QLocale()));
    labels = view.valueAxisLabels();
    int previous = -1;
    for (const QString& label : std::as_const(labels)) {
        const QStringList parts = label.split(QLatin1Char(':'));
        const int minutes = parts.value(0).toInt() * 60 + parts.value(1).toInt();
        QVERIFY2(parts.size() == 2 && minutes > previous, qPrintable(labels.join('|')));
        previous = minutes;
    }
    QVERIFY2(previous >= 23 * 60 + 30, qPrintable(labels.join('|')));

    // Another series leaves title and days alone; an empty month still has an axis.
    QCOMPARE(view.titleText(), QStringLiteral("Únor 0km"));
    QCOMPARE(dayLabels(view), numbers(0, 30));
    view.setSeriesData({});
    QVERIFY(view.valueAxisLabels().size() >= 2);
}

void TestMonthChart::pointLabels_data()
{
    QTest::addColumn<int>("rides");
    QTest::addColumn<int>("series");
    QTest::addColumn<bool>("everyOne");

    QTest::newRow("a month, distances") << 0 << int(DstSeries) << true;
    QTest::newRow("a month, pulse") << 0 << int(PulseSeries) << true;
    // Labels placed pairwise took minutes for such a month.
    QTest::newRow("ten thousand rides, distances") << 10000 << int(DstSeries) << false;
    QTest::newRow("ten thousand rides, durations") << 10000 << int(TimeSeries) << false;
}

// Every label sits in the plot's height without covering another; a month
// too full to label every ride keeps only the labels that fit, and draws
// only the bars and marks that can be seen.
void TestMonthChart::pointLabels()
{
    QFETCH(int, rides);
    QFETCH(int, series);
    QFETCH(bool, everyOne);
    QVector<ChartRide> month = sampleChartMonth();
    if (rides > 0) {
        month.clear();
        for (int i = 0; i < rides; ++i)
            month.append(
                ride(1 + i * 31 / rides, QTime(1, i % 60), 10 + i % 90, 100 + i % 80, i % 1500));
    }
    MonthChartView view;
    view.resize(753, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setActiveSeries(series);
    view.setSeriesData(buildChartSeries(month, QLocale()));
    const QList<QRectF> boxes = labelBoxes(view);
    if (everyOne)
        QCOMPARE(boxes.size(), month.size());
    else
        QVERIFY2(!boxes.isEmpty() && boxes.size() < 1000,
                 qPrintable(QString::number(boxes.size())));
    // Nor does every ride of a crowded month cost marks nobody can see.
    QVERIFY2(view.scene()->items().size() < 5000,
             qPrintable(QString::number(view.scene()->items().size())));
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        QVERIFY(boxes[i].top() >= 0);
        for (qsizetype j = i + 1; j < boxes.size(); ++j)
            QVERIFY(!boxes[i].intersects(boxes[j]));
    }
}

// A month's changes made in one batch are laid out once, at its end, into
// the same chart as when each is laid out at once; nothing waits after it.
void TestMonthChart::batchedChangesLookTheSame()
{
    MonthChartView stepwise;
    MonthChartView batched;
    for (MonthChartView* view : {&stepwise, &batched}) {
        view->resize(600, 260);
        view->setActiveSeries(AltitudeSeries);
    }
    const auto change = [](MonthChartView& view) {
        view.setTitleText(QStringLiteral("Únor 245km"));
        view.setDayAxisMaximum(29);
        view.setSeriesData(buildChartSeries(sampleChartMonth(), QLocale()));
        view.setActiveSeries(DstSeries);
    };
    change(stepwise);
    {
        const MonthChartView::Batch outer(&batched);
        const QStringList before = batched.valueAxisLabels();
        {
            const MonthChartView::Batch inner(&batched);
            change(batched);
        }
        // Still inside the outer batch: nothing laid out yet.
        QCOMPARE(batched.valueAxisLabels(), before);
    }
    QCOMPARE(batched.valueAxisLabels(), stepwise.valueAxisLabels());
    QVERIFY(render(batched) == render(stepwise));
}

void TestMonthChart::mirrorFollowsEveryChange()
{
    MonthChartView main;
    MonthChartView report;
    connect(&main, &MonthChartView::stateChanged, &report,
            [&report, &main] { report.copyStateFrom(main); });
    connect(&report, &MonthChartView::stateChanged, &main,
            [&report, &main] { main.copyStateFrom(report); });
    QSignalSpy spy(&main, &MonthChartView::stateChanged);
    auto same = [&] {
        return report.seriesData() == main.seriesData() && report.titleText() == main.titleText() &&
               report.dayAxisMaximum() == main.dayAxisMaximum() &&
               report.activeSeries() == main.activeSeries();
    };
    main.setSeriesData(buildChartSeries(sampleChartMonth(), QLocale()));
    QVERIFY(same());
    main.setTitleText(QStringLiteral("Březen 245km"));
    QVERIFY(same());
    main.setDayAxisMaximum(29);
    QVERIFY(same());
    main.deactivateAll();
    QVERIFY(same());
    main.setActiveSeries(AltitudeSeries);
    QVERIFY(same());
    main.clearTitle();
    QVERIFY(same());
    // Following each other both ways does not echo.
    QCOMPARE(spy.count(), 6);
}

RYDEX_TEST_MAIN(TestMonthChart, QApplication)

#include "tst_monthchart.moc"
