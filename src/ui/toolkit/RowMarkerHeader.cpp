#include "toolkit/RowMarkerHeader.h"

RowMarkerHeader::RowMarkerHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

QSize RowMarkerHeader::sizeHint() const
{
    if (minimumWidth() != maximumWidth())
        return QHeaderView::sizeHint();
    return {minimumWidth(), defaultSectionSize()};
}
