#include "toolkit/DrawnIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QMap>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {
class DrawnIconEngine : public QIconEngine
{
public:
    DrawnIconEngine(std::function<QPixmap(int)> draw, QList<QSize> sizes)
        : m_draw(std::move(draw)), m_sizes(std::move(sizes))
    {
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::max(1, std::min(size.width(), size.height()));
        const quint64 key = quint64(side) << 8 | quint64(mode);
        const auto found = m_cache.constFind(key);
        if (found != m_cache.constEnd())
            return *found;
        QPixmap pm = m_draw(side);
        // A disabled or selected picture is made from the normal one the
        // way the style makes it for any icon.
        if (mode != QIcon::Normal && !pm.isNull() && qobject_cast<QApplication*>(qApp)) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        m_cache.insert(key, pm);
        return pm;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), pm);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_sizes; }

    bool isNull() override
    {
        return m_sizes.isEmpty() || pixmap(m_sizes.first(), QIcon::Normal, QIcon::Off).isNull();
    }

    QString key() const override { return QStringLiteral("rydex-drawn"); }

    QIconEngine* clone() const override { return new DrawnIconEngine(m_draw, m_sizes); }

private:
    std::function<QPixmap(int)> m_draw;
    QList<QSize> m_sizes;
    QMap<quint64, QPixmap> m_cache;
};
} // namespace

QIcon DrawnIcon::make(std::function<QPixmap(int side)> draw, QList<QSize> sizes)
{
    // QIcon owns its engine.
    return QIcon(new DrawnIconEngine(std::move(draw), std::move(sizes)));
}
