// Draws the program's icon at each size of the hicolor icon theme, for the
// installation: rydex-icons OUTPUT_DIR writes
// OUTPUT_DIR/<N>x<N>/apps/<desktop id>.png. The pictures come from the same
// scalable picture and the same drawing as the program's window icon.
#include "base/AppIdentity.h"
#include "toolkit/AppIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: rydex-icons OUTPUT_DIR" << Qt::endl;
        return 2;
    }
    const QDir out(args.at(1));
    for (const int size : AppIcon::themeSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = out.filePath(
            folder + QStringLiteral("/%1.png").arg(QLatin1String(AppIdentity::desktopId)));
        const QImage image = AppIcon::render(size);
        if (image.isNull() || !out.mkpath(folder) || !image.save(file)) {
            QTextStream(stderr) << "cannot write " << file << Qt::endl;
            return 1;
        }
    }
    return 0;
}
