#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints the cells of the ride grid. Qt's own delegate lays out each cell's
// text afresh at every paint, and painting the month's grid was the largest
// part of every step the user takes: signing in, turning a month or a year,
// saving a ride. A grid's texts repeat (dates, distances, the few kinds of a
// ride), so each text is laid out once and drawn from that layout after.
// Cells the quick way cannot paint exactly as Qt does (a focused cell, a text
// too wide for its cell, several lines, a theme that styles the items) are
// left to Qt.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Whether a style sheet says how the items of an item view look; the
    // quick way would not follow it.
    static bool sheetStylesViewItems(const QString& sheet);

private:
    bool itemsStyled(const QWidget* view) const;
    const QStaticText& laidOut(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
    mutable QString m_sheet;
    mutable bool m_sheetStylesItems = false;
    mutable bool m_sheetKnown = false;
};
