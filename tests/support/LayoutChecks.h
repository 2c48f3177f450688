#pragma once

#include <QStringList>

class QWidget;

// What a window's fixed layout must hold, whatever the pixels: every control
// inside its parent, none on top of another, captions where they belong and
// the Tab key going round in a given order. Each check names the controls
// (by objectName, found anywhere in the window) and returns what breaks the
// rule, empty when nothing does, so that a failure names the culprits.

// The named controls that stick out of their parent; a group box's children
// must also stay below its frame line or title.
QStringList outsideTheirParent(const QWidget* window, const QStringList& names);
// "a/b" for each two of the named controls that overlap.
QStringList overlapping(const QWidget* window, const QStringList& names);
// "label/control" for each pair whose label does not stand above its control,
// starting at the same left edge.
QStringList labelsNotAbove(const QWidget* window, const QList<QStringList>& labelAndControl);
// The named controls in the order the focus chain visits them, going once
// round from the first of them.
QStringList tabOrder(const QWidget* window, const QStringList& names);
