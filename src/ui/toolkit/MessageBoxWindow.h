#pragma once

#include "toolkit/MessageDialog.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;

// The window behind every message dialog and the standard error box: the
// caption in bold at the top, the icon beside the word-wrapped text, and one
// or two buttons. exec() answers MessageDialog::Button1 or Button2; Enter
// presses the first button, Esc and the frame's close button the last one.
//
// Its parts carry object names for the theme's style sheet and for tests:
// "captionLabel", "iconLabel", "textLabel", "button1" and "button2".
class MessageBoxWindow : public QDialog
{
    Q_OBJECT

public:
    // buttonCaptions holds one or two captions; further ones are ignored and
    // none gives a single "OK" button.
    MessageBoxWindow(const QString& caption, const QString& text, MessageDialog::IconType icon,
                     const QStringList& buttonCaptions, QWidget* parent = nullptr);

    MessageDialog::IconType iconType() const { return m_icon; }
    int buttonCount() const { return m_buttonCount; }

    // The centre of the screen the window would come up on: the screen of its
    // parent, else the primary screen.
    void centreOnScreen();

    void setVisible(bool visible) override;

public slots:
    // Esc and the frame's close button answer as the last button does, so a
    // box with one button answers "OK" however it is closed.
    void reject() override;

private:
    QPushButton* addButton(const QString& caption, int result);

    MessageDialog::IconType m_icon;
    int m_buttonCount = 0;
};
