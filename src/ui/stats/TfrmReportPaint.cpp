// Painting the month report's bands on A4 pages.
#include "stats/TfrmReport.h"

#include "base/Clock.h"
#include "stats/MonthChartView.h"
#include "stats/ReportColumns.h"
#include "stats/ReportLayout.h"
#include "toolkit/Controls.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {
const QColor maroon(128, 0, 0);

QFont verdana(double points, bool bold = false)
{
    QFont f(QStringLiteral("Verdana"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Draws a text inside its box, whole: on two lines where the words then fit
// and the box is tall enough, else in a smaller size. A column is narrower
// than some titles and values ("Převýšení", "Max výška") at 8 points.
void drawFitted(QPainter& p, const QRectF& box, int alignment, const QString& text, QFont font,
                bool mayWrap)
{
    const auto fits = [&](const QFont& f, int flags) {
        const QRectF needed =
            QFontMetricsF(f, p.device())
                .boundingRect(QRectF(box.topLeft(), QSizeF(box.width(), 1e6)), flags, text);
        return needed.width() <= box.width() && needed.height() <= box.height();
    };
    int flags = alignment | Qt::TextSingleLine;
    if (!fits(font, flags) && mayWrap && fits(font, alignment | Qt::TextWordWrap))
        flags = alignment | Qt::TextWordWrap;
    while (!fits(font, flags) && font.pointSizeF() > 5)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    p.setFont(font);
    p.drawText(box, flags, text);
}

// A page in millimetres: positions are given from a band's top-left corner,
// the bands start at the left margin.
class Sheet
{
public:
    Sheet(QPainter& painter, double dotsPerMm, double left)
        : p(painter), m_dots(dotsPerMm), m_left(left)
    {
    }
    double dots(double mm) const { return mm * m_dots; }
    QRectF rect(double left, double top, double width, double height) const
    {
        return QRectF(dots(m_left + left), dots(top), dots(width), dots(height));
    }
    // A text whose box has its top-left corner there.
    void text(double left, double top, const QString& s, const QFont& f,
              const QColor& colour = Qt::black)
    {
        p.setFont(f);
        p.setPen(colour);
        p.drawText(QRectF(dots(m_left + left), dots(top), dots(200), dots(10)),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s);
    }
    // A text that ends at the right edge.
    void textRight(double right, double top, const QString& s, const QFont& f,
                   const QColor& colour = Qt::black)
    {
        p.setFont(f);
        p.setPen(colour);
        p.drawText(QRectF(dots(m_left + right - 200), dots(top), dots(200), dots(10)),
                   Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, s);
    }
    void frame(double left, double top, double width, double height)
    {
        p.setPen(QPen(Qt::black, dots(0.25)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect(left, top, width, height));
    }

    QPainter& p;

private:
    double m_dots;
    double m_left;
};
} // namespace

int TfrmReport::paint(QPagedPaintDevice* device, const QVector<RideRow>& rides) const
{
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    const QVector<ReportLayout::PageBands> pages = ReportLayout::layout(int(rides.size()));
    QPainter painter(device);
    if (!painter.isActive())
        return 0;
    for (int n = 0; n < pages.size(); ++n) {
        if (n > 0)
            device->newPage();
        paintPage(painter, device->logicalDpiX() / 25.4, rides, pages.at(n), n, int(pages.size()));
    }
    return int(pages.size());
}

void TfrmReport::paintPage(QPainter& painter, double dotsPerMm, const QVector<RideRow>& rides,
                           const ReportLayout::PageBands& bands, int page, int pageCount) const
{
    Sheet sheet(painter, dotsPerMm, ReportLayout::Page().marginLeft);
    const QLocale locale;
    const QString printed = locale.toString(Clock::today(), QLocale::ShortFormat);
    for (const ReportLayout::PlacedBand& band : bands) {
        const double top = band.top;
        switch (band.band) {
        case ReportLayout::Band::PageHeader: {
            sheet.text(74.1, top + 6.3, text("qrlHeading")->text(), verdana(16, true));
            sheet.frame(0, top + 19.1, 200, 19.6);
            sheet.textRight(115.1, top + 23.8, text("qrlReportFor")->text(), verdana(10));
            sheet.text(116.4, top + 23.8, text("qrlCyclist")->text(), verdana(10, true), maroon);
            sheet.textRight(115.1, top + 30.2, text("qrlPeriod")->text(), verdana(10));
            sheet.text(116.4, top + 30.2, text("qrlYear")->text(), verdana(10, true), maroon);
            sheet.text(127.0, top + 30.2, text("qrlMonth")->text(), verdana(10, true), maroon);
            sheet.frame(0, top + 40.2, 200, 30.2);
            const char* rows[4][3] = {{"qrlHoursCaption", "qrlHours", "qrlHoursUnit"},
                                      {"qrlKmCaption", "qrlKm", "qrlKmUnit"},
                                      {"qrlPulseCaption", "qrlPulse", "qrlPulseUnit"},
                                      {"qrlAltCaption", "qrlAlt", "qrlAltUnit"}};
            const double rowTops[4] = {43.4, 49.7, 56.1, 62.4};
            for (int r = 0; r < 4; ++r) {
                sheet.textRight(115.1, top + rowTops[r], text(rows[r][0])->text(), verdana(8));
                sheet.textRight(132.0, top + rowTops[r], text(rows[r][1])->text(), verdana(8, true),
                                maroon);
                sheet.text(133.3, top + rowTops[r], text(rows[r][2])->text(), verdana(8, true));
            }
            break;
        }
        case ReportLayout::Band::Title: {
            sheet.frame(0, top + 1.6, 200, 63.0);
            sheet.text(2.1, top + 3.7, text("qrlChart")->text(), verdana(8));
            const QRectF target = sheet.rect(0.5, top + 7.9, 199.0, 52.9);
            // Drawn on an image at three times the screen's size first:
            // fonts would otherwise follow each device's resolution and
            // the chart would look different in the preview and on paper.
            QImage image(Graf->size() * 3, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(3);
            image.fill(Qt::white);
            {
                // The widget itself, so that a chart that was never shown is
                // laid out at its size first.
                QPainter onImage(&image);
                static_cast<QWidget*>(Graf)->render(&onImage, QPoint(), QRegion(),
                                                    QWidget::DrawChildren);
            }
            painter.drawImage(target, image);
            sheet.text(2.1, top + 67.2, text("qrlTable")->text(), verdana(8));
            break;
        }
        case ReportLayout::Band::ColumnHeader:
            for (const ReportColumn& c : reportColumns()) {
                const QRectF box = sheet.rect(c.left, top, c.width, 8.5);
                painter.setPen(maroon);
                // A little air between neighbouring titles.
                drawFitted(painter, box.adjusted(sheet.dots(0.3), 0, -sheet.dots(0.3), 0),
                           Qt::AlignHCenter | Qt::AlignVCenter, text(c.name)->text(), verdana(8),
                           true);
                painter.setPen(QPen(Qt::black, sheet.dots(0.2)));
                painter.drawLine(box.bottomLeft(), box.bottomRight());
            }
            break;
        case ReportLayout::Band::Detail: {
            const RideRow& ride = rides.at(band.row);
            painter.setPen(Qt::black);
            for (const ReportColumn& c : reportColumns()) {
                // The kind of sport's value is narrower than its column.
                const double width = c.field == RideField::druh ? 15.3 : c.width;
                const QVariant value = ride.at(int(c.field));
                const QString shown = c.field == RideField::time
                                          ? QRExprTimePrint(value)
                                          : reportCellText(c, value, locale, m_lists);
                drawFitted(painter, sheet.rect(c.left, top, width, 4.0),
                           int(c.alignment | Qt::AlignVCenter), shown, verdana(8), false);
            }
            break;
        }
        case ReportLayout::Band::Summary:
            break;
        case ReportLayout::Band::PageFooter: {
            QString line = text("qrlFooter")->text();
            for (const QString& value :
                 {QString::number(page + 1), QString::number(pageCount), printed}) {
                const qsizetype at = line.indexOf(QLatin1String("%s"));
                if (at >= 0)
                    line.replace(at, 2, value);
            }
            sheet.text(0, top + 2.1, line, verdana(8));
            break;
        }
        }
    }
}
