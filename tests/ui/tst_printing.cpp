#include "TestMain.h"
#include "TestProgram.h"

#include "ScopedLocale.h"
#include "app/TfrmBase.h"
#include "records/TfrmNewRecord.h"
#include "stats/MonthChartView.h"
#include "stats/TfrmReport.h"
#include "store/ADOTable.h"
#include "toolkit/DBRadioGroup.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryFile>
#include <QToolButton>

namespace {
// A page that keeps what is written on it: each text with the place of its
// baseline, in millimetres from the paper's corner.
class TextPage : public QPaintDevice
{
public:
    struct Text
    {
        QPointF mm;
        QString text;
        double widthMm = 0;
    };
    static constexpr int dpi = 300;

    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<Text>& texts() const { return m_engine.texts; }
    // The place of the first text that reads so, or (-1, -1).
    QPointF find(const QString& text) const
    {
        for (const Text& t : texts()) {
            if (t.text == text)
                return t.mm;
        }
        return QPointF(-1, -1);
    }
    QStringList all() const
    {
        QStringList out;
        for (const Text& t : texts())
            out << t.text;
        return out;
    }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 210 * dpi * 10 / 254;
        case PdmHeight:
            return 297 * dpi * 10 / 254;
        case PdmWidthMM:
            return 210;
        case PdmHeightMM:
            return 297;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    struct Engine : QPaintEngine
    {
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        // Qt's own fallbacks of the two forms call each other.
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        Type type() const override { return User; }
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            const QPointF at = painter()->transform().map(p);
            const double width =
                QFontMetricsF(item.font(), painter()->device()).horizontalAdvance(item.text());
            texts.append({at * 25.4 / dpi, item.text(), width * 25.4 / dpi});
        }
        QList<Text> texts;
    };
    mutable Engine m_engine;
};

// The month of the test: rides on the 2nd to the (1 + count)th of March
// 2005, the first of 1 h 5 min and 0.5 km.
QList<TestRide> rides(int count)
{
    QList<TestRide> out;
    for (int i = 0; i < count; ++i) {
        TestRide r;
        r.date = QDate(2005, 3, 2 + i % 27);
        r.km = i == 0 ? QStringLiteral("0.5") : QString::number(10 + i);
        r.time = i == 0 ? QTime(1, 5) : QTime(0, 40 + i % 20);
        r.pulse = 120 + i % 30;
        r.typ = QStringLiteral("Trénink");
        out << r;
    }
    return out;
}

int pdfPages(TfrmBase* w)
{
    QTemporaryFile file;
    if (!file.open())
        return -1;
    {
        QPdfWriter pdf(file.fileName());
        w->reportForm()->paint(&pdf, w->dataModule()->table()->rows());
    }
    const QByteArray bytes = file.readAll();
    return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
               bytes.count("/Type /Page/") + bytes.count("/Type /Page "));
}

// The texts of one page of the report as it stands.
std::unique_ptr<TextPage> paintPage(TfrmBase* w, int page)
{
    auto out = std::make_unique<TextPage>();
    const QVector<RideRow> rows = w->dataModule()->table()->rows();
    const auto pages = ReportLayout::layout(int(rows.size()));
    QPainter painter(out.get());
    w->reportForm()->paintPage(painter, TextPage::dpi / 25.4, rows, pages.at(page), page,
                               int(pages.size()));
    return out;
}
} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void reportOfAMonth();
    void emptyMonthAsksFirst();
    void longMonthContinues();
};

void TestPrinting::reportOfAMonth()
{
    const ScopedLocale czech(QStringLiteral("cs_CZ"));
    TestProgram program;
    program.addCyclist(QStringLiteral("Eva"));
    program.addRides(rides(3));
    TfrmBase* w = program.start();
    program.signIn(QStringLiteral("Eva"));
    w->Grafy->setTabIndex(2); // the pulse chart
    QCOMPARE(w->reportForm()->Graf->activeSeries(), 2);
    QCOMPARE(w->reportForm()->Graf->titleText(), w->Graf->titleText());

    // Print from the menu: a modal preview of a report on A4.
    QString title;
    int shownPages = -1;
    program.dialogs().handleNextModal([&](QDialog& dialog) {
        title = dialog.windowTitle();
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog))
            if (auto* pages = preview->findChild<QPrintPreviewWidget*>()) {
                pages->updatePreview();
                shownPages = pages->pageCount();
            }
        return int(QDialog::Rejected);
    });
    QVERIFY(w->mnuPrint->isEnabled());
    w->mnuPrint->trigger();
    // The report form's caption, which a language translates.
    QCOMPARE(title, "Report");
    QCOMPARE(shownPages, 1);
    QCOMPARE(pdfPages(w), 1);

    // The page header, the column titles and the rides, where the layout
    // puts them.
    const auto page = paintPage(w, 0);
    const QStringList texts = page->all();
    for (const char* expected :
         {"Rydex 2005", "Eva", "2005", "Březen", "Hodin celkem:", "Graf:", "Tabulka hodnot:", "Den",
          "Převýšení", "výška", "1:05:00", ",50", "Trénink"})
        QVERIFY2(texts.contains(QString::fromUtf8(expected)), expected);
    // Every text on the page, the narrow columns' titles too: none runs into
    // its neighbour on the same line or off the paper's right margin.
    const QList<TextPage::Text>& all = page->texts();
    for (qsizetype i = 0; i < all.size(); ++i) {
        QVERIFY2(all[i].mm.x() + all[i].widthMm <= 205.05, qPrintable(all[i].text));
        for (qsizetype j = i + 1; j < all.size(); ++j) {
            const bool sameLine = std::abs(all[i].mm.y() - all[j].mm.y()) < 0.5;
            const bool apart = all[i].mm.x() + all[i].widthMm <= all[j].mm.x() ||
                               all[j].mm.x() + all[j].widthMm <= all[i].mm.x();
            QVERIFY2(!sameLine || apart, qPrintable(all[i].text + u'/' + all[j].text));
        }
    }
    QVERIFY(texts.contains(w->lblHodiny->text()));
    QVERIFY(std::abs(page->find(QStringLiteral("Eva")).x() - (5 + 116.4)) < 0.5);
    QVERIFY(std::abs(page->find(QStringLiteral("Rydex 2005")).x() - (5 + 74.1)) < 0.5);
    // "Hodin celkem:" ends at 115.1 mm.
    const QPointF hours = page->find(QStringLiteral("Hodin celkem:"));
    QVERIFY(hours.x() > 90 && hours.x() < 115.1 + 5);
    QVERIFY(std::any_of(page->texts().cbegin(), page->texts().cend(), [](const auto& t) {
        return t.text.contains(QStringLiteral("strana 1 z 1"));
    }));

    // The type prints as the language shows it; the ride keeps its text.
    w->recordDialog()->grpTyp->setItems({"Race", "Training", "Indoor", "Touring"});
    QVERIFY(w->prepareReport());
    QVERIFY(paintPage(w, 0)->all().contains(QStringLiteral("Training")));
    QCOMPARE(w->dataModule()->table()->rows().at(0)[fieldIndex(RideField::typ)].toString(),
             QStringLiteral("Trénink"));
}

void TestPrinting::emptyMonthAsksFirst()
{
    TestProgram program;
    program.addCyclist(QStringLiteral("Eva"));
    program.addRides(rides(2));
    TfrmBase* w = program.start();
    program.signIn(QStringLiteral("Eva"));
    w->Mesice->setTabIndex(5); // June: no rides

    program.dialogs().answerNext(false);
    w->toolBtnPrint->click();
    QCOMPARE(program.dialogs().last().text, w->msgDlgNotPrint->text());
    QCOMPARE(program.dialogs().count(QStringLiteral("modal")), 0);

    program.dialogs().answerNext(true);
    w->Print();
    QCOMPARE(program.dialogs().count(QStringLiteral("modal")), 1);
    QCOMPARE(pdfPages(w), 1);
    const QStringList texts = paintPage(w, 0)->all();
    QVERIFY(texts.contains(QStringLiteral("Červen")));
    QVERIFY(texts.contains(QStringLiteral("Den")));
}

void TestPrinting::longMonthContinues()
{
    TestProgram program;
    program.addCyclist(QStringLiteral("Eva"));
    program.addRides(rides(60));
    TfrmBase* w = program.start();
    program.signIn(QStringLiteral("Eva"));
    QVERIFY(w->prepareReport());
    QCOMPARE(pdfPages(w), 3);
    // Later pages repeat the header and the column titles, without the chart.
    const QStringList second = paintPage(w, 1)->all();
    QVERIFY(second.contains(QStringLiteral("Rydex 2005")));
    QVERIFY(second.contains(QStringLiteral("Den")));
    QVERIFY(!second.contains(QStringLiteral("Graf:")));
    QVERIFY(std::any_of(second.cbegin(), second.cend(),
                        [](const QString& t) { return t.contains(QStringLiteral("2 z 3")); }));
}

RYDEX_TEST_MAIN(TestPrinting, QApplication)
#include "tst_printing.moc"
