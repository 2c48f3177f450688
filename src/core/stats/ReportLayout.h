#pragma once

#include <QVector>

// Where the bands of the month report fall on A4 pages: a page header on
// every page, the title band (the chart) on the first page only, the column
// header on every page, one detail band per ride, the summary after the last
// ride and the page footer at the foot of every page. All in millimetres.
namespace ReportLayout {

enum class Band { PageHeader, Title, ColumnHeader, Detail, Summary, PageFooter };

struct Heights
{
    double pageHeader = 70.6;
    double title = 77.3;
    double columnHeader = 9.5;
    double detail = 6.3;
    double summary = 12.7;
    double pageFooter = 8.5;
};

struct Page
{
    double width = 210.0;
    double height = 297.0;
    double marginTop = 10.0;
    double marginBottom = 10.0;
    double marginLeft = 5.0;
    double marginRight = 5.0;
};

struct PlacedBand
{
    Band band;
    double top; // from the top edge of the paper
    double height;
    int row = -1; // the ride of a detail band, from 0

    bool operator==(const PlacedBand&) const = default;
};

using PageBands = QVector<PlacedBand>;

// The pages of a report of rows rides. A report without rides is one page
// with its headers, the title, the summary and the footer. Throws nothing; a
// page too small for its headers and one detail still takes one ride a page.
QVector<PageBands> layout(int rows, const Page& page = {}, const Heights& heights = {});

} // namespace ReportLayout
