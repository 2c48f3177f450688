#pragma once

#include <QHash>
#include <QMetaProperty>
#include <QObject>
#include <QPointer>
#include <QStringView>
#include <functional>
#include <optional>

// What a language file can reach in a window, by name: the components a
// window owns, the child controls of a control, and the published properties
// of an object with their kinds. This is the one place that decides how a Qt
// property's type reads as a kind of property.

// A property whose value is a list of items addressed as Items(n) (a grid's
// columns, a status bar's panels). The items are objects reached by their
// properties.
class ItemCollection : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual int count() const = 0;
    virtual QObject* item(int index) const = 0;
};

// A module that owns its own components (the data module): a window's search
// for its components does not enter it.
#define RYDEX_SEPARATE_OWNER Q_CLASSINFO("RydexOwner", "separate")

namespace RuntimeNaming {

enum class PropertyKind {
    Text,
    Integer,
    Float,
    Enumeration, // yes/no flags included
    StringList,
    Collection,
    Object,
    Other // single characters, sets, 64-bit integers, variants, ...
};

// The property of that name, compared without regard to case; a property
// declared by a derived class comes before one of its ancestors'.
std::optional<QMetaProperty> findProperty(const QObject* object, QStringView name);
PropertyKind kindOf(const QMetaProperty& property);
// The object an object property holds, or null.
QObject* objectValue(const QObject* holder, const QMetaProperty& property);

// Visits every component the window owns, in creation order, without
// entering another translated window or a separate owner, until visit
// answers false.
void forEachOwned(const QObject* window, const std::function<bool(QObject*)>& visit);

// A component of that name that the window owns, however deeply nested,
// without entering another translated window or a separate owner.
QObject* ownedComponent(const QObject* window, QStringView name);
// A direct child control of that name (the first in child order). Unnamed
// containers and Qt's own internal widgets belong to their parent control, so
// the search looks through them.
QObject* childControl(const QObject* control, QStringView name);

// The components a window owns, by name, as ownedComponent() finds them,
// taken once for a whole pass over a window's section so that each entry is
// found without searching the window again. A component destroyed since is
// searched for afresh.
class ComponentIndex
{
public:
    explicit ComponentIndex(const QObject* window);
    QObject* find(QStringView name) const;

private:
    const QObject* m_window;
    QHash<QString, QPointer<QObject>> m_byName; // case-folded name
};

// Whether an object is the root of a translation of its own or a separate
// owner (the search for a window's components stops there).
bool ownsItsComponents(const QObject* object);

} // namespace RuntimeNaming
