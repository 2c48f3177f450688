#include "toolkit/ControlProperties.h"

#include <QApplication>
#include <QPalette>

FontProperties::FontProperties(QWidget* control) : QObject(control), m_control(control) {}

void FontProperties::change(const std::function<void(QFont&)>& edit)
{
    QFont f = m_control->font();
    edit(f);
    m_control->setFont(f);
}

QString FontProperties::name() const
{
    return m_control->font().family();
}

void FontProperties::setName(const QString& name)
{
    change([&](QFont& f) { f.setFamilies({name}); });
}

int FontProperties::size() const
{
    return qRound(m_control->font().pointSizeF());
}

void FontProperties::setSize(int points)
{
    // A size of 0 or less means no size of its own.
    if (points > 0 && points <= 512)
        change([&](QFont& f) { f.setPointSize(points); });
}

int FontProperties::height() const
{
    const QFont f = m_control->font();
    return f.pixelSize() > 0 ? -f.pixelSize() : -qRound(f.pointSizeF() * 96 / 72);
}

void FontProperties::setHeight(int pixels)
{
    const int magnitude = pixels < 0 ? -pixels : pixels;
    if (magnitude > 0 && magnitude <= 512)
        change([&](QFont& f) { f.setPixelSize(magnitude); });
}

int FontProperties::color() const
{
    return ControlProperties::toColorValue(m_control->palette().color(m_control->foregroundRole()));
}

void FontProperties::setColor(int value)
{
    QPalette p = m_control->palette();
    const std::optional<QColor> c = ControlProperties::fromColorValue(value);
    p.setColor(m_control->foregroundRole(),
               c ? *c : QApplication::palette(m_control).color(m_control->foregroundRole()));
    m_control->setPalette(p);
}

int ControlProperties::toColorValue(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

std::optional<QColor> ControlProperties::fromColorValue(int value)
{
    if (value < 0 || (value & 0xFF000000) != 0)
        return std::nullopt;
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

void ControlProperties::setLeft(QWidget* w, int left)
{
    w->move(left, w->y());
}

void ControlProperties::setTop(QWidget* w, int top)
{
    w->move(w->x(), top);
}

void ControlProperties::setWidth(QWidget* w, int width)
{
    w->resize(std::max(0, width), w->height());
}

void ControlProperties::setHeight(QWidget* w, int height)
{
    w->resize(w->width(), std::max(0, height));
}

int ControlProperties::color(const QWidget* w)
{
    return toColorValue(w->palette().color(w->backgroundRole()));
}

void ControlProperties::setColor(QWidget* w, int value)
{
    QPalette p = w->palette();
    const std::optional<QColor> c = fromColorValue(value);
    p.setColor(w->backgroundRole(), c ? *c : QApplication::palette(w).color(w->backgroundRole()));
    w->setPalette(p);
    w->setAutoFillBackground(c.has_value());
}

FontProperties* ControlProperties::font(QWidget* w)
{
    if (auto* existing = w->findChild<FontProperties*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new FontProperties(w);
}
