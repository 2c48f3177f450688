#pragma once

#include <QString>

// Why a name cannot be a new cyclist's, before it is compared with the
// cyclists there are. The name is otherwise taken exactly as typed.
enum class CyclistNameProblem {
    None,
    // Empty, or spaces only: nothing to tell the cyclist by in the menu.
    Blank,
    // Control or invisible formatting characters (a line break, a right-to-
    // left override): the menu would show the name other than it is, or
    // two different names alike.
    ControlCharacters,
};

CyclistNameProblem cyclistNameProblem(const QString& name);
