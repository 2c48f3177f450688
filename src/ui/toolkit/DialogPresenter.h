#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class MessageDialog;
class QDialog;
class QWidget;

// Every message dialog, the standard error box and every modal window of the
// program is shown through the one installed presenter. The program installs
// the one that shows real windows; a test installs a ScriptedPresenter that
// records what was raised and gives the answers the test chose.
class DialogPresenter
{
public:
    virtual ~DialogPresenter() = default;

    // True when the user answered with the first button ("OK").
    virtual bool showMessage(MessageDialog& dialog) = 0;
    // The standard error box: captioned with the application title, the error
    // icon, and the text after standardErrorText().
    virtual void showError(const QString& text) = 0;
    // Runs a modal window and returns its QDialog result code.
    virtual int execModal(QDialog& window) = 0;

    static DialogPresenter& current();
    // Installs a presenter and returns the one it replaces. Installing an
    // empty pointer brings back the real windows; the pointer returned is empty
    // when the real presenter had not been needed yet.
    static std::unique_ptr<DialogPresenter> install(std::unique_ptr<DialogPresenter> presenter);
};

// The error text as the standard error box shows it: a full stop is added
// when the text ends in a character that sorts after ".".
QString standardErrorText(const QString& text);
