#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn for it in code so they stay sharp at any
// scale: the 16-pixel menu pictures, the 32-pixel toolbar pictures, the
// product picture of the about box (the program's icon) and the sponsor
// pictures of the welcome page.
namespace ImageList {
// The menu pictures by number; the numbers are the menu items' ImageIndex,
// which language files may set.
enum MenuImage : int {
    NoMenuImage = -1,
    RecordsImage = 0,
    SignInImage = 1,
    SignOffImage = 2,
    NewRecordImage = 3,
    EditImage = 4,
    DeleteImage = 5,
    OdometerImage = 6,
    PrintImage = 7,
    AboutImage = 9,
    LanguageImage = 10,
    SettingsImage = 11,
    CyclistImage = 12,
    QuitImage = 13,
    SkinImage = 14,
    ImportImage = 15,
    SeasonImage = 16,
    ExportImage = 20,
};
QIcon menuImage(int index);
// The toolbar pictures by number.
enum ToolImage : int {
    NewTool = 0,
    EditTool = 1,
    DeleteTool = 2,
    PrintTool = 3,
    SettingsTool = 4,
    ImportTool = 5,
    SeasonTool = 6,
};
QIcon toolImage(int index);
// The program's icon at size × size logical pixels.
QPixmap productPicture(int size = 32);
QPixmap sponsorPicture(int index, const QSize& size);
} // namespace ImageList
