#include "toolkit/WindowFont.h"

#include <QApplication>
#include <QFontDatabase>

namespace {
const char* const narrowFace = "DejaVu Sans Condensed";
constexpr double points = 8;
// The desktop's own face, a size smaller, is about as wide.
constexpr double pointsOfAWiderFace = 7.5;
} // namespace

QFont windowFont(const QFont& desktop, const QStringList& installedFamilies)
{
    QFont f(desktop);
    if (installedFamilies.contains(QString::fromLatin1(narrowFace), Qt::CaseInsensitive)) {
        f.setFamily(QString::fromLatin1(narrowFace));
        f.setPointSizeF(points);
    } else {
        f.setPointSizeF(pointsOfAWiderFace);
    }
    return f;
}

void useWindowFont()
{
    QApplication::setFont(windowFont(QApplication::font(), QFontDatabase::families()));
}
