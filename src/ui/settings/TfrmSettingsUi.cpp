// Building the settings dialog's pages and message dialogs.
#include "settings/TfrmSettings.h"

#include "toolkit/Controls.h"
#include "toolkit/GroupFrame.h"
#include "toolkit/MessageDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {
// The group boxes stand this far from the page's top-left corner; the
// controls inside are placed by their position on the page.
constexpr QPoint groupOffset(8, 4);

QTreeWidget* tree(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* t = new TreeView(QString::fromLatin1(name), parent);
    t->setGeometry(geometry);
    t->setHeaderHidden(true);
    t->setColumnCount(1);
    t->setRootIsDecorated(false);
    t->setItemsExpandable(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setIconSize(QSize(16, 16));
    QPalette pal = t->palette();
    pal.setColor(QPalette::Base, QColor(253, 216, 110));
    t->setPalette(pal);
    return t;
}
} // namespace

void TfrmSettings::buildTablePage()
{
    auto* sheet = new TabSheet(QStringLiteral("TabSheet1"), Pages);
    Pages->addSheet(sheet, QStringLiteral("Tabulka"));
    TabSheet1 = sheet;

    grbTabulka =
        new GroupBox(QStringLiteral("grbTabulka"), QStringLiteral("Sloupce tabulky"), TabSheet1);
    grbTabulka->setGeometry(groupOffset.x(), groupOffset.y(), 367, 178);
    lblTabulka = new Label(
        QStringLiteral("lblTabulka"),
        QStringLiteral("Zde zaškrtněte jen ta jména sloupečků, které chcete v tabulce zobrazit:"),
        grbTabulka);
    lblTabulka->setWordWrap(true);
    // The texts start below the group's frame line, however tall the
    // desktop's font makes the group's title.
    const int belowFrame = std::max(0, groupFrameTop(grbTabulka) + 3 - (18 - groupOffset.y()));
    lblTabulka->setGeometry(QRect(QPoint(16, 18 + belowFrame) - groupOffset, QSize(340, 28)));

    struct Box
    {
        QCheckBox** target;
        const char* name;
        QString caption;
    };
    const Box boxes[columnCount] = {
        {&chboxDen, "chboxDen", QStringLiteral("Den")},
        {&chboxDruh, "chboxDruh", QStringLiteral("Druh")},
        {&chboxTyp, "chboxTyp", QStringLiteral("Typ")},
        {&chboxObtiznost, "chboxObtiznost", QStringLiteral("Obtížnost")},
        {&chboxVlivy, "chboxVlivy", QStringLiteral("Vlivy")},
        {&chboxPocit, "chboxPocit", QStringLiteral("Pocit")},
        {&chboxCas, "chboxCas", QStringLiteral("Cas")},
        {&chboxVzdalenost, "chboxVzdalenost", QStringLiteral("Vzdálenost")},
        {&chboxCelkem, "chboxCelkem", QStringLiteral("Celkem")},
        {&chboxPrumer, "chboxPrumer", QStringLiteral("Průměr")},
        {&chboxTeplota, "chboxTeplota", QStringLiteral("Teplota")},
        {&chboxTep, "chboxTep", QStringLiteral("Tep")},
        {&chboxMaxTep, "chboxMaxTep", QStringLiteral("MaxTep")},
        {&chboxPrevyseni, "chboxPrevyseni", QStringLiteral("Převýšení")},
        {&chboxMaxVyska, "chboxMaxVyska", QStringLiteral("Max. výška")},
    };
    // Three columns of five, read down the columns.
    for (int i = 0; i < columnCount; ++i) {
        auto* box = new CheckBox(QString::fromLatin1(boxes[i].name), boxes[i].caption, grbTabulka);
        const QPoint onPage(32 + (i / 5) * 112, 48 + belowFrame + (i % 5) * 16);
        // Rows stand 16 pixels apart.
        box->setGeometry(QRect(onPage - groupOffset, QSize(105, 16)));
        // As a cyclist without stored choices sees them, so that his first
        // showing changes (and writes) nothing.
        box->setChecked(true);
        *boxes[i].target = box;
        columnBoxes[i] = box;
    }
}

void TfrmSettings::buildChartPage()
{
    auto* sheet = new TabSheet(QStringLiteral("TabSheet2"), Pages);
    Pages->addSheet(sheet, QStringLiteral("Graf"));
    TabSheet2 = sheet;

    grpGraf = new GroupBox(QStringLiteral("grpGraf"), QStringLiteral("Výchoží záložka grafu:"),
                           TabSheet2);
    grpGraf->setGeometry(groupOffset.x(), groupOffset.y(), 367, 178);
    struct Choice
    {
        QRadioButton** target;
        const char* name;
        QString caption;
    };
    const Choice buttons[chartCount] = {
        {&rdbTime, "rdbTime", QStringLiteral("Délka tréninku (h) %")},
        {&rdbDst, "rdbDst", QStringLiteral("Vzdálenost (km)")},
        {&rdbPulse, "rdbPulse", QStringLiteral("Průměrný tep/min")},
        {&rdbAlt, "rdbAlt", QStringLiteral("Celkové převýšení")},
    };
    for (int k = 0; k < chartCount; ++k) {
        auto* b =
            new RadioButton(QString::fromLatin1(buttons[k].name), buttons[k].caption, grpGraf);
        b->setGeometry(QRect(QPoint(32, 40 + 32 * k) - groupOffset, QSize(300, 17)));
        *buttons[k].target = b;
        chartButtons[k] = b;
    }
    // The distance chart, which a cyclist without a stored choice gets.
    rdbDst->setChecked(true);
}

void TfrmSettings::buildUsersPage()
{
    auto* sheet = new TabSheet(QStringLiteral("TabSheet3"), Pages);
    Pages->addSheet(sheet, QStringLiteral("Uživatelé"));
    TabSheet3 = sheet;

    lblSeznam = new Label(QStringLiteral("lblSeznam"),
                          QStringLiteral("Seznam cyklistů a evidované sezony:"), TabSheet3);
    lblSeznam->setGeometry(8, 8, 370, 17);
    QFont bold = lblSeznam->font();
    bold.setBold(true);
    lblSeznam->setFont(bold);

    lblPocet = new Label(QStringLiteral("lblPocet"),
                         QStringLiteral("Počet všech záznamů uživatele činí již:"), TabSheet3);
    lblPocet->move(8, 30);
    lblUserInfo = new Label(QStringLiteral("lblUserInfo"), QStringLiteral("0"), TabSheet3);
    lblUserInfo->setProperty("translatable", false); // a count
    lblUserInfo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblUserInfo->setFont(bold);
    placeCount();

    listCycling = tree(TabSheet3, "listCycling", QRect(8, 47, 217, 98));
    listSezon = tree(TabSheet3, "listSezon", QRect(235, 46, 144, 99));

    btnDelete = new Button(QStringLiteral("btnDelete"), QStringLiteral("Smaž"), TabSheet3);
    btnDelete->setGeometry(208, 156, 81, 27);
    btnCreate = new Button(QStringLiteral("btnCreate"), QStringLiteral("Vytvoř"), TabSheet3);
    btnCreate->setGeometry(296, 156, 81, 27);
    // Return in the trees must not ask to delete a cyclist.
    for (QPushButton* b : {btnDelete, btnCreate}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

void TfrmSettings::buildMessageDialogs()
{
    struct Entry
    {
        MessageDialog** target;
        const char* name;
        MessageDialog::IconType icon;
        int buttons;
        QString text;
    };
    const Entry entries[] = {
        {&msgDlgListEmpty, "msgDlgListEmpty", MessageDialog::Information, 1,
         QStringLiteral("Seznam je prazdný!")},
        {&msgDlgNoDelete, "msgDlgNoDelete", MessageDialog::Stop, 1,
         QStringLiteral("Posledního uživatele nelze smazat!")},
        {&msgDlgCyclistDelete, "msgDlgCyclistDelete", MessageDialog::Warning, 2,
         QStringLiteral("Opravu si přejete cyklistu smazat?")},
    };
    for (const Entry& s : entries) {
        auto* d = new MessageDialog(QString::fromLatin1(s.name), this);
        d->setCaption(QStringLiteral("Upozornění"));
        d->setIconType(s.icon);
        d->setButtonCount(s.buttons);
        d->setButton1Caption(QStringLiteral("OK"));
        d->setButton2Caption(QStringLiteral("Cancel"));
        d->setText(s.text);
        *s.target = d;
    }
}
