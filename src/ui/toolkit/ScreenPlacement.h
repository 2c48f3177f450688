#pragma once

class QWidget;

// Places a window in the middle of the screen it comes up on (its parent's
// screen, else the primary one), frame included once the frame is known.
// Every window of the program opens there, not over its parent.
void centreOnScreen(QWidget* window);
