#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn for it in code so they stay sharp at any
// scale: the 16-pixel menu pictures, the 32-pixel toolbar pictures, the
// product picture of the about box and the sponsor pictures of the welcome page.
namespace ImageList {
// Menu pictures by number: 0 records, 1 sign in, 2 sign off, 3 new record,
// 4 edit, 5 delete, 6 odometer, 7 print, 9 about, 10 language, 11 settings,
// 12 cyclist, 13 quit, 14 skin.
QIcon menuImage(int index);
// Toolbar pictures by number: 0 new, 1 edit, 2 delete, 3 print, 4 settings.
QIcon toolImage(int index);
QPixmap productPicture(int size = 32);
QPixmap sponsorPicture(int index, const QSize& size);
} // namespace ImageList
