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

// Every text of the window that its control does not show whole, as
// "name: text": wider or taller than the room its control gives it, reaching
// over the frame of a group, or out of the control's parent. Labels, buttons,
// check boxes, group titles, lists (each of their items), edit boxes and the
// grid's column titles are looked at.
QStringList textsCutOff(const QWidget* window);
// "a/b" for each two visible controls of one parent that cover each other;
// a label covers the room its text takes, and two texts need a gap of a few
// pixels. Pairs listed in `allowed` ("a/b") are left out.
QStringList controlsOverlapping(const QWidget* window, const QStringList& allowed = {});
// Every text of the window, as drawn, that stands out from its background by
// less than `minimum` (contrast ratio), and every check box or radio button
// whose box stands out by less than 3: "name: text (ratio)", the cells of a
// table and their tick boxes included. Disabled controls and cells are left
// out.
QStringList textsHardToRead(QWidget* window, double minimum = 4.5);
