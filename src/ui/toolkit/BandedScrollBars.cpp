#include "toolkit/BandedScrollBars.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDataStream>
#include <QIODevice>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QtMath>

#include <algorithm>
#include <memory>

void BandedScrollBars::useFor(QAbstractScrollArea* area)
{
    static QPointer<BandedScrollBars> shared;
    if (!shared) {
        // The proxy owns its base, so it gets a style of its own of the
        // application's kind.
        shared = new BandedScrollBars(QStyleFactory::create(QApplication::style()->name()));
        shared->setParent(qApp);
    }
    for (QScrollBar* bar : {area->verticalScrollBar(), area->horizontalScrollBar()}) {
        bar->setStyle(shared);
        // A control with a style of its own takes up a style sheet set on
        // the application later only when it has a sheet itself: without
        // one, a theme could no longer draw its scroll bars.
        bar->setStyleSheet(QStringLiteral("/* */"));
    }
}

namespace {
// Everything the picture of a scroll bar depends on.
QByteArray pictureKey(const QStyleOptionSlider& bar, qreal ratio)
{
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    out << bar.rect.size() << ratio << int(bar.state) << int(bar.direction)
        << bar.palette.cacheKey() << int(bar.subControls) << int(bar.activeSubControls)
        << int(bar.orientation) << bar.minimum << bar.maximum << bar.sliderPosition
        << bar.sliderValue << bar.singleStep << bar.pageStep << bar.upsideDown
        << int(bar.tickPosition) << bar.tickInterval;
    return key;
}
} // namespace

QList<QImage> BandedScrollBars::drawBands(const QStyleOptionSlider& bar, qreal ratio,
                                          const QWidget* widget) const
{
    ++m_picturesDrawn;
    const QRect whole = bar.rect;
    QList<QImage> bands;
    // A band is drawn on a picture of its own height: the style may set its
    // own clip, but nothing is drawn beyond a picture's edge.
    for (int top = whole.top(); top <= whole.bottom(); top += bandLines) {
        const int lines = std::min(bandLines, whole.bottom() + 1 - top);
        QImage band(qCeil(whole.width() * ratio), qCeil(lines * ratio),
                    QImage::Format_ARGB32_Premultiplied);
        band.setDevicePixelRatio(ratio);
        band.fill(Qt::transparent);
        QPainter painter(&band);
        painter.translate(-whole.left(), -top);
        QProxyStyle::drawComplexControl(CC_ScrollBar, &bar, &painter, widget);
        painter.end();
        bands.append(band);
    }
    return bands;
}

void BandedScrollBars::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                          QPainter* painter, const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    // A bar that fades in and out is not drawn the same each time.
    if (control != CC_ScrollBar || !bar || !painter->device() || option->rect.isEmpty() ||
        styleHint(SH_ScrollBar_Transient, option, widget)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatio();
    const QByteArray key = pictureKey(*bar, ratio);
    const QList<QImage>* bands = m_pictures.object(key);
    QList<QImage> unkept;
    if (!bands) {
        auto drawn = std::make_unique<QList<QImage>>(drawBands(*bar, ratio, widget));
        qsizetype bytes = 0;
        for (const QImage& band : std::as_const(*drawn))
            bytes += band.sizeInBytes();
        if (bytes <= m_pictures.maxCost()) {
            bands = drawn.get();
            m_pictures.insert(key, drawn.release(), bytes);
        } else {
            unkept = std::move(*drawn);
            bands = &unkept;
        }
    }
    for (qsizetype i = 0; i < bands->size(); ++i)
        painter->drawImage(QPointF(option->rect.left(), option->rect.top() + i * bandLines),
                           bands->at(i));
}
