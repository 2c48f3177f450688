#pragma once

#include <QHeaderView>

// The column of row markers in front of the grid: the selected ride's row
// shows an arrow. Its width is fixed, yet Qt measures every row's marker for
// its size hint again whenever the arrow moves or the rows change, which on a
// month of rides cost more than the rest of the grid's layout. With a fixed
// width there is nothing to measure.
class RowMarkerHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit RowMarkerHeader(QWidget* parent = nullptr);

    QSize sizeHint() const override;
};
