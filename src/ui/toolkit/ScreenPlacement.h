#pragma once

class QWidget;

// Places a window in the middle of the screen it comes up on (its parent's
// screen, else the primary one), frame included once the frame is known.
// Every window of the program opens there, not over its parent. A window
// taller or wider than the screen's free area (a netbook's 1024 × 600) keeps
// its top left corner, and so its title bar, on the screen, where it can be
// moved and maximised.
void centreOnScreen(QWidget* window);
