#pragma once

#include "toolkit/ControlProperties.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

// Qt's standard controls under the names and with the properties the
// program's windows were designed with, so that a language file reaches
// "Label1.Caption" or "btnOk.Hint". Each takes its object name first.

// A text. With AutoSize on, it takes the size of its caption whenever the
// caption or the font changes, as a label placed by position does.
class Label : public QLabel
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setCaption)
    Q_PROPERTY(bool AutoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(bool WordWrap READ wordWrap WRITE setWordWrap)

public:
    Label(const QString& name, const QString& caption, QWidget* parent);
    void setCaption(const QString& caption);
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

protected:
    void changeEvent(QEvent* event) override;

private:
    bool m_autoSize = false;
};

class Button : public QPushButton
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)

public:
    Button(const QString& name, const QString& caption, QWidget* parent);
};

class ToolButton : public QToolButton
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)

public:
    ToolButton(const QString& name, QWidget* parent);
};

class CheckBox : public QCheckBox
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(bool Checked READ isChecked WRITE setChecked)

public:
    CheckBox(const QString& name, const QString& caption, QWidget* parent);
};

class RadioButton : public QRadioButton
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(bool Checked READ isChecked WRITE setChecked)

public:
    RadioButton(const QString& name, const QString& caption, QWidget* parent);
};

class GroupBox : public QGroupBox
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ title WRITE setTitle)

public:
    GroupBox(const QString& name, const QString& caption, QWidget* parent);
};

class Edit : public QLineEdit
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)

public:
    Edit(const QString& name, QWidget* parent);
};

class DateTimePicker : public QDateEdit
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES

public:
    DateTimePicker(const QString& name, QWidget* parent);

protected:
    // Tab goes on to the next control, as in every other box of a dialog;
    // the arrow keys move between the day, the month and the year.
    bool focusNextPrevChild(bool next) override;
};

class TreeView : public QTreeWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES

public:
    TreeView(const QString& name, QWidget* parent);
};

// The status bar of a window: one text (the current hint), no panels.
class StatusBar : public QStatusBar
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString SimpleText READ currentMessage WRITE showMessage)

public:
    StatusBar(const QString& name, QWidget* parent);
};

// A page of a PageControl; its caption is the page's tab.
class TabSheet : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool TabVisible READ tabVisible WRITE setTabVisible)

public:
    TabSheet(const QString& name, QWidget* parent = nullptr);
    QString caption() const;
    void setCaption(const QString& caption);
    bool tabVisible() const;
    void setTabVisible(bool visible);

private:
    // The page control the sheet lies in, and the sheet's place there.
    QTabWidget* pageControl() const;
    QString m_caption;
};

// Pages with tabs, each page a TabSheet.
class PageControl : public QTabWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(int TabIndex READ currentIndex WRITE setCurrentIndex)

public:
    PageControl(const QString& name, QWidget* parent);
    void addSheet(TabSheet* sheet, const QString& caption);
};
