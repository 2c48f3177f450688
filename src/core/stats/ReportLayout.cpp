#include "stats/ReportLayout.h"

#include <algorithm>

QVector<ReportLayout::PageBands> ReportLayout::layout(int rows, const Page& page,
                                                      const Heights& heights)
{
    QVector<PageBands> pages;
    const double footerTop = page.height - page.marginBottom - heights.pageFooter;
    double y = 0.0;
    const auto place = [&](Band band, double height, int row = -1) {
        pages.last().append({band, y, height, row});
        y += height;
    };
    const auto startPage = [&](bool first) {
        if (!pages.isEmpty())
            pages.last().append({Band::PageFooter, footerTop, heights.pageFooter, -1});
        pages.append(PageBands());
        y = page.marginTop;
        place(Band::PageHeader, heights.pageHeader);
        if (first)
            place(Band::Title, heights.title);
        place(Band::ColumnHeader, heights.columnHeader);
    };

    startPage(true);
    for (int row = 0; row < std::max(rows, 0); ++row) {
        // A page that holds its headers only still takes a ride, so that a
        // tiny page cannot make the report endless.
        const bool emptyPage = pages.last().last().band == Band::ColumnHeader;
        if (y + heights.detail > footerTop + 1e-9 && !emptyPage)
            startPage(false);
        place(Band::Detail, heights.detail, row);
    }
    if (y + heights.summary > footerTop + 1e-9 && pages.last().last().band != Band::ColumnHeader)
        startPage(false);
    place(Band::Summary, heights.summary);
    pages.last().append({Band::PageFooter, footerTop, heights.pageFooter, -1});
    return pages;
}
