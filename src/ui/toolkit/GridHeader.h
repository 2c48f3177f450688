#pragma once

#include <QHeaderView>

#include <optional>

// The grid's column titles. A centred title wider than its column would lose
// both ends; such a title is drawn from the left and cut at its end instead,
// where a reader expects it.
//
// Qt measures every title again for the header's size hint after each change
// of the grid's rows, although a month's rides never change a title; the
// header keeps its measure for as long as the titles, the font and the style
// it was taken with stay.
class GridHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit GridHeader(QWidget* parent = nullptr);

    // The text and alignment a section is drawn with.
    QString shownText(int logicalIndex) const;
    Qt::Alignment shownAlignment(int logicalIndex) const;

    QSize sizeHint() const override;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
    void changeEvent(QEvent* event) override;

private:
    struct Measured
    {
        QStringList titles;
        QList<bool> hidden;
        QFont font;
        int styleChanges = 0;
        bool polished = false;
        bool operator==(const Measured&) const = default;
    };
    Measured measuredNow() const;

    int m_styleChanges = 0;
    mutable std::optional<Measured> m_measured;
    mutable QSize m_sizeHint;
};
