#pragma once

#include <QString>

// A caption as the user reads it on the screen, for naming a control or a
// menu item in a message: without the accelerator marks ("&Rydex" reads
// "Rydex", "&&" reads "&"), the padding and a closing colon.
QString captionAsRead(const QString& caption);
