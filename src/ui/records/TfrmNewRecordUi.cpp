// Building the ride record dialog's controls and message dialog.
#include "records/TfrmNewRecord.h"

#include "records/LongDate.h"

#include "store/RideFields.h"
#include "toolkit/Controls.h"
#include "toolkit/DBComboBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBMemoEdit.h"
#include "toolkit/DBRadioGroup.h"
#include "toolkit/DBTimeEdit.h"
#include "toolkit/MessageDialog.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>

namespace {
// Positions are given from the window's top-left corner; a control inside a
// group box is placed relative to the box.
QPoint inside(const QWidget* parent, QPoint windowPos)
{
    const auto* box = qobject_cast<const QGroupBox*>(parent);
    return box ? windowPos - box->pos() : windowPos;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, QPoint windowPos)
{
    auto* l = new Label(QString::fromLatin1(name), caption, parent);
    l->move(inside(parent, windowPos));
    l->setAutoSize(true);
    return l;
}

// A label stands this far above the control it names.
constexpr int labelRise = 16;

QGroupBox* group(QWidget* parent, const char* name, const QString& caption, const QRect& rect)
{
    auto* g = new GroupBox(QString::fromLatin1(name), caption, parent);
    g->setGeometry(rect);
    return g;
}

template <class Control> Control* place(Control* control, QWidget* parent, const QRect& windowRect)
{
    control->setGeometry(QRect(inside(parent, windowRect.topLeft()), windowRect.size()));
    return control;
}
} // namespace

void TfrmNewRecord::buildControls()
{
    buildActivityType();
    buildActivityValues();
    buildTypeNoteAndButtons();
}

void TfrmNewRecord::buildActivityType()
{
    // The activity type: five editable lists whose texts are what is stored.
    GroupBox1 = group(frmNewRecordSui, "GroupBox1", QStringLiteral(" Typ aktivity "),
                      QRect(8, 40, 137, 233));
    struct ListControl
    {
        QLabel** label;
        const char* labelName;
        QString caption;
        DBComboBox** combo;
        const char* name;
        RideField field;
        int top;
        QStringList items;
    };
    const ListControl lists[] = {
        {&Label1,
         "Label1",
         QStringLiteral("Druh"),
         &ComboDruh,
         "ComboDruh",
         RideField::druh,
         76,
         {QStringLiteral("Cyklistika"), QStringLiteral("Plavání"), QStringLiteral("Beh"),
          QStringLiteral("Fitness"), QStringLiteral("Bežky"), QString(), QString()}},
        {&Label2,
         "Label2",
         QStringLiteral("Obtížnost"),
         &ComboObtiznost,
         "ComboObtiznost",
         RideField::obtiznost,
         116,
         {QStringLiteral("vysoká"), QStringLiteral("strední"), QStringLiteral("nízká")}},
        {&Label3,
         "Label3",
         QStringLiteral("Osobní pocit"),
         &ComboPocit,
         "ComboPocit",
         RideField::pocit,
         156,
         {QStringLiteral("100%"), QStringLiteral("90%"), QStringLiteral("80%"),
          QStringLiteral("70%"), QStringLiteral("60%"), QStringLiteral("50%")}},
        {&Label4,
         "Label4",
         QStringLiteral("Okolní vlivy"),
         &ComboVlivy,
         "ComboVlivy",
         RideField::vlivy,
         196,
         {QStringLiteral(":o("), QStringLiteral(":o|"), QStringLiteral(";o)")}},
        {&Label5,
         "Label5",
         QStringLiteral("Teplota"),
         &ComboTeplota,
         "ComboTeplota",
         RideField::temperature,
         236,
         {QStringLiteral("35 - 40 C'"), QStringLiteral("25 - 30 C'"), QStringLiteral("20 - 25 C'"),
          QStringLiteral("15 - 20 C'"), QStringLiteral("10 - 15 C'"), QStringLiteral("5 - 10 C'"),
          QStringLiteral("0 -  5 C'"), QStringLiteral("-5 -  0 C'"), QStringLiteral("-10 -  5 C'"),
          QStringLiteral("-15 -10 C'"), QStringLiteral("-20 -15 C'"),
          QStringLiteral("-25 -20 C'")}},
    };
    for (const ListControl& s : lists) {
        *s.label = label(GroupBox1, s.labelName, s.caption, QPoint(16, s.top - labelRise));
        auto* combo = new DBComboBox(QString::fromLatin1(s.name), s.field, GroupBox1);
        combo->setValues(s.items);
        combo->setMaxVisibleItems(int(s.items.size()));
        *s.combo = place(combo, GroupBox1, QRect(16, s.top, 120, 21));
        (*s.label)->setBuddy(combo);
    }
}

void TfrmNewRecord::buildActivityValues()
{
    GroupBox2 = group(frmNewRecordSui, "GroupBox2", QStringLiteral(" Hodnoty aktivity "),
                      QRect(152, 40, 264, 233));
    Label6 = label(GroupBox2, "Label6", QStringLiteral("Datum"), QPoint(160, 76 - labelRise));
    Calendar = place(new DateTimePicker(QStringLiteral("Calendar"), GroupBox2), GroupBox2,
                     QRect(160, 76, 118, 21));
    Calendar->setCalendarPopup(true);
    Calendar->setDisplayFormat(longDateWithoutWeekday(QLocale()));
    Label7 = label(GroupBox2, "Label7", QStringLiteral("Doba záteže (hh:mm:ss)"),
                   QPoint(288, 76 - labelRise));
    DBtime = place(new DBTimeEdit(QStringLiteral("DBtime"), RideField::time, GroupBox2), GroupBox2,
                   QRect(288, 76, 110, 21));
    Label8 =
        label(GroupBox2, "Label8", QStringLiteral("Vzdálenost (km)"), QPoint(160, 116 - labelRise));
    DBdst = place(new DBEdit(QStringLiteral("DBdst"), RideField::dst, GroupBox2), GroupBox2,
                  QRect(160, 116, 120, 21));
    DBdst->setMaxLength(7);
    // Each caption names its control, in messages about what was typed too.
    Label6->setBuddy(Calendar);
    Label7->setBuddy(DBtime);
    Label8->setBuddy(DBdst);
    Label9 = label(GroupBox2, "Label9", QStringLiteral("Volitelné hodnoty:"), QPoint(160, 156));
    QFont bold = Label9->font();
    bold.setBold(true);
    Label9->setFont(bold);
    Label9->adjustSize();
    struct EditControl
    {
        QLabel** label;
        const char* labelName;
        QString caption;
        DBEdit** edit;
        const char* name;
        RideField field;
        QPoint pos;
        int maxLength;
    };
    const EditControl edits[] = {
        {&Label10,
         "Label10",
         QStringLiteral("Prevýšení"),
         &DBaltitude,
         "DBaltitude",
         RideField::alt,
         {160, 195},
         4},
        {&Label11,
         "Label11",
         QStringLiteral("Max výška"),
         &DBaltitudeMax,
         "DBaltitudeMax",
         RideField::altmax,
         {288, 195},
         4},
        {&Label12,
         "Label12",
         QStringLiteral("Tep (prumerný)"),
         &DBTep,
         "DBTep",
         RideField::pulse,
         {160, 235},
         3},
        {&Label13,
         "Label13",
         QStringLiteral("Maximalní hodnota tepu"),
         &DBTepMax,
         "DBTepMax",
         RideField::pulsemax,
         {288, 235},
         3},
    };
    for (const EditControl& s : edits) {
        *s.label = label(GroupBox2, s.labelName, s.caption, s.pos - QPoint(0, labelRise));
        auto* edit = new DBEdit(QString::fromLatin1(s.name), s.field, GroupBox2);
        edit->setMaxLength(s.maxLength);
        *s.edit = place(edit, GroupBox2, QRect(s.pos, QSize(120, 21)));
        (*s.label)->setBuddy(edit);
    }
}

void TfrmNewRecord::buildTypeNoteAndButtons()
{
    grpTyp = new DBRadioGroup(QStringLiteral("grpTyp"), RideField::typ, frmNewRecordSui);
    grpTyp->setTitle(QStringLiteral("Typ"));
    grpTyp->setColumns(4);
    grpTyp->setValues({QStringLiteral("Závod"), QStringLiteral("Trénink"),
                       QStringLiteral("Trenažer"), QStringLiteral("Turistika")});
    grpTyp->setGeometry(8, 274, 408, 57);

    // The label lies under the memo, which covers it.
    Label14 = label(frmNewRecordSui, "Label14", QStringLiteral("Poznámky"), QPoint(8, 361));
    DBMemo = new DBMemoEdit(QStringLiteral("DBMemo"), RideField::note, frmNewRecordSui);
    DBMemo->setGeometry(8, 338, 408, 65);
    DBMemo->setFrameShape(QFrame::NoFrame);
    DBMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo->verticalScrollBar()->setObjectName(QStringLiteral("suiScrollBar1"));
    Label14->lower();
    Label14->setBuddy(DBMemo);

    const auto button = [this](const char* name, const QString& caption, int left) {
        auto* b = new Button(QString::fromLatin1(name), caption, frmNewRecordSui);
        b->setGeometry(left, 414, 80, 27);
        // No button answers Enter: a ride is stored only by pressing Save.
        b->setAutoDefault(false);
        return b;
    };
    btnAdd = button("btnAdd", QStringLiteral("Pridat"), 160);
    btnOk = button("btnOk", QStringLiteral("Uložit"), 248);
    btnCancel = button("btnCancel", QStringLiteral("Zrušit zmeny"), 336);

    StatusBar = new ::StatusBar(QStringLiteral("StatusBar"), frmNewRecordSui);
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setGeometry(0, height() - 19, width(), 19);

    // The activity type, the activity values, the type, the note, then Save,
    // Cancel changes and Add.
    QList<QWidget*> order = {ComboDruh,    ComboObtiznost, ComboPocit, ComboVlivy,
                             ComboTeplota, Calendar,       DBtime,     DBdst,
                             DBaltitude,   DBaltitudeMax,  DBTep,      DBTepMax};
    for (int i = 0; i < grpTyp->items().size(); ++i)
        order << grpTyp->button(i);
    order << DBMemo << btnOk << btnCancel << btnAdd;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(btnAdd, &QPushButton::clicked, this, &TfrmNewRecord::btnAddClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmNewRecord::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmNewRecord::btnCancelClick);
}

void TfrmNewRecord::buildMessageDialogs()
{
    msgDlgNoSave = new MessageDialog(QStringLiteral("msgDlgNoSave"), this);
    msgDlgNoSave->setCaption(QStringLiteral("Pozastaveno"));
    msgDlgNoSave->setIconType(MessageDialog::Information);
    msgDlgNoSave->setButtonCount(1);
    msgDlgNoSave->setButton1Caption(QStringLiteral("OK"));
    msgDlgNoSave->setText(
        QStringLiteral("Nejsou vyplnena všechna duležitá pole pro uložení záznamu!"));
}
