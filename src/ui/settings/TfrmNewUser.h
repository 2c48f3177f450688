#pragma once

#include "toolkit/ThemedDialog.h"

#include <QDialog>

class MessageDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class MainWindowOperations;

// The new cyclist dialog: a cyclist is created by name, as an empty key of
// the cyclists in the preference store. Opened from the settings dialog, and
// from the sign-in menu while there is no cyclist yet. Made once at start-up
// and reused; the name box keeps its text until a cyclist is created.
class TfrmNewUser : public ThemedDialog
{
    Q_OBJECT

public:
    // The width of a cyclist's name in the ride store.
    static constexpr int maxNameLength = 20;

    explicit TfrmNewUser(MainWindowOperations* main);

    void FormShow() override;
    void btnCreateClick();

    // Components, named as the language files and the tests know them.
    QLabel* Label1 = nullptr;
    QLineEdit* edtCycling = nullptr;
    QPushButton* btnCreate = nullptr;
    MessageDialog* msgDlgUserExist = nullptr;
    // A name that cannot be told apart in the menu, each with its reason.
    MessageDialog* msgDlgNoName = nullptr;
    MessageDialog* msgDlgNameCharacters = nullptr;

private:
    // Whether the name is taken, compared as the preference store compares
    // key names: without regard to letter case.
    bool nameTaken(const QString& name) const;

    MainWindowOperations* m_main;
};

// Start-up makes the dialog through this, owned by the main window.
TfrmNewUser* createNewUserDialog(MainWindowOperations* main);
