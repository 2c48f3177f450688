#pragma once

#include "toolkit/ThemedDialog.h"

#include "import/ImportPlan.h"
#include "prefs/CyclistPreferences.h"
#include "store/RideFields.h"
#include "store/ValueList.h"

#include <QDialog>
#include <QVector>
#include <functional>
#include <memory>

class ADOTable;
class ImportRidesModel;
class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class RideFileScanner;

// The preview of an import: the rides found in the chosen files and folders,
// read beside the window while it stays responsive, each with what becomes of
// it; the ticked ones are stored together when the user presses Import. It
// is made for one use of the command and shown modally.
class TfrmImport : public ThemedDialog
{
    Q_OBJECT

public:
    // The rides are compared with, and stored among, the cyclist's rides in
    // the table; his preferences keep the folder he last imported from.
    TfrmImport(ADOTable* table, const QString& cyclist, CyclistPreferences preferences,
               const ValueLists& lists, QWidget* parent = nullptr);
    ~TfrmImport() override;

    // Lists the rides of these files and of every ride file below these
    // folders, in place of what was listed.
    void readFiles(const QStringList& paths);
    bool isReading() const;

    // The rides the import stored, with their ids; empty until it did.
    const QVector<RideRow>& importedRides() const { return m_imported; }
    ImportRidesModel* model() const { return m_model; }

    // How the window asks for files and for a folder, starting in the folder
    // given; tests answer in place of the user.
    std::function<QStringList(const QString& start)> chooseFiles;
    std::function<QString(const QString& start)> chooseFolder;

    void btnFilesClick();
    void btnFolderClick();
    void btnCancelClick();
    void btnImportClick();

    QPushButton* btnFiles = nullptr;
    QPushButton* btnFolder = nullptr;
    QLabel* lblFound = nullptr;
    QTableView* List = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnImport = nullptr;
    QPushButton* btnClose = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void filesFound(int total);
    void filesRead(const QVector<ScannedFile>& files, int done);
    void readingFinished();
    void showReading(bool reading);
    void showCounts();
    void rememberFolder(const QString& folder);
    // Where the choice of files or a folder starts: the folder used last,
    // else the home folder.
    QString startFolder() const;
    // Space ticks or unticks the selected rows, as a click on the tick does.
    void toggleSelected();

    ADOTable* m_table;
    QString m_cyclist;
    CyclistPreferences m_preferences;
    ImportRidesModel* m_model = nullptr;
    QSortFilterProxyModel* m_sorted = nullptr;
    RideFileScanner* m_scanner = nullptr;
    std::unique_ptr<ImportPlanner> m_planner;
    QVector<RideRow> m_imported;
    bool m_chosen = false;
};
