#pragma once

#include <QObject>
#include <QStringList>

class TsuiFileTheme;

// A window's theme manager, "suiThemeManager": the names of the window's
// themed components. Applying it binds each of them that exists to the
// program's theme and has it drawn anew in the theme in force.
class TsuiThemeManager : public QObject
{
    Q_OBJECT

public:
    // A manager on the window, applied each time the window is shown.
    static TsuiThemeManager* attach(QWidget* window, const QStringList& components);

    TsuiThemeManager(QObject* window, const QStringList& components);
    QStringList components() const { return m_components; }
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList m_components;
};
