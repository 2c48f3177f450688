#pragma once

#include "toolkit/ThemedDialog.h"

#include <QDialog>

class MainWindowOperations;
class QComboBox;
class QLabel;
class QPushButton;
class TbsPolyglotManager;

// The language dialog: the languages of the directory "lng" beside the
// program, the current one selected. Picking one changes the language of
// every window at once and stores it; closing the dialog only closes it.
// Made once at start-up, the last window then; it fixes the language
// directory when it is made.
class TfrmLanguage : public ThemedDialog
{
    Q_OBJECT

public:
    TfrmLanguage(MainWindowOperations* main, TbsPolyglotManager* manager,
                 const QString& applicationDir);

    // Points the manager at "lng" beside the program and lists its
    // languages, selecting the current one when its name matches exactly.
    void fillLanguageList();
    // A language picked: it becomes current, is stored in "lng", and the
    // month view is shown again. An error of the engine ends it early.
    void cbLanguagesChange();
    void FormShow() override;

    // Components, named as the language files and the tests know them.
    QWidget* frmLanguageSui = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cbLanguages = nullptr;
    QPushButton* btnOk = nullptr;

private:
    MainWindowOperations* m_main;
    TbsPolyglotManager* m_manager;
    QString m_directory;
};

TfrmLanguage* createLanguageDialog(MainWindowOperations* main, TbsPolyglotManager* manager,
                                   const QString& applicationDir);
