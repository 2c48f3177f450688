#pragma once

#include "toolkit/ThemedDialog.h"

#include "store/StoreLocation.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class StoreOpening;

// Where this installation keeps its rides: the file on this computer, or a
// database on a PostgreSQL server named by a libpq connection text. The
// connection can be tried before it is taken, and the rides of this
// computer copied there. OK with another choice hands it to the main window,
// which changes stores or says why it cannot; Cancel changes nothing.
class TfrmDatabase : public ThemedDialog
{
    Q_OBJECT

public:
    // file: this computer's store; current: the store in use; serverText:
    // the connection text given last.
    TfrmDatabase(QWidget* owner, StoreOpening& opening, const StoreLocation& file,
                 const StoreLocation& current, const QString& serverText);

    // The main window changes to the store chosen; false when it could not,
    // and said why.
    std::function<bool(const StoreLocation&)> useStore;
    // Copies this computer's rides to that server; the words for the user
    // on what was copied. Throws RydexError.
    std::function<QString(const StoreLocation&)> copyRides;

    // The store the dialog's controls choose now.
    StoreLocation chosen() const;

    void btnTestClick();
    void btnCopyClick();
    void btnOkClick();
    void FormShow() override;

    // Components, named as the language files and the tests know them.
    QWidget* frmDatabaseSui = nullptr;
    QRadioButton* rbFile = nullptr;
    QLabel* lblFile = nullptr;
    QRadioButton* rbServer = nullptr;
    QLineEdit* edtServer = nullptr;
    QPushButton* btnTest = nullptr;
    QLabel* lblResult = nullptr;
    QPushButton* btnCopy = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void fitToTexts();
    void buildControls();
    void showChoice();
    void showResult(const QString& text);

    StoreOpening& m_opening;
    StoreLocation m_file;
    StoreLocation m_current;
    // The server the last test reached with the program's tables there or
    // none at all: the rides may be copied there.
    std::optional<StoreLocation> m_reachable;
};
