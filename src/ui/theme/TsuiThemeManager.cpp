#include "theme/TsuiThemeManager.h"

#include "polyglot/RuntimeNaming.h"
#include "theme/TsuiFileTheme.h"

#include <QEvent>
#include <QStyle>
#include <QWidget>

TsuiThemeManager* TsuiThemeManager::attach(QWidget* window, const QStringList& components)
{
    auto* manager = new TsuiThemeManager(window, components);
    window->installEventFilter(manager);
    return manager;
}

TsuiThemeManager::TsuiThemeManager(QObject* window, const QStringList& components)
    : QObject(window), m_components(components)
{
    setObjectName(QStringLiteral("suiThemeManager"));
}

void TsuiThemeManager::apply()
{
    TsuiFileTheme* theme = TsuiFileTheme::of(parent());
    for (const QString& name : std::as_const(m_components)) {
        QObject* component = RuntimeNaming::ownedComponent(parent(), name);
        if (!component)
            continue;
        // Bound to the theme and drawn in the style of its file. A control
        // bound already was polished again with the rest of the program when
        // the theme's sheet changed.
        const QVariant boundTheme = QVariant::fromValue<QObject*>(theme);
        const QString fromFile = QStringLiteral("FromThemeFile");
        if (component->property("FileTheme") == boundTheme &&
            component->property("UIStyle") == fromFile)
            continue;
        component->setProperty("FileTheme", boundTheme);
        component->setProperty("UIStyle", fromFile);
        if (auto* w = qobject_cast<QWidget*>(component)) {
            w->style()->unpolish(w);
            w->style()->polish(w);
            w->update();
        }
    }
}

bool TsuiThemeManager::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Show)
        apply();
    return QObject::eventFilter(watched, event);
}
