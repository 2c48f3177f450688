#include "polyglot/RuntimeNaming.h"

#include "polyglot/TbsPolyglotTranslator.h"

#include <QMetaType>
#include <QStringList>

namespace {
bool sameName(QStringView a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isSeparateOwner(const QObject* object)
{
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfClassInfo("RydexOwner");
    return index >= 0 && qstrcmp(meta->classInfo(index).value(), "separate") == 0;
}

// Qt's own helper widgets ("qt_scrollarea_viewport", ...) and unnamed
// containers carry no name of the program's.
bool isTransparent(const QObject* object)
{
    const QString name = object->objectName();
    return name.isEmpty() || name.startsWith(QLatin1String("qt_"));
}
} // namespace

std::optional<QMetaProperty> RuntimeNaming::findProperty(const QObject* object, QStringView name)
{
    if (!object || name.isEmpty())
        return std::nullopt;
    // The properties of a class, by case-folded name, the most derived
    // class's first; classes are fixed for the run, so the table is made
    // once per class.
    static QHash<const QMetaObject*, QHash<QString, int>> tables;
    const QMetaObject* meta = object->metaObject();
    auto table = tables.find(meta);
    if (table == tables.end()) {
        QHash<QString, int> byName;
        // A derived class's properties come after its base's, and insert()
        // replaces: the most derived class's property wins.
        const int count = meta->propertyCount();
        byName.reserve(count);
        for (int i = 0; i < count; ++i)
            byName.insert(QString::fromLatin1(meta->property(i).name()).toCaseFolded(), i);
        table = tables.insert(meta, byName);
    }
    const auto found = table->constFind(name.toString().toCaseFolded());
    if (found == table->constEnd())
        return std::nullopt;
    return meta->property(*found);
}

RuntimeNaming::PropertyKind RuntimeNaming::kindOf(const QMetaProperty& property)
{
    if (property.isEnumType())
        return property.isFlagType() ? PropertyKind::Other : PropertyKind::Enumeration;
    const QMetaType type = property.metaType();
    switch (type.id()) {
    case QMetaType::QString:
        return PropertyKind::Text;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return PropertyKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return PropertyKind::Float;
    case QMetaType::Bool:
        return PropertyKind::Enumeration;
    case QMetaType::QStringList:
        return PropertyKind::StringList;
    default:
        break;
    }
    if (type.flags().testFlag(QMetaType::PointerToQObject)) {
        const QMetaObject* meta = type.metaObject();
        if (meta && meta->inherits(&ItemCollection::staticMetaObject))
            return PropertyKind::Collection;
        return PropertyKind::Object;
    }
    return PropertyKind::Other;
}

QObject* RuntimeNaming::objectValue(const QObject* holder, const QMetaProperty& property)
{
    if (!property.metaType().flags().testFlag(QMetaType::PointerToQObject))
        return nullptr;
    const QVariant value = property.read(holder);
    if (!value.isValid() || !value.constData())
        return nullptr;
    return *static_cast<QObject* const*>(value.constData());
}

bool RuntimeNaming::ownsItsComponents(const QObject* object)
{
    if (isSeparateOwner(object))
        return true;
    return object->findChild<TbsPolyglotTranslator*>(TbsPolyglotTranslator::componentName(),
                                                     Qt::FindDirectChildrenOnly) != nullptr;
}

void RuntimeNaming::forEachOwned(const QObject* window, const std::function<bool(QObject*)>& visit)
{
    if (!window)
        return;
    // Breadth by level would find a shallow component first; the owner's
    // list is in creation order, which a depth-first walk over the children
    // follows. An explicit stack keeps deep trees off the call stack.
    QList<QObject*> pending;
    const QObjectList& top = window->children();
    for (auto it = top.crbegin(); it != top.crend(); ++it)
        pending.append(*it);
    while (!pending.isEmpty()) {
        QObject* object = pending.takeLast();
        if (ownsItsComponents(object))
            continue;
        if (!visit(object))
            return;
        const QObjectList& children = object->children();
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            pending.append(*it);
    }
}

QObject* RuntimeNaming::ownedComponent(const QObject* window, QStringView name)
{
    QObject* found = nullptr;
    if (!name.isEmpty()) {
        forEachOwned(window, [&](QObject* object) {
            if (sameName(name, object->objectName()))
                found = object;
            return found == nullptr;
        });
    }
    return found;
}

RuntimeNaming::ComponentIndex::ComponentIndex(const QObject* window) : m_window(window)
{
    forEachOwned(window, [this](QObject* object) {
        const QString name = object->objectName();
        if (!name.isEmpty()) {
            const QString folded = name.toCaseFolded();
            if (!m_byName.contains(folded))
                m_byName.insert(folded, object);
        }
        return true;
    });
}

QObject* RuntimeNaming::ComponentIndex::find(QStringView name) const
{
    const auto found = m_byName.constFind(name.toString().toCaseFolded());
    if (found != m_byName.constEnd() && *found)
        return found->data();
    return found == m_byName.constEnd() ? nullptr : RuntimeNaming::ownedComponent(m_window, name);
}

QObject* RuntimeNaming::childControl(const QObject* control, QStringView name)
{
    if (!control || !control->isWidgetType() || name.isEmpty())
        return nullptr;
    QList<const QObject*> pending;
    const QObjectList& top = control->children();
    for (auto it = top.crbegin(); it != top.crend(); ++it)
        pending.append(*it);
    while (!pending.isEmpty()) {
        const QObject* object = pending.takeLast();
        if (!object->isWidgetType() || ownsItsComponents(object))
            continue;
        if (sameName(name, object->objectName()))
            return const_cast<QObject*>(object);
        if (isTransparent(object)) {
            const QObjectList& children = object->children();
            for (auto it = children.crbegin(); it != children.crend(); ++it)
                pending.append(*it);
        }
    }
    return nullptr;
}
