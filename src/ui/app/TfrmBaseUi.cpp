// Building the main window's pages, menus and message dialogs.
#include "app/TfrmBase.h"

#include "stats/MonthChartView.h"
#include "store/RideFields.h"
#include "toolkit/CaptionBar.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBMemo.h"
#include "toolkit/ImageList.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/SidePanel.h"
#include "toolkit/TabControl.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

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

QToolButton* toolButton(QWidget* parent, const char* name, const QString& hint, int image)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setIcon(ImageList::toolImage(image));
    b->setIconSize(QSize(32, 32));
    b->setFixedSize(39, 38);
    b->setAutoRaise(true);
    return b;
}

QLabel* valueLabel(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(QStringLiteral("hodnota"), parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(128, 0, 0));
    l->setPalette(pal);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}
} // namespace

void TfrmBase::buildMenus()
{
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    setMenuBar(MainMenu);

    GridMenu = new QMenu(this);
    GridMenu->setObjectName(QStringLiteral("GridMenu"));
    NoteMenu = new QMenu(this);
    NoteMenu->setObjectName(QStringLiteral("NoteMenu"));

    // Every item in menu order: where it goes (a submenu item, the grid's or
    // the note's popup menu, or the menu bar), then its name, caption, hint,
    // shortcut and picture. A separator is a row without a target.
    struct MenuRow
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
    using namespace ImageList;
    const MenuRow rows[] = {
        {&mnuProgram, nullptr, nullptr, "mnuProgram", "&Program", "Menu pro práci s programem", "",
         NoMenuImage},
        {nullptr, &mnuProgram, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuSkin, &mnuProgram, nullptr, "mnuSkin", "Skin...", "", "", SkinImage},
        {&mnuLanguage, &mnuProgram, nullptr, "mnuLanguage", "Jazyk...",
         "Vyberte jazyk ve krerém má program pracovat (jednotky pro výpočty zůstávají stejné)",
         "Ctrl+L", LanguageImage},
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
        {nullptr, &mnuRydex, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuOptions, &mnuRydex, nullptr, "mnuOptions", "&Nastavení...",
         "Uživatelské nastavení tabulky a grafu", "Ctrl+S", SettingsImage},
        {nullptr, &mnuRydex, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuInformace, nullptr, nullptr, "mnuInformace", "&Info", "Menu info", "", NoMenuImage},
        {nullptr, &mnuInformace, nullptr, nullptr, nullptr, nullptr, nullptr, NoMenuImage},
        {&mnuAbout, &mnuInformace, nullptr, "mnuAbout", "O programu", "Informace o verzi a jiné",
         "F1", AboutImage},

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
    for (const MenuRow& r : rows) {
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
    mnuLogin->makeSubmenu();
    mnuNewCyclist->setVisible(false);

    // The menu bar's actions are reached from the whole window, so their
    // shortcuts work wherever the focus is.
    for (MenuItem* m : {mnuLanguage, mnuQuit, mnuLogoff, mnuNovyZaznam, mnuUpravaZaznamu,
                        mnuSmazatZaznam, mnuPrint, mnuOptions, mnuAbout, mnuSkin, mnuUpravaODO})
        addAction(m);

    // The popup items' keys are answered by their controls (they take
    // precedence there), never by the window.
    for (MenuItem* m : {mnuNewItem, mnuEditItem, mnuDeleteItem, mnuTisk, mnuNoteItem})
        m->setShortcutContext(Qt::WidgetShortcut);
    // The report, theme and language windows do not exist yet: their
    // commands stay off rather than do nothing.
    for (MenuItem* m : {mnuPrint, mnuTisk, mnuSkin, mnuLanguage})
        m->setOwnEnabled(false);

    // Every command runs guarded: an error it does not handle itself ends it
    // in the standard error box.
    const auto command = [this](QAction* action, void (TfrmBase::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    connect(mnuNovyZaznam, &QAction::triggered, this, &TfrmBase::mnuNovyZaznamClick);
    connect(mnuNewItem, &QAction::triggered, this, &TfrmBase::mnuNewItemClick);
    connect(mnuUpravaZaznamu, &QAction::triggered, this, &TfrmBase::mnuUpravaZaznamuClick);
    connect(mnuEditItem, &QAction::triggered, this, &TfrmBase::mnuEditItemClick);
    connect(mnuNoteItem, &QAction::triggered, this, &TfrmBase::mnuNoteItemClick);
    connect(mnuSmazatZaznam, &QAction::triggered, this, &TfrmBase::mnuSmazatZaznamClick);
    connect(mnuDeleteItem, &QAction::triggered, this, &TfrmBase::mnuDeleteItemClick);
    connect(mnuUpravaODO, &QAction::triggered, this, &TfrmBase::mnuUpravaODOClick);
    command(mnuOptions, &TfrmBase::mnuOptionsClick);
    command(mnuNewCyclist, &TfrmBase::openNewCyclistDialog);
    connect(mnuQuit, &QAction::triggered, this, &TfrmBase::mnuQuitClick);
    connect(mnuLogoff, &QAction::triggered, this, &TfrmBase::mnuLogoffClick);
    connect(mnuAbout, &QAction::triggered, this, &TfrmBase::mnuAboutClick);
}

void TfrmBase::buildWelcomePage()
{
    WelcomePage = new QWidget(Pages);
    WelcomePage->setObjectName(QStringLiteral("WelcomePage"));
    WelcomePage->setAutoFillBackground(true);
    QPalette grey = WelcomePage->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    WelcomePage->setPalette(grey);
    auto* layout = new QVBoxLayout(WelcomePage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QLabel(
        QStringLiteral("Brontel – software pro sportovce, kteří chtějí vědět, kam jejich kilometry "
                       "vedou"),
        WelcomePage);
    header->setObjectName(QStringLiteral("lblAdvert"));
    header->setFixedHeight(48);
    header->setAlignment(Qt::AlignCenter);
    header->setAutoFillBackground(true);
    QPalette hp = header->palette();
    hp.setColor(QPalette::Window, QColor(60, 60, 90));
    hp.setColor(QPalette::WindowText, QColor(255, 230, 120));
    header->setPalette(hp);
    QFont hf = header->font();
    hf.setBold(true);
    hf.setPointSizeF(hf.pointSizeF() * 1.2);
    header->setFont(hf);
    layout->addWidget(header);

    // The sponsor panel: a caption bar with a button that opens the group.
    SponsorPanel = new QWidget(WelcomePage);
    SponsorPanel->setObjectName(QStringLiteral("SponsorPanel"));
    SponsorPanel->setAutoFillBackground(true);
    auto* sp = new QVBoxLayout(SponsorPanel);
    sp->setContentsMargins(0, 0, 0, 0);
    sp->setSpacing(0);
    auto* bar =
        new CaptionBar(QStringLiteral("SponsorBar"), QStringLiteral("btnSponsors"), SponsorPanel);
    bar->setCaption(QStringLiteral("Informace o sponzorech"));
    QToolButton* toggle = bar->button();
    toggle->setArrowType(Qt::DownArrow);
    sp->addWidget(bar);
    // The caption bar carries the heading; the pictures sit below it in a
    // plain frame, so the heading is not shown twice.
    auto* group = new QFrame(SponsorPanel);
    group->setObjectName(QStringLiteral("SponsorGroup"));
    group->setFrameShape(QFrame::StyledPanel);
    auto* gl = new QHBoxLayout(group);
    gl->setContentsMargins(12, 8, 12, 8);
    for (int i = 0; i < 4; ++i) {
        auto* pic = new QLabel(group);
        pic->setObjectName(QStringLiteral("imgSponsor%1").arg(i + 1));
        pic->setPixmap(ImageList::sponsorPicture(i, QSize(150, 80)));
        pic->setAlignment(Qt::AlignCenter);
        gl->addWidget(pic);
    }
    sp->addWidget(group);
    connect(toggle, &QToolButton::toggled, group, [group, toggle](bool open) {
        group->setVisible(open);
        toggle->setArrowType(open ? Qt::UpArrow : Qt::DownArrow);
    });
    layout->addWidget(SponsorPanel);
    layout->addStretch(1);

    auto* band = new QLabel(QStringLiteral("www.brontel.cz/rydex"), WelcomePage);
    band->setObjectName(QStringLiteral("lblWebAddress"));
    band->setFixedHeight(55);
    band->setAlignment(Qt::AlignCenter);
    band->setAutoFillBackground(true);
    QPalette wp = band->palette();
    wp.setColor(QPalette::Window, QColor(70, 70, 70));
    wp.setColor(QPalette::WindowText, Qt::white);
    band->setPalette(wp);
    QFont wf = band->font();
    wf.setPixelSize(30);
    wf.setBold(true);
    band->setFont(wf);
    layout->addWidget(band);
    Pages->addWidget(WelcomePage);
}

QWidget* TfrmBase::buildToolbarStrip(QWidget* parent)
{
    auto* strip = new QWidget(parent);
    strip->setObjectName(QStringLiteral("ToolBar"));
    strip->setFixedHeight(44);
    auto* l = new QHBoxLayout(strip);
    l->setContentsMargins(4, 3, 4, 3);
    l->setSpacing(2);
    using namespace ImageList;
    toolBtnCreate = toolButton(strip, "toolBtnCreate", QStringLiteral("New record"), NewTool);
    toolBtnEdit = toolButton(strip, "toolBtnEdit", QStringLiteral("Edit record"), EditTool);
    toolBtnDelete = toolButton(strip, "toolBtnDelete", QStringLiteral("Delete record"), DeleteTool);
    toolBtnPrint = toolButton(strip, "toolBtnPrint", QStringLiteral("Print"), PrintTool);
    toolBtnPrint->setEnabled(false);
    toolBtnSettings =
        toolButton(strip, "toolBtnSettings", QStringLiteral("Settings"), SettingsTool);
    l->addWidget(toolBtnCreate);
    l->addWidget(toolBtnEdit);
    l->addWidget(toolBtnDelete);
    auto* caption = new QLabel(QStringLiteral("Tabulka hodnot s poznámkou"), strip);
    caption->setObjectName(QStringLiteral("lblToolBarCaption"));
    caption->setAlignment(Qt::AlignCenter);
    QFont cf = caption->font();
    cf.setBold(true);
    caption->setFont(cf);
    l->addWidget(caption, 1);
    l->addWidget(toolBtnPrint);
    l->addWidget(toolBtnSettings);
    return strip;
}

QGroupBox* TfrmBase::buildStatisticsBox(QWidget* parent, const QString& name,
                                        const QString& caption, const QStringList& captions,
                                        const QStringList& valueNames, const QStringList& units,
                                        const QList<int>& rows)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    QList<QLabel*> values;
    for (int i = 0; i < captions.size(); ++i) {
        auto* c = new QLabel(captions.at(i), box);
        c->setObjectName(name + QStringLiteral("Caption%1").arg(i));
        c->move(16, rows.at(i));
        c->adjustSize();
        QLabel* v = valueLabel(box, valueNames.at(i));
        // Right-aligned so that the values end at x = 161.
        v->setGeometry(96, rows.at(i), 65, c->height());
        auto* u = new QLabel(units.at(i), box);
        u->setObjectName(name + QStringLiteral("Unit%1").arg(i));
        u->move(166, rows.at(i));
        u->adjustSize();
    }
    return box;
}

QWidget* TfrmBase::buildChartArea(QWidget* parent)
{
    auto* area = new QWidget(parent);
    area->setObjectName(QStringLiteral("ChartPanel"));
    area->setFixedHeight(234);
    auto* l = new QHBoxLayout(area);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);

    Grafy = new TabControl(QStringLiteral("Grafy"), area);
    Grafy->setTabs({QStringLiteral("Délka tréninku (h) %"), QStringLiteral("Vzdálenost (km)"),
                    QStringLiteral("Průměrný tep/min"), QStringLiteral("Celkové převýšení (m)")});
    Grafy->setTabsIndent(10);
    auto* body = new QVBoxLayout(Grafy->body());
    body->setContentsMargins(0, 0, 0, 0);
    Graf = new MonthChartView(Grafy->body());
    Graf->setObjectName(QStringLiteral("Graf"));
    const QString chartHint = QStringLiteral(
        "Pravým tlačítkem myši v tabulce, nebo příkazem v menu můžete graf také tisknout");
    Graf->setToolTip(chartHint);
    Graf->setStatusTip(chartHint);
    body->addWidget(Graf);
    l->addWidget(Grafy, 1);

    auto* stats = new QWidget(area);
    stats->setObjectName(QStringLiteral("StatisticsPanel"));
    stats->setFixedWidth(223);
    // The boxes are laid out to the pixel for a narrow 8-point face; a
    // slightly smaller size keeps captions and values apart with wider fonts.
    QFont compact = stats->font();
    compact.setPointSizeF(7);
    stats->setFont(compact);
    QGroupBox* month = buildStatisticsBox(
        stats, QStringLiteral("StatisticsPerMonth"), QStringLiteral("Statistika za tento měsíc"),
        {QStringLiteral("Hodin celkem:"), QStringLiteral("Kilometrů celkem:"),
         QStringLiteral("Převýšení celkem:"), QStringLiteral("Průměrný tep:")},
        {QStringLiteral("lblHodiny"), QStringLiteral("lblKilometry"),
         QStringLiteral("lblPrevyseni"), QStringLiteral("lblTep")},
        {QStringLiteral("hod"), QStringLiteral("km"), QStringLiteral("m"),
         QStringLiteral("tepů/min")},
        {32, 52, 72, 92});
    month->setGeometry(8, 11, 215, 136);
    QGroupBox* year = buildStatisticsBox(
        stats, QStringLiteral("StatisticsPerYear"), QStringLiteral("Statistika za tento rok"),
        {QStringLiteral("Hodin celkem:"), QStringLiteral("Kilometrů celkem:")},
        {QStringLiteral("lblHodCelkem"), QStringLiteral("lblKMCelkem")},
        {QStringLiteral("hod"), QStringLiteral("km")}, {28, 48});
    year->setGeometry(8, 148, 215, 80);
    lblHodiny = month->findChild<QLabel*>(QStringLiteral("lblHodiny"));
    lblKilometry = month->findChild<QLabel*>(QStringLiteral("lblKilometry"));
    lblPrevyseni = month->findChild<QLabel*>(QStringLiteral("lblPrevyseni"));
    lblTep = month->findChild<QLabel*>(QStringLiteral("lblTep"));
    lblHodCelkem = year->findChild<QLabel*>(QStringLiteral("lblHodCelkem"));
    lblKMCelkem = year->findChild<QLabel*>(QStringLiteral("lblKMCelkem"));
    l->addWidget(stats);
    return area;
}

void TfrmBase::buildWorkingPage()
{
    WorkPage = new QWidget(Pages);
    WorkPage->setObjectName(QStringLiteral("WorkPage"));
    auto* layout = new QVBoxLayout(WorkPage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The year strip: the buttons are placed by Reklama, not by a layout.
    YearStrip = new QWidget(WorkPage);
    YearStrip->setObjectName(QStringLiteral("YearStrip"));
    YearStrip->setFixedHeight(40);
    lblYear = new QLabel(YearStrip);
    lblYear->setObjectName(QStringLiteral("lblYear"));
    lblYear->setAlignment(Qt::AlignCenter);
    QFont yf = lblYear->font();
    yf.setBold(true);
    yf.setPointSizeF(yf.pointSizeF() * 1.5);
    lblYear->setFont(yf);
    QPalette yp = lblYear->palette();
    yp.setColor(QPalette::WindowText, QColor(128, 0, 0));
    lblYear->setPalette(yp);
    btnDown = new QToolButton(YearStrip);
    btnDown->setObjectName(QStringLiteral("btnDown"));
    btnDown->setText(QStringLiteral("<"));
    btnDown->setAutoRaise(true);
    btnDown->setGeometry(0, 8, 22, 22);
    btnUp = new QToolButton(YearStrip);
    btnUp->setObjectName(QStringLiteral("btnUp"));
    btnUp->setText(QStringLiteral(">"));
    btnUp->setAutoRaise(true);
    btnUp->setGeometry(0, 8, 22, 22);
    // A clicked button takes the focus, as users expect; Space repeats it.
    btnDown->setFocusPolicy(Qt::StrongFocus);
    btnUp->setFocusPolicy(Qt::StrongFocus);
    YearStrip->installEventFilter(this);
    layout->addWidget(YearStrip);

    Mesice = new TabControl(QStringLiteral("Mesice"), WorkPage);
    Mesice->setTabs({QStringLiteral("Leden"), QStringLiteral("Únor"), QStringLiteral("Březen"),
                     QStringLiteral("Duben"), QStringLiteral("Květen"), QStringLiteral("Červen"),
                     QStringLiteral("Červenec"), QStringLiteral("Srpen"), QStringLiteral("Září"),
                     QStringLiteral("Říjen"), QStringLiteral("Listopad"),
                     QStringLiteral("Prosinec")});
    Mesice->setTabIndex(0);
    auto* inner = new QVBoxLayout(Mesice->body());
    inner->setContentsMargins(2, 2, 2, 2);
    inner->setSpacing(2);
    inner->addWidget(buildToolbarStrip(Mesice->body()));

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    Grid = new DBGrid(QStringLiteral("DBGrid"), Mesice->body());
    Grid->setGridColumns({
        {RideField::day, QStringLiteral("Den"), 40},
        {RideField::druh, QStringLiteral("druh"), 0},
        {RideField::typ, QStringLiteral("typ"), 0},
        {RideField::obtiznost, QStringLiteral("Obtížnost"), 0},
        {RideField::vlivy, QStringLiteral("vlivy"), 0},
        {RideField::pocit, QStringLiteral("pocit"), 0},
        {RideField::time, QStringLiteral("Čas"), 0},
        {RideField::dst, QStringLiteral("Vzdálenost"), 0},
        {RideField::odo, QStringLiteral("Celkem"), 70},
        {RideField::avs, QStringLiteral("Průměr"), 0},
        {RideField::temperature, QStringLiteral("Teplota"), 0},
        {RideField::pulse, QStringLiteral("Tep"), 0},
        {RideField::pulsemax, QStringLiteral("Max tep"), 0},
        {RideField::alt, QStringLiteral("Převýšení"), 0},
        {RideField::altmax, QStringLiteral("Max výška"), 0},
    });
    Grid->setPopupMenu(GridMenu);
    middle->addWidget(Grid, 1);
    NotePanel = new SidePanel(QStringLiteral("NotePanel"), 219, Mesice->body());
    NotePanel->setCaption(QStringLiteral("Poznámka"));
    Note = new DBMemo(QStringLiteral("Note"), RideField::note, NotePanel);
    Note->setPopupMenu(NoteMenu);
    NotePanel->contentLayout()->addWidget(Note);
    middle->addWidget(NotePanel);
    inner->addLayout(middle, 1);
    inner->addWidget(buildChartArea(Mesice->body()));
    layout->addWidget(Mesice, 1);
    Pages->addWidget(WorkPage);

    const auto button = [this](QToolButton* b, void (TfrmBase::*handler)()) {
        connect(b, &QToolButton::clicked, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    connect(toolBtnCreate, &QToolButton::clicked, this, &TfrmBase::toolBtnCreateClick);
    connect(toolBtnEdit, &QToolButton::clicked, this, &TfrmBase::toolBtnEditClick);
    connect(toolBtnDelete, &QToolButton::clicked, this, &TfrmBase::toolBtnDeleteClick);
    button(toolBtnSettings, &TfrmBase::mnuOptionsClick);
    connect(Grid, &DBGrid::doubleClicked_, this, &TfrmBase::DBGridDblClick);
    connect(btnDown, &QToolButton::clicked, this, &TfrmBase::btnDownClick);
    connect(btnUp, &QToolButton::clicked, this, &TfrmBase::btnUpClick);
    connect(Mesice, &TabControl::Change, this, [this] { guarded([this] { MesiceChange(); }); });
    connect(Grafy, &TabControl::Change, this, [this] { guarded([this] { GrafyChange(); }); });
}

void TfrmBase::buildMessageDialogs()
{
    struct Entry
    {
        MessageDialog** target;
        const char* name;
        QString caption;
        MessageDialog::IconType icon;
        int buttons;
        QString text;
    };
    const Entry entries[] = {
        {&msgDlgMSJet, "msgDlgMSJet", QStringLiteral("Stop!"), MessageDialog::Warning, 1,
         QStringLiteral("Nemáte nainstalován Microsoft Jet 4.0 pro práci s databázemi!")},
        {&msgDlgNotDatabeseOpen, "msgDlgNotDatabeseOpen", QStringLiteral("Chyba"),
         MessageDialog::Stop, 1,
         QStringLiteral("Nemohu pracovat s databází. Restartujte program, při potížích celé PC.")},
        {&msgDlgDeleteRecord, "msgDlgDeleteRecord", QStringLiteral("Potvrzení"),
         MessageDialog::Warning, 2, QStringLiteral("Opravdu chcete záznam smazat?")},
        {&msgDlgNotDelete, "msgDlgNotDelete", QStringLiteral("Stop!"), MessageDialog::Warning, 1,
         QStringLiteral("Není co mazat!")},
        {&mdgDlgNoRecord, "mdgDlgNoRecord", QStringLiteral("Stop!"), MessageDialog::Warning, 1,
         QStringLiteral("Nemáte žádný záznam! Nejprve jej musíte vytvořit!")},
        {&msgDlgNotPrint, "msgDlgNotPrint", QStringLiteral("Pozastaveno"), MessageDialog::Question,
         2, QStringLiteral("Není co tisknout, chcete přesto pokračovat?")},
    };
    for (const Entry& s : entries) {
        auto* d = new MessageDialog(QString::fromLatin1(s.name), this);
        d->setCaption(s.caption);
        d->setIconType(s.icon);
        d->setButtonCount(s.buttons);
        d->setButton1Caption(QStringLiteral("OK"));
        d->setButton2Caption(QStringLiteral("Cancel"));
        d->setText(s.text);
        *s.target = d;
    }
}
