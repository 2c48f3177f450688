#include "toolkit/AppIcon.h"

#include "base/AppIdentity.h"
#include "toolkit/DrawnIcon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The picture lies in the window library's resources. A static library's
// resources are linked into a program only when something names them.
static void loadResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(loaded);
}

QImage AppIcon::render(int size)
{
    loadResources();
    QSvgRenderer renderer(
        QStringLiteral(":/icons/%1.svg").arg(QLatin1String(AppIdentity::desktopId)));
    if (!renderer.isValid() || size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return image;
}

QIcon AppIcon::icon()
{
    // Drawn from the picture itself rather than through Qt's SVG icon
    // plugin, so the program needs no plugin to show its icon; each size
    // when it is first asked for.
    static const QIcon icon = [] {
        QList<QSize> sizes;
        for (const int size : themeSizes)
            sizes << QSize(size, size);
        return DrawnIcon::make([](int side) { return QPixmap::fromImage(render(side)); }, sizes);
    }();
    return icon;
}

QPixmap AppIcon::pixmap(int size)
{
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const qreal ratio = app ? app->devicePixelRatio() : 1.0;
    return icon().pixmap(QSize(size, size), ratio);
}
