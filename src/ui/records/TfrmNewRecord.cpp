#include "records/TfrmNewRecord.h"

#include "base/MessageCatalogue.h"
#include "records/LongDate.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/DataSource.h"
#include "store/FieldError.h"
#include "base/PictureFormat.h"
#include "base/RydexError.h"
#include "toolkit/CaptionText.h"
#include "toolkit/DBComboBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBMemoEdit.h"
#include "toolkit/DBRadioGroup.h"
#include "toolkit/DBTimeEdit.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MainWindowOperations.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/RunReported.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/ThemedFrame.h"

#include <QDateEdit>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <optional>

TfrmNewRecord::TfrmNewRecord(MainWindowOperations* main)
    : ThemedDialog(main ? main->ownerWindow() : nullptr, QStringLiteral("frmNewRecord"),
                   QStringLiteral("Nový záznam")),
      m_main(main)
{
    setFixedSize(420, 470);
    frmNewRecordSui = new ThemedFrame(QStringLiteral("frmNewRecordSui"), this, 30);
    buildControls();
    buildMessageDialogs();
    applyThemeAndLanguage({QStringLiteral("frmNewRecordSui"), QStringLiteral("btnAdd"),
                              QStringLiteral("btnOk"),           QStringLiteral("btnCancel"),
                              QStringLiteral("StatusBar"),       QStringLiteral("GroupBox1"),
                              QStringLiteral("ComboDruh"),       QStringLiteral("ComboVlivy"),
                              QStringLiteral("ComboObtiznost"),  QStringLiteral("ComboPocit"),
                              QStringLiteral("ComboTeplota"),    QStringLiteral("grpTyp"),
                              QStringLiteral("DBMemo"),          QStringLiteral("GroupBox2"),
                              QStringLiteral("DBtime"),          QStringLiteral("DBdst"),
                              QStringLiteral("DBTep"),           QStringLiteral("DBTepMax"),
                              QStringLiteral("DBaltitude"),      QStringLiteral("DBaltitudeMax"),
                              QStringLiteral("suiScrollBar1"),   QStringLiteral("msgDlgNoSave")});
    centreOnScreen(this);
    setIdleState();
    FormCreate();
}

void TfrmNewRecord::FormCreate()
{
    // The main window's hint handler serves both status bars.
    if (!m_main)
        return;
    const auto showHint = [this](const QString& hint) {
        if (hint.isEmpty())
            StatusBar->clearMessage();
        else
            StatusBar->showMessage(hint);
    };
    m_main->connectHint(this, showHint);
    showHint(m_main->currentHint());
}

void TfrmNewRecord::setDataSource(DataSource* source)
{
    m_source = source;
    for (DBComboBox* c : {ComboDruh, ComboObtiznost, ComboPocit, ComboVlivy, ComboTeplota})
        c->setDataSource(source);
    for (DBEdit* e :
         {static_cast<DBEdit*>(DBtime), DBdst, DBaltitude, DBaltitudeMax, DBTep, DBTepMax})
        e->setDataSource(source);
    grpTyp->setDataSource(source);
    DBMemo->setDataSource(source);
}

DataSource* TfrmNewRecord::dataSource() const
{
    return m_source;
}

ADOTable* TfrmNewRecord::table() const
{
    return m_source ? m_source->table() : nullptr;
}

QList<QWidget*> TfrmNewRecord::entryControls() const
{
    return {ComboDruh, ComboObtiznost, ComboVlivy, ComboPocit, ComboTeplota,  Calendar, DBtime,
            DBdst,     DBTep,          DBTepMax,   DBaltitude, DBaltitudeMax, grpTyp,   DBMemo};
}

void TfrmNewRecord::EnableControls()
{
    for (QWidget* w : entryControls())
        w->setEnabled(true);
}

void TfrmNewRecord::DisableControls()
{
    for (QWidget* w : entryControls())
        w->setEnabled(false);
}

void TfrmNewRecord::setEditingState()
{
    // The note is taken into its memo only while the dialog is in use.
    DBMemo->setInUse(true);
    EnableControls();
    btnAdd->setEnabled(false);
    btnOk->setEnabled(true);
    btnCancel->setEnabled(true);
    m_editing = true;
}

void TfrmNewRecord::setIdleState()
{
    DisableControls();
    btnOk->setEnabled(false);
    btnCancel->setEnabled(false);
    btnAdd->setEnabled(true);
    m_editing = false;
}

QString TfrmNewRecord::captionOf(const QWidget* control) const
{
    QString caption;
    if (control == grpTyp) {
        caption = grpTyp->title();
    } else {
        for (const QLabel* l : findChildren<QLabel*>()) {
            if (l->buddy() == control)
                caption = l->text();
        }
    }
    caption = captionAsRead(caption);
    return caption.isEmpty() ? control->objectName() : caption;
}

void TfrmNewRecord::UpdateRecord()
{
    // Written one by one rather than through the table's request, so that a
    // text the field refuses stops here, before anything is stored. Every
    // refused text is named at once, by the caption beside its control.
    QStringList refused;
    const auto write = [&](QWidget* control, const std::function<void()>& writeField) {
        try {
            writeField();
        } catch (const FieldError& e) {
            refused << e.textNaming(captionOf(control));
        }
    };
    for (DBComboBox* c : {ComboDruh, ComboObtiznost, ComboPocit, ComboVlivy, ComboTeplota})
        write(c, [c] { c->writeField(); });
    for (DBEdit* e :
         {static_cast<DBEdit*>(DBtime), DBdst, DBaltitude, DBaltitudeMax, DBTep, DBTepMax})
        write(e, [e] { e->writeField(); });
    write(grpTyp, [this] { grpTyp->writeField(); });
    write(DBMemo, [this] { DBMemo->writeField(); });
    if (refused.size() == 1)
        throw RydexError(refused.first(), RydexError::Kind::Conversion);
    if (!refused.isEmpty())
        throw RydexError(Msg::text(Msg::SaveRefused) + QLatin1Char('\n') +
                             refused.join(QLatin1Char('\n')),
                         RydexError::Kind::Conversion);
}

void TfrmNewRecord::btnOkClick()
{
    ADOTable* t = table();
    if (!m_editing || !t)
        return;
    bool missing = false;
    QVariant savedId;
    // The grid and the note follow the table once, when the ride is stored
    // and every figure recomputed, not at each of the steps between: they
    // would be painted half-way, under the progress window.
    std::optional<ControlsDetached> detached;
    // Until the row is stored every failure leaves the dialog editing with
    // the row pending, so the user can put it right and save again.
    const bool stored = runReported([&] {
        UpdateRecord();
        if (t->isNull(RideField::time)) {
            missing = true;
            return;
        }
        const QDate date = Calendar->date();
        m_main->setWorkingDate(date);
        t->setValue(RideField::user, m_main->cyclistName());
        t->setValue(RideField::date, date.startOfDay());
        t->setValue(RideField::day, date.day());
        t->setValue(RideField::month, date.month());
        t->setValue(RideField::year, date.year());
        m_main->SpoctiAVS();
        detached.emplace(t);
        t->post();
        savedId = t->value(RideField::id);
    });
    // A refused ride stays in the dialog as the user typed it.
    if (!stored && detached)
        detached->releaseOnlyChanges();
    if (missing) {
        msgDlgNoSave->execute();
        return;
    }
    if (!stored) {
        // A ride another copy of the program changed or deleted meanwhile is
        // not stored; the table shows it as it is now, and there is nothing
        // pending left to edit.
        if (t->state() != ADOTable::State::Edit && t->state() != ADOTable::State::Insert)
            setIdleState();
        return;
    }
    runReported([&] {
        t->refresh();
        m_main->afterRecordsChanged();
        // The dialog goes on showing the ride just saved, not another ride
        // beside the date just saved.
        showSavedRide(savedId);
    });
    // Idle once the figures follow the ride: the dialog is drawn once, with
    // the row it then shows, not also under the progress window.
    setIdleState();
}

void TfrmNewRecord::showSavedRide(const QVariant& id)
{
    ADOTable* t = table();
    if (!t || id.isNull())
        return;
    const QVector<RideRow>& rows = t->rows();
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i)[fieldIndex(RideField::id)] == id) {
            t->setCurrentIndex(i);
            return;
        }
    }
}

void TfrmNewRecord::btnAddClick()
{
    ADOTable* t = table();
    if (m_editing || !t)
        return;
    if (!runReported([t] { t->insert(); }))
        return;
    setEditingState();
    DBtime->setText(QString());
    DBdst->setText(QString());
    DBaltitude->setText(QString());
    ComboTeplota->setFieldText(QString());
    DBMemo->setFieldText(QString());
    for (DBEdit* e : {DBaltitude, DBaltitudeMax, DBTep, DBTepMax})
        e->setText(QStringLiteral("0"));
    // Written with the user's decimal separator, so that Save reads it back
    // in every locale.
    DBdst->setText(formatPicture(QStringLiteral("0.00"), Fixed4(), QLocale()));
    grpTyp->setItemIndex(1);
    DBtime->setFocus();
    DBtime->setCursorPosition(0);
}

void TfrmNewRecord::btnCancelClick()
{
    FormClose();
}

void TfrmNewRecord::FormClose()
{
    ADOTable* t = table();
    if (t)
        t->cancel();
    setIdleState();
    if (t && t->isOpen())
        runReported([t] { t->refresh(); });
}

void TfrmNewRecord::done(int result)
{
    FormClose();
    QDialog::done(result);
    DBMemo->setInUse(false);
}

void TfrmNewRecord::FormShow()
{
    // The long date of the user's locale, which may have changed since the
    // last showing.
    const QLocale locale;
    Calendar->setLocale(locale);
    Calendar->setDisplayFormat(longDateWithoutWeekday(locale));
    fitCalendarFont();
    // The keyboard starts where the tab order does, at the kind of sport, and
    // walks down the activity type to the date and the duration.
    ComboDruh->setFocus();
}

void TfrmNewRecord::fitCalendarFont()
{
    // The box keeps its place and width; where the desktop's font is too wide
    // for the longest date of the year, the date gets a smaller one, so that
    // the year is never cut off.
    auto* box = Calendar->findChild<QLineEdit*>();
    if (!box)
        return;
    const int room = box->width() - 4;
    const QString format = Calendar->displayFormat();
    const QLocale locale = Calendar->locale();
    QFont f = font();
    const auto longest = [&](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        int widest = 0;
        for (int month = 1; month <= 12; ++month) {
            const QDate date(Calendar->date().year(), month, 28);
            widest = std::max(widest, metrics.horizontalAdvance(locale.toString(date, format)));
        }
        return widest;
    };
    while (f.pointSizeF() > 6.0 && longest(f) > room)
        f.setPointSizeF(f.pointSizeF() - 0.5);
    // On the box too: a change of theme gives a control that inherits its
    // font the application's font again.
    Calendar->setFont(f);
    box->setFont(f);
}

void TfrmNewRecord::keyPressEvent(QKeyEvent* event)
{
    // Only the title bar's button closes the dialog: Esc would throw away
    // what was typed.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

TfrmNewRecord* createRecordDialog(MainWindowOperations* owner)
{
    return new TfrmNewRecord(owner);
}

void bindRecordDialog(TfrmNewRecord* dialog, DataSource* source)
{
    if (dialog)
        dialog->setDataSource(source);
}

void TfrmNewRecord::prepareNewRecord(const QDate& date)
{
    Calendar->setDate(date);
    setEditingState();
    for (DBEdit* e : {DBdst, DBTep, DBTepMax, DBaltitude, DBaltitudeMax})
        e->setText(QStringLiteral("0"));
    grpTyp->setItemIndex(1);
    try {
        UpdateRecord();
    } catch (...) {
        FormClose();
        throw;
    }
}

void TfrmNewRecord::prepareEditRecord(const QDate& date)
{
    Calendar->setDate(date);
    setEditingState();
}
