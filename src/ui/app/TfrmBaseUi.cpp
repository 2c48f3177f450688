// Building the main window's pages, menus and message dialogs.
#include "app/TfrmBase.h"

#include "stats/MonthChartView.h"
#include "store/RideFields.h"
#include "toolkit/CaptionBar.h"
#include "toolkit/Controls.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBMemo.h"
#include "toolkit/FirstShow.h"
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
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
ToolButton* toolButton(QWidget* parent, const char* name, const QString& hint, int image)
{
    auto* b = new ToolButton(QString::fromLatin1(name), parent);
    b->setHintProperty(hint);
    b->setIcon(ImageList::toolImage(image));
    b->setIconSize(QSize(32, 32));
    b->setFixedSize(39, 38);
    b->setAutoRaise(true);
    return b;
}

Label* valueLabel(QWidget* parent, const QString& name)
{
    auto* l = new Label(name, QStringLiteral("hodnota"), parent);
    l->setProperty("translatable", false); // a figure
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

    auto* header = new Label(
        QStringLiteral("lblAdvert"),
        QStringLiteral("Brontel – software pro sportovce, kteří chtějí vědět, kam jejich kilometry "
                       "vedou"),
        WelcomePage);
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
    // Drawn when the group is first opened: most sign-ins never open it.
    QList<Label*> pictures;
    const QSize pictureSize(150, 80);
    for (int i = 0; i < 4; ++i) {
        auto* pic = new Label(QStringLiteral("imgSponsor%1").arg(i + 1), QString(), group);
        pic->setMinimumSize(pictureSize);
        pic->setAlignment(Qt::AlignCenter);
        gl->addWidget(pic);
        pictures << pic;
    }
    onFirstShow(group, [pictures, pictureSize] {
        for (int i = 0; i < pictures.size(); ++i)
            pictures[i]->setPixmap(ImageList::sponsorPicture(i, pictureSize));
    });
    sp->addWidget(group);
    connect(toggle, &QToolButton::toggled, group, [group, toggle](bool open) {
        group->setVisible(open);
        toggle->setArrowType(open ? Qt::UpArrow : Qt::DownArrow);
    });
    layout->addWidget(SponsorPanel);
    layout->addStretch(1);

    // How a new installation begins; shown while nobody is listed.
    lblFirstCyclist = new Label(QStringLiteral("lblFirstCyclist"), QString(), WelcomePage);
    lblFirstCyclist->setProperty("translatable", false); // composed from the menu's captions
    lblFirstCyclist->setAlignment(Qt::AlignCenter);
    lblFirstCyclist->setWordWrap(true);
    lblFirstCyclist->setContentsMargins(16, 16, 16, 16);
    QPalette fp = lblFirstCyclist->palette();
    fp.setColor(QPalette::WindowText, Qt::white);
    lblFirstCyclist->setPalette(fp);
    QFont ff = lblFirstCyclist->font();
    ff.setBold(true);
    ff.setPointSizeF(ff.pointSizeF() * 1.5);
    lblFirstCyclist->setFont(ff);
    lblFirstCyclist->setVisible(false);
    layout->addWidget(lblFirstCyclist);
    layout->addStretch(1);

    auto* band = new Label(QStringLiteral("lblWebAddress"), QStringLiteral("www.brontel.cz/rydex"),
                           WelcomePage);
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
    toolBtnImport = toolButton(strip, "toolBtnImport", QStringLiteral("Import rides"), ImportTool);
    toolBtnSeason = toolButton(strip, "toolBtnSeason", QStringLiteral("Season"), SeasonTool);
    toolBtnPrint = toolButton(strip, "toolBtnPrint", QStringLiteral("Print"), PrintTool);
    toolBtnSettings =
        toolButton(strip, "toolBtnSettings", QStringLiteral("Settings"), SettingsTool);
    l->addWidget(toolBtnCreate);
    l->addWidget(toolBtnEdit);
    l->addWidget(toolBtnDelete);
    l->addWidget(toolBtnImport);
    l->addWidget(toolBtnSeason);
    auto* caption = new Label(QStringLiteral("lblToolBarCaption"),
                              QStringLiteral("Tabulka hodnot s poznámkou"), strip);
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
    auto* box = new GroupBox(name, caption, parent);
    for (int i = 0; i < captions.size(); ++i) {
        auto* c = new Label(name + QStringLiteral("Caption%1").arg(i), captions.at(i), box);
        c->move(16, rows.at(i));
        c->setAutoSize(true);
        QLabel* v = valueLabel(box, valueNames.at(i));
        // Right-aligned so that the values end at x = 161. It reaches back to
        // the caption's start, so that a long value (a year of 300 hours)
        // grows to the left instead of being cut off; it has no background
        // and the caption stays readable beside it.
        v->setGeometry(16, rows.at(i), 161 - 16, c->height());
        v->lower();
        auto* u = new Label(name + QStringLiteral("Unit%1").arg(i), units.at(i), box);
        u->move(166, rows.at(i));
        u->setAutoSize(true);
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
    Graf->setHintProperty(chartHint);
    body->addWidget(Graf);
    l->addWidget(Grafy, 1);

    auto* stats = new QWidget(area);
    stats->setObjectName(QStringLiteral("StatisticsPanel"));
    stats->setFixedWidth(223);
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
    layout->addWidget(buildYearStrip(WorkPage));
    buildMonthArea(layout);
}

QWidget* TfrmBase::buildYearStrip(QWidget* parent)
{
    // The year strip: the buttons are placed by Reklama, not by a layout.
    YearStrip = new QWidget(parent);
    YearStrip->setObjectName(QStringLiteral("YearStrip"));
    YearStrip->setFixedHeight(40);
    lblYear = new Label(QStringLiteral("lblYear"), QString(), YearStrip);
    lblYear->setProperty("translatable", false);
    lblYear->setAlignment(Qt::AlignCenter);
    QFont yf = lblYear->font();
    yf.setBold(true);
    yf.setPointSizeF(yf.pointSizeF() * 1.5);
    lblYear->setFont(yf);
    QPalette yp = lblYear->palette();
    yp.setColor(QPalette::WindowText, QColor(128, 0, 0));
    lblYear->setPalette(yp);
    btnDown = new ToolButton(QStringLiteral("btnDown"), YearStrip);
    btnDown->setText(QStringLiteral("<"));
    btnDown->setAutoRaise(true);
    btnDown->setGeometry(0, 8, 22, 22);
    btnUp = new ToolButton(QStringLiteral("btnUp"), YearStrip);
    btnUp->setText(QStringLiteral(">"));
    btnUp->setAutoRaise(true);
    btnUp->setGeometry(0, 8, 22, 22);
    // A clicked button takes the focus, as users expect; Space repeats it.
    btnDown->setFocusPolicy(Qt::StrongFocus);
    btnUp->setFocusPolicy(Qt::StrongFocus);
    YearStrip->installEventFilter(this);
    return YearStrip;
}

void TfrmBase::buildMonthArea(QVBoxLayout* layout)
{
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
    NotePanel = new SidePanel(QStringLiteral("SideNote"), 219, Mesice->body());
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
    connect(toolBtnImport, &QToolButton::clicked, this, &TfrmBase::toolBtnImportClick);
    connect(toolBtnSeason, &QToolButton::clicked, this, &TfrmBase::toolBtnSeasonClick);
    button(toolBtnSettings, &TfrmBase::mnuOptionsClick);
    button(toolBtnPrint, &TfrmBase::Print);
    connect(Grid, &DBGrid::doubleClicked_, this, &TfrmBase::DBGridDblClick);
    connect(btnDown, &QToolButton::clicked, this, &TfrmBase::btnDownClick);
    connect(btnUp, &QToolButton::clicked, this, &TfrmBase::btnUpClick);
    connect(Mesice, &TabControl::Change, this, [this] { guarded([this] { MesiceChange(); }); });
    connect(Grafy, &TabControl::Change, this, [this] { guarded([this] { GrafyChange(); }); });
    wireMonthKeys();
}

void TfrmBase::wireMonthKeys()
{
    // The keys of tabbed views, wherever the focus is in the window: Ctrl+
    // Page Up / Down for the month before or after (round the year, as tabs
    // go round), with Shift the year. Owned by the month view, they act only
    // while it is shown, so only while a cyclist is signed in.
    const auto key = [this](QKeyCombination keys, const std::function<void()>& step) {
        auto* shortcut = new QShortcut(QKeySequence(keys), WorkPage);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, step);
    };
    const auto month = [this](int step) {
        Mesice->setTabIndex((Mesice->tabIndex() + step + 12) % 12);
    };
    key(Qt::CTRL | Qt::Key_PageUp, [month] { month(-1); });
    key(Qt::CTRL | Qt::Key_PageDown, [month] { month(+1); });
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp, [this] { btnDownClick(); });
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown, [this] { btnUpClick(); });
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
