#pragma once

#include <QPixmap>

// The jerseys of the cyclists list, 16 by 16 pixels, drawn in code: the
// leader's yellow, the young rider's white, the climber's red polka dots on
// white and the sprinter's green.
namespace JerseyPictures {
enum Jersey { Yellow = 0, White = 1, PolkaDot = 2, Green = 3 };
constexpr int count = 4;
// The jersey of a list position counted from 0; a null pixmap from the fifth
// position on.
QPixmap jersey(int index);
} // namespace JerseyPictures
