#pragma once

#include "toolkit/ThemedDialog.h"

#include <QDialog>
#include <functional>

class ADOTable;
class QLabel;
class QLineEdit;
class QPushButton;

// The first-reading dialog: edits the odometer reading of the year's first
// ride, the base from which every other reading of the year follows. It is
// made for one use of the command and shown modally; the ride table's
// current record is in edit state for as long as it is up.
class TfrmEditODO : public ThemedDialog
{
    Q_OBJECT

public:
    // recompute runs right after the reading is stored; Save stores the
    // reading and what recompute writes together, or neither.
    TfrmEditODO(ADOTable* table, std::function<void()> recompute, QWidget* parent = nullptr);

    // Whether Save went through.
    bool saved() const { return m_saved; }

    // Stores the reading and recomputes the year. A text that is no number,
    // or a store that refuses the change, is reported in the error box; the
    // dialog then stays open with the record pending and the text as typed.
    void btnSaveClick();
    void FormShow() override;
    // Drops whatever is still pending and reads the table again. Runs once,
    // however the dialog ends; the command calls it again to be sure.
    void FormClose();

    QLabel* lblFirstODO = nullptr;
    QLineEdit* edtFirstODO = nullptr;
    QPushButton* btnSave = nullptr;

    void done(int result) override;

private:
    // The most the user may type into the box.
    static constexpr int typingLimit = 8;

    void showField();
    void edtFirstODOEdited(const QString& text);
    void store();

    ADOTable* m_table;
    std::function<void()> m_recompute;
    // The text the box was given when the reading was last shown.
    QString m_shownText;
    bool m_saved = false;
    bool m_closed = false;
};
