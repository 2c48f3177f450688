// The main window's menus: the menu bar and the popup menus of the grid and
// the note, built from one table, and the handlers of their items.
#include "app/TfrmBase.h"

#include "toolkit/ImageList.h"
#include "toolkit/MenuItem.h"

#include <QMenu>
#include <QMenuBar>
#include <span>

namespace {
MenuItem* item(QObject* owner, const char* name, const QString& caption, const QString& hint,
               const QString& shortcut, int image)
{
    auto* m = new MenuItem(QString::fromLatin1(name), caption, owner);
    m->setHint(hint);
    if (!shortcut.isEmpty())
        m->setShortCutText(shortcut);
    if (image >= 0)
        m->setImageIndex(image);
    return m;
}
} // namespace

// Every item in menu order: where it goes (a submenu item, the grid's or
// the note's popup menu, or the menu bar), then its name, caption, hint,
// shortcut and picture. A separator is a row without a target.
struct TfrmBase::MenuRow
{
    MenuItem** target;
    MenuItem** parent;
    QMenu* popup;
    const char* name;
    const char* caption;
    const char* hint;
    const char* shortcut;
    int image;
};

void TfrmBase::buildMenus()
{
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    setMenuBar(MainMenu);
    GridMenu = new QMenu(this);
    GridMenu->setObjectName(QStringLiteral("GridMenu"));
    NoteMenu = new QMenu(this);
    NoteMenu->setObjectName(QStringLiteral("NoteMenu"));

    using namespace ImageList;
    const MenuRow mainRows[] = {
        {&mnuProgram, nullptr, nullptr, "mnuProgram", "&Program", "Menu pro práci s programem", "",
         NoMenuImage},
        {nullptr, &mnuProgram, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuDatabase, &mnuProgram, nullptr, "mnuDatabase", "&Databáze...",
         "Kde jsou uloženy jízdy: v souboru na tomto počítači, nebo v databázi na serveru "
         "PostgreSQL",
         "", NoMenuImage},
        {&mnuSkin, &mnuProgram, nullptr, "mnuSkin", "Skin...", "", "", SkinImage},
        {&mnuLanguage, &mnuProgram, nullptr, "mnuLanguage", "Jazyk...",
         "Vyberte jazyk ve krerém má program pracovat (jednotky pro výpočty zůstávají stejné)",
         "Ctrl+L", LanguageImage},
        {nullptr, &mnuProgram, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuBackup, &mnuProgram, nullptr, "mnuBackup", "&Zálohovat...",
         "Uloží jízdy všech uživatelů, záznamy o importu a nastavení do jednoho souboru zálohy", "",
         NoMenuImage},
        {&mnuRestore, &mnuProgram, nullptr, "mnuRestore", "&Obnovit ze zálohy...",
         "Nahradí všechny jízdy a nastavení obsahem zálohy", "", NoMenuImage},
        {nullptr, &mnuProgram, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuQuit, &mnuProgram, nullptr, "mnuQuit", "&Konec", "Ukončí program", "", QuitImage},
        {&mnuRydex, nullptr, nullptr, "mnuRydex", "&Rydex", "Menu pro práci s deníkem", "",
         NoMenuImage},
        {&mnuLogin, &mnuRydex, nullptr, "mnuLogin", "Přihlaš uživatele",
         "Přihlásí registrovaného uživatele", "", SignInImage},
        // Cyclists are otherwise created only from the settings dialog, which
        // needs a signed-in cyclist: while nobody is listed, this item lets a
        // new installation begin.
        {&mnuNewCyclist, &mnuRydex, nullptr, "mnuNewCyclist", "Nový uživatel...",
         "Vytvoří prvního uživatele", "", CyclistImage},
        {&mnuLogoff, &mnuRydex, nullptr, "mnuLogoff", "Odhlásit", "Odhlásí aktuálního uživatele",
         "Ctrl+O", SignOffImage},
        {nullptr, &mnuRydex, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuRecords, &mnuRydex, nullptr, "mnuRecords", "&Záznamy",
         "Rozšířené menu pro práci se zánamy", "", RecordsImage},
        {&mnuNovyZaznam, &mnuRecords, nullptr, "mnuNovyZaznam", "Nový záznam...", "Přidá záznam",
         "Ctrl+N", NewRecordImage},
        {&mnuImport, &mnuRecords, nullptr, "mnuImport", "Import jízd...",
         "Načte jízdy ze souborů FIT, GPX a TCX z cyklopočítače, hodinek nebo telefonu", "Ctrl+I",
         ImportImage},
        {&mnuExport, &mnuRecords, nullptr, "mnuExport", "E&xport...",
         "Uloží jízdy jako soubor CSV pro tabulkové procesory", "Ctrl+Shift+E", ExportImage},
        {nullptr, &mnuRecords, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuUpravaZaznamu, &mnuRecords, nullptr, "mnuUpravaZaznamu", "Úprava záznamu...",
         "Upraví záznam", "F2", EditImage},
        {nullptr, &mnuRecords, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuSmazatZaznam, &mnuRecords, nullptr, "mnuSmazatZaznam", "Smazat záznam", "Smaže záznam",
         "Del", DeleteImage},
        {nullptr, &mnuRecords, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuUpravaODO, &mnuRecords, nullptr, "mnuUpravaODO", "Uprav ODO v prvním záznamu...",
         "Změní počáteční hodnotu stavu kilometrů", "", OdometerImage},
        {&mnuPrint, &mnuRydex, nullptr, "mnuPrint", "Náhled a tisk grafů...",
         "Vytiskne aktuálně prohlížený graf", "Ctrl+P", PrintImage},
        {&mnuSeason, &mnuRydex, nullptr, "mnuSeason", "&Sezóna...",
         "Týdny a měsíce roku, srovnání s minulými roky a osobní rekordy", "Ctrl+J", SeasonImage},
        {nullptr, &mnuRydex, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuOptions, &mnuRydex, nullptr, "mnuOptions", "&Nastavení...",
         "Uživatelské nastavení tabulky a grafu", "Ctrl+S", SettingsImage},
        {nullptr, &mnuRydex, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuInformace, nullptr, nullptr, "mnuInformace", "&Info", "Menu info", "", NoMenuImage},
        {nullptr, &mnuInformace, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuAbout, &mnuInformace, nullptr, "mnuAbout", "O programu", "Informace o verzi a jiné",
         "F1", AboutImage},
    };
    addMenuRows(mainRows, std::size(mainRows));
    const MenuRow popupRows[] = {
        {&mnuRecordsItem, nullptr, GridMenu, "mnuRecordsItem", "&Záznamy",
         "Menu pro práci se zánamy", "", RecordsImage},
        {&mnuNewItem, &mnuRecordsItem, nullptr, "mnuNewItem", "Nový záznam...", "Přidá záznam",
         "Ctrl+N", NewRecordImage},
        {nullptr, &mnuRecordsItem, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuEditItem, &mnuRecordsItem, nullptr, "mnuEditItem", "Úprava záznamu...",
         "Upraví záznam", "Ctrl+E", EditImage},
        {nullptr, &mnuRecordsItem, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuDeleteItem, &mnuRecordsItem, nullptr, "mnuDeleteItem", "Smazat záznam", "Smaže záznam",
         "Ctrl+D", DeleteImage},
        {nullptr, nullptr, GridMenu, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuTisk, nullptr, GridMenu, "mnuTisk", "Náhled a tisk grafů...",
         "Vytiskne aktuálně prohlížený graf", "Ctrl+T", PrintImage},
        {&mnuNoteItem, nullptr, NoteMenu, "mnuNoteItem", "Úprava poznámky...", "Úprava záznamu",
         "Ctrl+E", EditImage},
    };
    addMenuRows(popupRows, std::size(popupRows));
    mnuLogin->makeSubmenu();
    mnuNewCyclist->setVisible(false);
    wireMenus();
}

void TfrmBase::addMenuRows(const MenuRow* rows, std::size_t count)
{
    for (const MenuRow& r : std::span(rows, count)) {
        if (!r.target) {
            if (r.parent)
                (*r.parent)->addSeparator();
            else
                r.popup->addSeparator();
            continue;
        }
        *r.target = item(this, r.name, QString::fromUtf8(r.caption), QString::fromUtf8(r.hint),
                         QString::fromLatin1(r.shortcut), r.image);
        if (r.parent)
            (*r.parent)->addItem(*r.target);
        else if (r.popup)
            r.popup->addAction(*r.target);
        else
            MainMenu->addAction(*r.target);
    }
}

void TfrmBase::wireMenus()
{
    // The menu bar's actions are reached from the whole window, so their
    // shortcuts work wherever the focus is.
    for (MenuItem* m :
         {mnuLanguage, mnuQuit, mnuLogoff, mnuNovyZaznam, mnuImport, mnuExport, mnuUpravaZaznamu,
          mnuSmazatZaznam, mnuPrint, mnuSeason, mnuOptions, mnuAbout, mnuSkin, mnuUpravaODO})
        addAction(m);

    // The popup items' keys are answered by their controls (they take
    // precedence there), never by the window.
    for (MenuItem* m : {mnuNewItem, mnuEditItem, mnuDeleteItem, mnuTisk, mnuNoteItem})
        m->setShortcutContext(Qt::WidgetShortcut);

    // Every command runs guarded: an error it does not handle itself ends it
    // in the standard error box.
    const auto command = [this](QAction* action, void (TfrmBase::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    connect(mnuNovyZaznam, &QAction::triggered, this, &TfrmBase::mnuNovyZaznamClick);
    connect(mnuNewItem, &QAction::triggered, this, &TfrmBase::mnuNewItemClick);
    connect(mnuImport, &QAction::triggered, this, &TfrmBase::mnuImportClick);
    connect(mnuSeason, &QAction::triggered, this, &TfrmBase::mnuSeasonClick);
    command(mnuExport, &TfrmBase::mnuExportClick);
    connect(mnuUpravaZaznamu, &QAction::triggered, this, &TfrmBase::mnuUpravaZaznamuClick);
    connect(mnuEditItem, &QAction::triggered, this, &TfrmBase::mnuEditItemClick);
    connect(mnuNoteItem, &QAction::triggered, this, &TfrmBase::mnuNoteItemClick);
    connect(mnuSmazatZaznam, &QAction::triggered, this, &TfrmBase::mnuSmazatZaznamClick);
    connect(mnuDeleteItem, &QAction::triggered, this, &TfrmBase::mnuDeleteItemClick);
    connect(mnuUpravaODO, &QAction::triggered, this, &TfrmBase::mnuUpravaODOClick);
    command(mnuOptions, &TfrmBase::mnuOptionsClick);
    command(mnuPrint, &TfrmBase::Print);
    command(mnuTisk, &TfrmBase::Print);
    command(mnuNewCyclist, &TfrmBase::openNewCyclistDialog);
    connect(mnuQuit, &QAction::triggered, this, &TfrmBase::mnuQuitClick);
    connect(mnuLogoff, &QAction::triggered, this, &TfrmBase::mnuLogoffClick);
    connect(mnuAbout, &QAction::triggered, this, &TfrmBase::mnuAboutClick);
    connect(mnuLanguage, &QAction::triggered, this, &TfrmBase::mnuLanguageClick);
    command(mnuSkin, &TfrmBase::mnuSkinClick);
    connect(mnuBackup, &QAction::triggered, this, &TfrmBase::mnuBackupClick);
    command(mnuDatabase, &TfrmBase::mnuDatabaseClick);
    connect(mnuRestore, &QAction::triggered, this, &TfrmBase::mnuRestoreClick);
}
