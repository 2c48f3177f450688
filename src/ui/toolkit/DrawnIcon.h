#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>

#include <functional>

// An icon whose pictures are drawn by a function when a menu, a button or the
// window system first asks for a size, and kept: the start-up would otherwise
// draw every picture of every menu that is never opened. The icon is null
// when the function draws nothing at the first of the sizes.
namespace DrawnIcon {
// draw(side) returns the picture at side × side device pixels.
QIcon make(std::function<QPixmap(int side)> draw, QList<QSize> sizes);
} // namespace DrawnIcon
