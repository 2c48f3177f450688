#pragma once

#include <QHeaderView>

// The grid's column titles. A centred title wider than its column would lose
// both ends; such a title is drawn from the left and cut at its end instead,
// where a reader expects it.
class GridHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit GridHeader(QWidget* parent = nullptr);

    // The text and alignment a section is drawn with.
    QString shownText(int logicalIndex) const;
    Qt::Alignment shownAlignment(int logicalIndex) const;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};
