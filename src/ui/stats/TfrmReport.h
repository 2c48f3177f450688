#pragma once

#include "toolkit/ControlProperties.h"

#include "stats/ReportLayout.h"
#include "store/RideFields.h"
#include "store/ValueList.h"

#include <QHash>
#include <QVector>
#include <QWidget>

class Label;
class MonthChartView;
class QPagedPaintDevice;
class QPainter;
class QPrinter;

// The month report: a form that is never shown itself, holding the texts and
// the chart of the printed A4 pages, which it lays out in bands and paints on
// a printer, a PDF file or the print preview. Its chart follows the main
// window's; its texts are filled just before each preview.
class TfrmReport : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)

public:
    // The print job's name.
    static QString documentTitle();

    explicit TfrmReport(QWidget* owner);

    // The variable texts of the page header, as the month view shows them.
    struct Figures
    {
        QString cyclist;
        QString month;
        QString year;
        QString hours;
        QString km;
        QString pulse;
        QString alt;
    };
    void setFigures(const Figures& figures);
    // How the rides' list items read in the current language.
    void setValueLists(const ValueLists& lists) { m_lists = lists; }

    // Paints the report of these rides (in the order given) on the device's
    // pages, A4 portrait. Returns the number of pages.
    int paint(QPagedPaintDevice* device, const QVector<RideRow>& rides) const;
    // One page of it, on a painter whose device has that many dots to the
    // millimetre: the bands the layout puts on the page.
    void paintPage(QPainter& painter, double dotsPerMm, const QVector<RideRow>& rides,
                   const ReportLayout::PageBands& bands, int page, int pageCount) const;
    // The printed text of a ride's duration: 1:05:00.
    QString QRExprTimePrint(const QVariant& time) const;
    // A printer set up for the report: A4 portrait, the whole sheet, the
    // document's title.
    static void preparePrinter(QPrinter& printer);

    // Components, named as the language files and the tests know them.
    MonthChartView* Graf = nullptr;
    // Every text of the report by its component name ("qrlHeading", ...).
    Label* text(const char* name) const;

private:
    Label* addText(const char* name, const QString& caption, bool translatable = true);

    QHash<QByteArray, Label*> m_texts;
    ValueLists m_lists;
};

TfrmReport* createReportForm(QWidget* owner);
