#pragma once

#include "toolkit/DialogPresenter.h"

// The presenter of the running program: every message and the standard error
// box come up as a real MessageBoxWindow, modal over the application's active
// window and centred on the screen; modal windows simply run.
class WidgetPresenter : public DialogPresenter
{
public:
    bool showMessage(MessageDialog& dialog) override;
    void showError(const QString& text) override;
    int execModal(QDialog& window) override;
};
