#include "settings/JerseyPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {
const QColor outline(60, 50, 40);

// A short-sleeved jersey on a 16-unit grid, collar at the top.
QPainterPath jerseyShape()
{
    QPainterPath p;
    p.moveTo(5.5, 1.5);
    p.lineTo(1.0, 4.0);
    p.lineTo(2.5, 7.5);
    p.lineTo(4.0, 6.8);
    p.lineTo(4.0, 14.5);
    p.lineTo(12.0, 14.5);
    p.lineTo(12.0, 6.8);
    p.lineTo(13.5, 7.5);
    p.lineTo(15.0, 4.0);
    p.lineTo(10.5, 1.5);
    p.quadTo(8.0, 4.0, 5.5, 1.5);
    p.closeSubpath();
    return p;
}

QColor bodyColour(int index)
{
    switch (index) {
    case JerseyPictures::Yellow:
        return QColor(255, 214, 0);
    case JerseyPictures::Green:
        return QColor(40, 160, 60);
    default:
        return QColor(252, 252, 250);
    }
}
} // namespace

QPixmap JerseyPictures::jersey(int index, int size)
{
    if (index < 0 || index >= count)
        return QPixmap();
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    const QPainterPath shape = jerseyShape();
    p.setPen(Qt::NoPen);
    p.setBrush(bodyColour(index));
    p.drawPath(shape);

    if (index == PolkaDot) {
        // Staggered rows of round dots; fewer and smaller than on the real
        // jersey, so that they stay dots at 16 pixels.
        p.setClipPath(shape);
        p.setBrush(QColor(215, 25, 30));
        for (int row = 0; row < 4; ++row) {
            const double y = 4.0 + row * 3.2;
            for (double x = (row % 2 ? 3.4 : 5.0); x < 15.0; x += 3.6)
                p.drawEllipse(QPointF(x, y), 0.95, 0.95);
        }
        p.setClipping(false);
    } else if (index == White) {
        // A thin band across the chest keeps the white jersey visible on a
        // light background.
        p.setBrush(QColor(120, 150, 200));
        p.drawRect(QRectF(4.0, 8.0, 8.0, 1.3));
    } else if (index == Green) {
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(4.0, 8.0, 8.0, 1.0));
    }

    p.setPen(QPen(outline, 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    return pm;
}

QIcon JerseyPictures::jerseyIcon(int index)
{
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap picture = jersey(index, size);
        if (picture.isNull()) {
            picture = QPixmap(size, size);
            picture.fill(Qt::transparent);
        }
        icon.addPixmap(picture);
    }
    return icon;
}
