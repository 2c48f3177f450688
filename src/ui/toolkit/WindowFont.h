#pragma once

#include <QFont>
#include <QStringList>

// The windows place their controls to the pixel, for an 8-point sans serif
// face as narrow as the one they were drawn with. DejaVu Sans, the face of a
// Debian desktop, writes their longest captions a tenth wider than the room
// they have; its condensed cut holds them at that size. Without it, the
// desktop's face is taken a little smaller.
QFont windowFont(const QFont& desktop, const QStringList& installedFamilies);

// Makes windowFont() the application's font. Set once on the application
// rather than on each window: a change of theme gives every control that
// inherits its font the application's font again.
void useWindowFont();
