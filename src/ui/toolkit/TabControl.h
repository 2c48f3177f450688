#pragma once

#include "toolkit/ControlProperties.h"

#include <QStringList>
#include <QWidget>

class QTabBar;
class QVBoxLayout;

// Tabs over one shared client area (the month tabs, the chart tabs): choosing
// a tab changes what the area shows, not which widget is shown. The change
// signal comes exactly when the selected index changes, by the user or in code.
class TabControl : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QStringList Tabs READ tabs WRITE setTabs)
    Q_PROPERTY(int TabIndex READ tabIndex WRITE setTabIndex)

public:
    TabControl(const QString& name, QWidget* parent = nullptr);

    QStringList tabs() const;
    // Replaces the tab captions; the selection stays where it was.
    void setTabs(const QStringList& captions);
    int tabIndex() const;
    void setTabIndex(int index);
    QString tabCaption(int index) const;
    void setHint(const QString& hint);

    QTabBar* tabBar() const { return m_bar; }
    // The shared client area under the tabs.
    QWidget* body() const { return m_body; }
    void setTabsIndent(int pixels);

signals:
    void Change();

private:
    QTabBar* m_bar;
    QWidget* m_body;
    QVBoxLayout* m_layout;
};
