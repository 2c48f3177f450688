#pragma once

#include "polyglot/WindowsCodePage.h"

#include <QLocale>
#include <QObject>
#include <QString>

namespace RuntimeNaming {
class ComponentIndex;
}

// Applies one entry of a window's section: the key is a path of names
// separated by "." that starts at the window ("DBGrid.Columns.Items(0).Title
// .Caption"), the value is written as the kind of the property at its end
// requires. A path that names nothing, an item out of range, a list without
// "Strings" or a property of an unsupported kind has no effect.
namespace PropertyPath {

struct ValueContext
{
    // For the character codes of a text ("#233"): the code page of the file.
    WindowsCodePage codePage = WindowsCodePage::forLocale(QLocale());
    // For numbers.
    QLocale locale;
};

// Returns whether a property was set. Throws RydexError "Invalid property
// element: %s" when an enumerated property is given a name that is none of
// its elements.
// The index, when given, stands for the search of the window's components.
bool apply(QObject* window, const QString& key, const QString& rawValue,
           const ValueContext& context = {}, const RuntimeNaming::ComponentIndex* index = nullptr);

} // namespace PropertyPath
