#pragma once

#include "toolkit/ControlProperties.h"

#include <QDialog>
#include <QStringList>

class TbsPolyglotTranslator;

// What the program's dialogs share: the properties a language file sets on
// a window (its Caption is the window title), the title bar they are made
// with, modality over the window that owns them, and, once their controls are
// made, the theme and the language files reaching those controls. Each
// dialog keeps its own class name and objectName: the language files name
// its section by them.
class ThemedDialog : public QDialog
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)

public:
    // The handler of every showing, run once the window is shown; an error
    // ends it in the standard error box.
    virtual void FormShow() {}

protected:
    // The title bar's buttons besides the title; a dialog made with plain
    // Qt::Dialog gets the desktop's usual ones.
    static constexpr Qt::WindowFlags titleAndClose =
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    enum class Placement {
        // The dialog places itself, if at all, where it is made or shown.
        Own,
        // Centred on the screen at each showing.
        CentredAtEachShowing,
    };

    ThemedDialog(QWidget* owner, const QString& name, const QString& caption,
                 Qt::WindowFlags flags = titleAndClose, Placement placement = Placement::Own);

    // The owner's font: a window does not take it by itself.
    void takeOwnerFont();
    // The theme applied to the named components and the language files'
    // translator attached, for the window's controls as they are now. The
    // translator, for a dialog that composes texts after each translation;
    // none when it could not be attached (that was reported).
    TbsPolyglotTranslator* applyThemeAndLanguage(const QStringList& themedComponents);

    void showEvent(QShowEvent* event) override;

private:
    Placement m_placement;
};
