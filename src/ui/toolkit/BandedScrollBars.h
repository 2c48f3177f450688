#pragma once

#include <QCache>
#include <QImage>
#include <QList>
#include <QProxyStyle>

class QAbstractScrollArea;
class QStyleOptionSlider;

// Qt's raster painter hands a fill of more than 95 lines or spans to worker
// threads and waits for them. A scroll bar beside a month of rides is drawn
// with several such fills: its groove and handle are gradients, a wide bar
// is shaded line by line. Where waking a thread is dear, as on a virtual
// machine, the hand-overs cost more than the drawing: the grid's two scroll
// bars and the note's took a sixth of a change of month.
//
// This style keeps the picture of each scroll bar it has drawn: a bar looks
// the same as long as its size, range, position, state and palette stay,
// and most changes of month leave all three bars as they were. A new
// picture is drawn in bands of at most 64 lines on pictures of their own,
// and every picture is put on the screen in such bands, so that each fill
// stays on the painting thread. The pixels are those of the style beneath.
class BandedScrollBars : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr int bandLines = 64;

    using QProxyStyle::QProxyStyle;

    // Both scroll bars of the area are drawn by one such style for the whole
    // program, over a style of the application's kind.
    static void useFor(QAbstractScrollArea* area);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;

    // Pictures drawn so far; for tests.
    int picturesDrawn() const { return m_picturesDrawn; }

private:
    QList<QImage> drawBands(const QStyleOptionSlider& bar, qreal ratio,
                            const QWidget* widget) const;

    mutable QCache<QByteArray, QList<QImage>> m_pictures{4 * 1024 * 1024};
    mutable int m_picturesDrawn = 0;
};
