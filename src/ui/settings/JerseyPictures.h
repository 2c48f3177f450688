#pragma once

#include <QIcon>
#include <QPixmap>

// The jerseys of the cyclists list, 16 by 16 pixels, drawn in code: the
// leader's yellow, the young rider's white, the climber's red polka dots on
// white and the sprinter's green.
namespace JerseyPictures {
enum Jersey { Yellow = 0, White = 1, PolkaDot = 2, Green = 3 };
constexpr int count = 4;
// The jersey of a list position counted from 0, size × size pixels (16 for
// the list, 32 for a screen of twice the pixels); a null pixmap from the
// fifth position on.
QPixmap jersey(int index, int size = 16);
// The jersey as the list shows it, sharp on every screen; an empty picture of
// the same size from the fifth position on, so the names stay in line.
QIcon jerseyIcon(int index);
} // namespace JerseyPictures
