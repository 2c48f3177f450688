#include "toolkit/GridHeader.h"

#include <QEvent>
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

GridHeader::Measured GridHeader::measuredNow() const
{
    Measured now;
    now.font = font();
    now.styleChanges = m_styleChanges;
    now.polished = testAttribute(Qt::WA_WState_Polished);
    if (QAbstractItemModel* m = model()) {
        const int sections = count();
        now.titles.reserve(sections);
        now.hidden.reserve(sections);
        for (int i = 0; i < sections; ++i) {
            now.titles.append(m->headerData(i, orientation(), Qt::DisplayRole).toString());
            now.hidden.append(isSectionHidden(i));
        }
    }
    return now;
}

QSize GridHeader::sizeHint() const
{
    Measured now = measuredNow();
    if (m_measured != now) {
        m_sizeHint = QHeaderView::sizeHint();
        m_measured = std::move(now);
    }
    return m_sizeHint;
}

void GridHeader::changeEvent(QEvent* event)
{
    // A new style sheet changes the style's rules without changing the style.
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        ++m_styleChanges;
    QHeaderView::changeEvent(event);
}
