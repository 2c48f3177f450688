#pragma once

class QGroupBox;

// Where a group box's frame line (or its title, if lower) ends: the first
// row inside the group that no line or title crosses, in the group's own
// coordinates. It depends on the style and the font, so layouts ask for it.
int groupFrameTop(const QGroupBox* box);
