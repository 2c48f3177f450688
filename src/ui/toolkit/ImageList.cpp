#include "toolkit/ImageList.h"

#include "toolkit/AppIcon.h"
#include "toolkit/DrawnIcon.h"

#include <QPainter>
#include <QPainterPath>

#include <iterator>

namespace {
const QColor ink(40, 40, 60);
const QColor paper(250, 250, 240);
const QColor green(40, 150, 60);
const QColor red(200, 40, 40);
const QColor blue(40, 90, 180);
const QColor gold(230, 180, 30);

// Everything is drawn on a 16-unit grid and scaled.
void drawSheet(QPainter& p)
{
    p.setPen(QPen(ink, 0.8));
    p.setBrush(paper);
    p.drawRect(QRectF(3, 1.5, 10, 13));
    p.setPen(QPen(QColor(150, 150, 160), 0.7));
    for (double y = 4.5; y < 13; y += 2)
        p.drawLine(QPointF(5, y), QPointF(11, y));
}

void drawPlus(QPainter& p, QPointF c, QColor colour)
{
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-2.5, 0), c + QPointF(2.5, 0));
    p.drawLine(c + QPointF(0, -2.5), c + QPointF(0, 2.5));
}

void drawCross(QPainter& p, QPointF c, double r, QColor colour)
{
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
    p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
}

void drawPencil(QPainter& p)
{
    QPainterPath path;
    path.moveTo(13.5, 3.5);
    path.lineTo(15, 5);
    path.lineTo(8, 12);
    path.lineTo(6, 12.5);
    path.lineTo(6.5, 10.5);
    path.closeSubpath();
    p.setPen(QPen(ink, 0.7));
    p.setBrush(gold);
    p.drawPath(path);
}

void drawCyclist(QPainter& p, QColor jersey)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.1));
    p.drawEllipse(QPointF(4, 12), 3, 3);
    p.drawEllipse(QPointF(12, 12), 3, 3);
    p.drawLine(QPointF(4, 12), QPointF(7.5, 8));
    p.drawLine(QPointF(7.5, 8), QPointF(12, 12));
    p.setPen(QPen(jersey, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7.5, 8), QPointF(9.5, 4.5));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(10.5, 2.8), 1.5, 1.5);
}

void drawPrinter(QPainter& p)
{
    p.setPen(QPen(ink, 0.8));
    p.setBrush(paper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 170, 180));
    p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1.2, 1.2);
    p.setBrush(paper);
    p.drawRect(QRectF(4.5, 10, 7, 4.5));
    p.setBrush(green);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(12.5, 8), 0.8, 0.8);
}

void drawGear(QPainter& p, QPointF c, double r, QColor colour)
{
    p.setPen(QPen(ink, 0.7));
    p.setBrush(colour);
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double a = i * M_PI / teeth;
        const double rr = (i % 2 == 0) ? r : r * 0.72;
        const QPointF pt = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    path.addEllipse(c, r * 0.3, r * 0.3);
    p.drawPath(path);
}

void drawDoor(QPainter& p, bool in)
{
    p.setPen(QPen(ink, 0.9));
    p.setBrush(QColor(200, 170, 120));
    p.drawRect(QRectF(8.5, 1.5, 6, 13));
    p.setPen(QPen(in ? green : red, 2, Qt::SolidLine, Qt::RoundCap));
    if (in) {
        p.drawLine(QPointF(1.5, 8), QPointF(7, 8));
        p.drawLine(QPointF(4.5, 5.5), QPointF(7, 8));
        p.drawLine(QPointF(4.5, 10.5), QPointF(7, 8));
    } else {
        p.drawLine(QPointF(7, 8), QPointF(1.5, 8));
        p.drawLine(QPointF(4, 5.5), QPointF(1.5, 8));
        p.drawLine(QPointF(4, 10.5), QPointF(1.5, 8));
    }
}

// An upright arrow at the sheet's right edge, from one height to the other.
void drawUpright(QPainter& p, double from, double to, const QColor& colour)
{
    const double barb = to > from ? -3 : 3;
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, from), QPointF(11, to));
    p.drawLine(QPointF(8, to + barb), QPointF(11, to));
    p.drawLine(QPointF(14, to + barb), QPointF(11, to));
}

void drawGlyph(QPainter& p, int index)
{
    switch (index) {
    case 0: // records
        drawSheet(p);
        p.setPen(QPen(blue, 1.2));
        p.drawLine(QPointF(5, 13), QPointF(7.5, 9));
        p.drawLine(QPointF(7.5, 9), QPointF(9, 11));
        p.drawLine(QPointF(9, 11), QPointF(11.5, 6));
        break;
    case 1: // sign in
        drawDoor(p, true);
        break;
    case 2: // sign off
        drawDoor(p, false);
        break;
    case 3: // new record
        drawSheet(p);
        drawPlus(p, QPointF(11.5, 11.5), green);
        break;
    case 4: // edit
        drawSheet(p);
        drawPencil(p);
        break;
    case 5: // delete
        drawSheet(p);
        drawCross(p, QPointF(11.5, 11.5), 2.5, red);
        break;
    case 6: { // odometer
        p.setPen(QPen(ink, 0.9));
        p.setBrush(paper);
        p.drawEllipse(QPointF(8, 9), 6.5, 6.5);
        p.setPen(QPen(red, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 9), QPointF(11.5, 5));
        p.setPen(QPen(ink, 0.8));
        p.drawRect(QRectF(5, 11, 6, 2.5));
        break;
    }
    case 7: // print
        drawPrinter(p);
        break;
    case 8:
    case 9: { // about
        p.setPen(QPen(blue.darker(), 0.8));
        p.setBrush(blue);
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 7.5), QPointF(8, 12));
        p.drawPoint(QPointF(8, 4.5));
        break;
    }
    case 10: { // language
        p.setPen(QPen(ink, 0.8));
        p.setBrush(QColor(120, 180, 230));
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 8), 3, 6.5);
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        p.drawLine(QPointF(2.5, 5), QPointF(13.5, 5));
        p.drawLine(QPointF(2.5, 11), QPointF(13.5, 11));
        break;
    }
    case 11: // settings
        drawGear(p, QPointF(8, 8), 6.5, QColor(170, 170, 190));
        break;
    case 12: // cyclist
        drawCyclist(p, gold);
        break;
    case 13: // quit
        drawCross(p, QPointF(8, 8), 5, red);
        break;
    case 14: { // skin
        p.setPen(QPen(ink, 0.8));
        const QColor colours[] = {red, gold, green, blue};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(colours[i]);
            p.drawPie(QRectF(1.5, 1.5, 13, 13), i * 90 * 16, 90 * 16);
        }
        break;
    }
    case 15: // import: a ride comes down onto the sheet
        drawSheet(p);
        drawUpright(p, 5, 13, green);
        break;
    case 20: // export: the rides go up off the sheet
        drawSheet(p);
        drawUpright(p, 13, 5, blue);
        break;
    case 16: { // season: the weeks' bars under the year's rising line
        p.setPen(QPen(ink, 0.7));
        p.setBrush(blue);
        const double heights[] = {4, 7, 5, 9, 6};
        for (int i = 0; i < 5; ++i)
            p.drawRect(QRectF(1.5 + i * 2.8, 14.5 - heights[i], 2.2, heights[i]));
        p.setPen(QPen(red, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(
            QPolygonF({QPointF(1.5, 12), QPointF(5, 9), QPointF(9, 6.5), QPointF(14.5, 1.5)}));
        p.setPen(Qt::NoPen);
        p.setBrush(gold);
        p.drawEllipse(QPointF(14, 2), 1.6, 1.6);
        break;
    }
    default:
        break;
    }
}

QPixmap render(int index, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    drawGlyph(p, index);
    return pm;
}
} // namespace

QIcon ImageList::menuImage(int index)
{
    return DrawnIcon::make([index](int side) { return render(index, side); },
                           {QSize(16, 16), QSize(32, 32)});
}

QIcon ImageList::toolImage(int index)
{
    static constexpr int glyphOf[] = {3, 4, 5, 7, 11, 15, 16};
    const int glyph = index >= 0 && index < int(std::size(glyphOf)) ? glyphOf[index] : -1;
    return DrawnIcon::make([glyph](int side) { return render(glyph, side); },
                           {QSize(32, 32), QSize(64, 64)});
}

QPixmap ImageList::productPicture(int size)
{
    return AppIcon::pixmap(size);
}

QPixmap ImageList::sponsorPicture(int index, const QSize& size)
{
    static const QColor backs[] = {QColor(30, 70, 140), QColor(160, 30, 30), QColor(30, 120, 60),
                                   QColor(200, 150, 20)};
    static const char* const names[] = {"VELO", "PEDAL", "ROUTE", "SPRINT"};
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor back = backs[qBound(0, index, 3)];
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, back.lighter(130));
    g.setColorAt(1, back.darker(130));
    p.setBrush(g);
    p.setPen(QPen(Qt::white, 2));
    p.drawRoundedRect(QRectF(QPointF(1, 1), QSizeF(size) - QSizeF(2, 2)), 8, 8);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(qMax(10, size.height() / 4));
    p.setFont(f);
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter,
               QString::fromLatin1(names[qBound(0, index, 3)]));
    return pm;
}
