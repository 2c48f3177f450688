#include "theme/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {
double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}
} // namespace

double relativeLuminance(const QColor& colour)
{
    const QColor c = colour.toRgb();
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& wanted, const QColor& background, double ratio)
{
    // Towards whichever end of the scale lies farther from the background.
    const QColor end = contrastRatio(Qt::white, background) > contrastRatio(Qt::black, background)
                           ? QColor(Qt::white)
                           : QColor(Qt::black);
    const QColor from = wanted.toRgb();
    QColor mixed = from;
    for (int step = 1; step <= 20 && contrastRatio(mixed, background) < ratio; ++step) {
        const double t = step / 20.0;
        mixed = QColor::fromRgbF(float(from.redF() + (end.redF() - from.redF()) * t),
                                 float(from.greenF() + (end.greenF() - from.greenF()) * t),
                                 float(from.blueF() + (end.blueF() - from.blueF()) * t));
    }
    return mixed;
}
