#pragma once

#include "toolkit/ThemedDialog.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// Asks for the password a database server wants. What is typed is handed
// to the connection and kept in memory only: it is never written anywhere.
class TfrmPassword : public ThemedDialog
{
    Q_OBJECT

public:
    explicit TfrmPassword(QWidget* owner);

    // Which server asks, for which user, or that it refused the last one.
    void setReason(const QString& reason);
    QString password() const;
    void FormShow() override;

    // Components, named as the language files and the tests know them.
    QWidget* frmPasswordSui = nullptr;
    QLabel* lblReason = nullptr;
    QLabel* lblPassword = nullptr;
    QLineEdit* edtPassword = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void fitToTexts();
};

// The password typed, or nothing when the user cancelled.
std::optional<QString> askServerPassword(QWidget* owner, const QString& reason);

// The row of OK (the default button) and Cancel the server's dialogs end with.
void addOkAndCancel(QVBoxLayout* layout, QWidget* frame, QPushButton*& ok, QPushButton*& cancel);
