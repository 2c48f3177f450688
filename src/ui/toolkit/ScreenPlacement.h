#pragma once

#include <QSize>

class QWidget;

// Places a window in the middle of the screen it comes up on (its parent's
// screen, else the primary one), frame included once the frame is known.
// Every window of the program opens there, not over its parent. A window
// taller or wider than the screen's free area (a netbook's 1024 × 600) keeps
// its top left corner, and so its title bar, on the screen, where it can be
// moved and maximised.
void centreOnScreen(QWidget* window);

// The client size a window takes on a screen whose free area is `available`
// when it asks for `wanted` and its frame adds `frame`: as asked where it
// fits, else as large as the free area allows, so that a netbook's 1024 × 600
// or a laptop at 200 % (960 × 540) shows the whole window.
QSize clientSizeWithin(const QSize& wanted, const QSize& frame, const QSize& available);
// Resizes a window not yet shown to clientSizeWithin() its screen's free
// area, allowing for a window manager's usual frame.
void fitOnScreen(QWidget* window);
