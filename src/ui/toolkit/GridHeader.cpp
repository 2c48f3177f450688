#include "toolkit/GridHeader.h"

#include <QStyleOptionHeader>

GridHeader::GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void GridHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    QStyleOptionHeader probe = *option;
    probe.rect = QRect(0, 0, sectionSize(logicalIndex), height());
    const int room = style()->subElementRect(QStyle::SE_HeaderLabel, &probe, this).width();
    const QFontMetrics metrics(font());
    if (metrics.horizontalAdvance(option->text) <= room)
        return;
    option->text = metrics.elidedText(option->text, Qt::ElideRight, room);
    option->textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
}

QString GridHeader::shownText(int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    return option.text;
}

Qt::Alignment GridHeader::shownAlignment(int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    return option.textAlignment;
}
