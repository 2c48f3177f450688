#pragma once

#include <QIcon>
#include <QImage>
#include <array>

// The program's icon: one scalable picture in the resources, the same in the
// window system's task list, in the about box, in the dialogs' band and in
// the desktop entry's icon theme.
namespace AppIcon {

// The sizes desktops ask the hicolor icon theme for.
inline constexpr std::array<int, 8> themeSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The picture at size × size pixels; a null image when the picture cannot
// be read.
QImage render(int size);
// The icon with a picture for each theme size, each drawn when first asked for.
QIcon icon();
// The picture for size × size logical pixels on the application's screens,
// sharp at their pixel ratio.
QPixmap pixmap(int size);

} // namespace AppIcon
