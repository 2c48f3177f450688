#pragma once

#include "toolkit/ThemedDialog.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class ADOTable;
class DataSource;
class DBComboBox;
class DBEdit;
class DBMemoEdit;
class DBRadioGroup;
class DBTimeEdit;
class MessageDialog;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;
class MainWindowOperations;

// The ride record dialog: one ride entered or changed, or several new ones one
// after another. It is made once at start-up and reused; a record command of
// the main window puts the ride table into insert or edit state, sets the
// date, brings the dialog into its editing state and shows it. Every entry
// control but the date writes straight into that pending row; Save fills in
// the owner, the date parts and the average speed.
class TfrmNewRecord : public ThemedDialog
{
    Q_OBJECT

public:
    explicit TfrmNewRecord(MainWindowOperations* main);

    MainWindowOperations* mainWindow() const { return m_main; }
    // Binds the entry controls to the data module's source.
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;

    // The fourteen entry controls on or off together; neither the buttons nor
    // the record are touched.
    void EnableControls();
    void DisableControls();
    // Editing: entry controls on, Add off, Save and Cancel changes on.
    // Idle: the other way round.
    void setEditingState();
    void setIdleState();
    // For the pending new row: the date, the editing state and the presets of
    // a new ride (zeros in the number boxes, "Trénink"), taken into the row at
    // once so that it counts as changed. On failure nothing stays pending.
    void prepareNewRecord(const QDate& date);
    // For the pending edited row: its date and the editing state.
    void prepareEditRecord(const QDate& date);
    bool isEditing() const { return m_editing; }

    // Writes every entry control's changed text into the pending row, in tab
    // order. Throws RydexError (Conversion) naming, by their captions, all
    // the fields that cannot take their texts.
    void UpdateRecord();
    // The caption the user reads beside an entry control, in the language
    // shown.
    QString captionOf(const QWidget* control) const;

    void btnAddClick();
    void btnOkClick();
    void btnCancelClick();
    void FormCreate();
    void FormShow() override;
    // Drops what is pending, goes idle and reads the table again; run
    // whenever the window closes.
    void FormClose();

    void done(int result) override;

    // Components, named as the language files and the theme know them.
    QWidget* frmNewRecordSui = nullptr; // the themed frame, parent of the controls
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    DBComboBox* ComboDruh = nullptr;
    QLabel* Label2 = nullptr;
    DBComboBox* ComboObtiznost = nullptr;
    QLabel* Label3 = nullptr;
    DBComboBox* ComboPocit = nullptr;
    QLabel* Label4 = nullptr;
    DBComboBox* ComboVlivy = nullptr;
    QLabel* Label5 = nullptr;
    DBComboBox* ComboTeplota = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label6 = nullptr;
    QDateEdit* Calendar = nullptr;
    QLabel* Label7 = nullptr;
    DBTimeEdit* DBtime = nullptr;
    QLabel* Label8 = nullptr;
    DBEdit* DBdst = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    DBEdit* DBaltitude = nullptr;
    QLabel* Label11 = nullptr;
    DBEdit* DBaltitudeMax = nullptr;
    QLabel* Label12 = nullptr;
    DBEdit* DBTep = nullptr;
    QLabel* Label13 = nullptr;
    DBEdit* DBTepMax = nullptr;
    DBRadioGroup* grpTyp = nullptr;
    DBMemoEdit* DBMemo = nullptr;
    QLabel* Label14 = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QStatusBar* StatusBar = nullptr;
    MessageDialog* msgDlgNoSave = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitCalendarFont();
    void buildControls();
    void buildActivityType();
    void buildActivityValues();
    // The type of training, the note, the buttons and the tab order.
    void buildTypeNoteAndButtons();
    void buildMessageDialogs();
    QList<QWidget*> entryControls() const;
    // Makes the ride with this id the current one when it is in the month
    // shown; otherwise the month's first ride stays current.
    void showSavedRide(const QVariant& id);
    ADOTable* table() const;

    MainWindowOperations* m_main;
    QPointer<DataSource> m_source;
    bool m_editing = false;
};

// Made at start-up, owned by the main window.
TfrmNewRecord* createRecordDialog(MainWindowOperations* owner);
// Binds the dialog's entry controls to the data module's source.
void bindRecordDialog(TfrmNewRecord* dialog, DataSource* source);
