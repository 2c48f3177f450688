#include "LayoutChecks.h"

#include "toolkit/GroupFrame.h"

#include <QGroupBox>
#include <QWidget>

namespace {
QWidget* named(const QWidget* window, const QString& name)
{
    return window->findChild<QWidget*>(name);
}

// Where a control lies, in the window's coordinates; empty when it is missing.
QRect placeOf(const QWidget* window, const QString& name)
{
    const QWidget* control = named(window, name);
    return control ? QRect(control->mapTo(window, QPoint(0, 0)), control->size()) : QRect();
}
} // namespace

QStringList outsideTheirParent(const QWidget* window, const QStringList& names)
{
    QStringList out;
    for (const QString& name : names) {
        const QWidget* control = named(window, name);
        const QWidget* parent = control ? control->parentWidget() : nullptr;
        if (!parent) {
            out << name + QStringLiteral(" (missing)");
            continue;
        }
        QRect room = parent->rect();
        if (const auto* group = qobject_cast<const QGroupBox*>(parent))
            room.setTop(groupFrameTop(group));
        if (!room.contains(control->geometry()))
            out << name;
    }
    return out;
}

QStringList overlapping(const QWidget* window, const QStringList& names)
{
    QStringList out;
    for (qsizetype i = 0; i < names.size(); ++i) {
        for (qsizetype j = i + 1; j < names.size(); ++j) {
            if (placeOf(window, names[i]).intersects(placeOf(window, names[j])))
                out << names[i] + QLatin1Char('/') + names[j];
        }
    }
    return out;
}

QStringList labelsNotAbove(const QWidget* window, const QList<QStringList>& labelAndControl)
{
    QStringList out;
    for (const QStringList& pair : labelAndControl) {
        const QRect label = placeOf(window, pair.value(0));
        const QRect control = placeOf(window, pair.value(1));
        if (label.isEmpty() || control.isEmpty() || label.bottom() >= control.top() ||
            label.left() != control.left())
            out << pair.join(QLatin1Char('/'));
    }
    return out;
}

QStringList tabOrder(const QWidget* window, const QStringList& names)
{
    QStringList chain;
    QWidget* first = names.isEmpty() ? nullptr : named(window, names.first());
    if (!first)
        return chain;
    QWidget* at = first;
    do {
        if (names.contains(at->objectName()) && !chain.contains(at->objectName()))
            chain << at->objectName();
        at = at->nextInFocusChain();
    } while (at != first);
    return chain;
}
