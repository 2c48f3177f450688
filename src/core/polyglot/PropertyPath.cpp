#include "polyglot/PropertyPath.h"

#include "polyglot/LanguageValues.h"
#include "polyglot/RuntimeNaming.h"

using RuntimeNaming::PropertyKind;

namespace {
struct Split
{
    QStringView first;
    QStringView rest;
};

Split splitFirst(QStringView path)
{
    const qsizetype dot = path.indexOf(u'.');
    if (dot < 0)
        return {path, {}};
    return {path.first(dot), path.sliced(dot + 1)};
}

// "Items(3)" gives 3; the word before "(" is not looked at.
std::optional<int> itemIndex(QStringView segment)
{
    const qsizetype open = segment.indexOf(u'(');
    if (open < 0)
        return std::nullopt;
    const qsizetype close = segment.indexOf(u')');
    if (close <= open)
        return std::nullopt;
    const QStringView digits = segment.sliced(open + 1, close - open - 1);
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    int n = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

bool setSimple(QObject* object, const QMetaProperty& property, const QString& raw,
               const PropertyPath::ValueContext& context)
{
    if (!property.isWritable())
        return false;
    QVariant value;
    switch (RuntimeNaming::kindOf(property)) {
    case PropertyKind::Text:
        value = LanguageValues::decodeTextLiteral(raw, context.codePage);
        break;
    case PropertyKind::Integer:
        value = LanguageValues::decodeInteger(raw);
        break;
    case PropertyKind::Float:
        value = LanguageValues::decodeNumber(raw, context.locale);
        break;
    case PropertyKind::Enumeration:
        if (property.metaType().id() == QMetaType::Bool)
            value = LanguageValues::decodeYesNo(raw);
        else
            value = LanguageValues::decodeEnumeration(raw, property.enumerator());
        break;
    default:
        return false;
    }
    return property.write(object, value);
}
} // namespace

bool PropertyPath::apply(QObject* window, const QString& key, const QString& rawValue,
                         const ValueContext& context, const RuntimeNaming::ComponentIndex* index)
{
    QObject* current = window;
    // Once a property has led to an object, only property names count.
    bool reachedThroughProperty = false;
    QStringView remaining = key;
    while (current) {
        const Split split = splitFirst(remaining);
        const std::optional<QMetaProperty> property =
            RuntimeNaming::findProperty(current, split.first);
        if (!property) {
            if (reachedThroughProperty)
                return false;
            QObject* next = nullptr;
            if (current == window)
                next = index ? index->find(split.first)
                             : RuntimeNaming::ownedComponent(current, split.first);
            if (!next)
                next = RuntimeNaming::childControl(current, split.first);
            if (!next || split.rest.isEmpty())
                return false; // a path that ends at a component changes nothing
            current = next;
            remaining = split.rest;
            continue;
        }
        switch (RuntimeNaming::kindOf(*property)) {
        case PropertyKind::Text:
        case PropertyKind::Integer:
        case PropertyKind::Float:
        case PropertyKind::Enumeration:
            return setSimple(current, *property, rawValue, context);
        case PropertyKind::StringList:
            if (split.rest != u"Strings" || !property->isWritable())
                return false;
            return property->write(current, LanguageValues::splitListValue(rawValue));
        case PropertyKind::Collection: {
            auto* collection =
                qobject_cast<ItemCollection*>(RuntimeNaming::objectValue(current, *property));
            if (!collection)
                return false;
            const Split item = splitFirst(split.rest);
            const std::optional<int> index = itemIndex(item.first);
            if (!index || *index >= collection->count() || item.rest.isEmpty())
                return false;
            current = collection->item(*index);
            remaining = item.rest;
            reachedThroughProperty = true;
            continue;
        }
        case PropertyKind::Object:
            if (split.rest.isEmpty())
                return false;
            current = RuntimeNaming::objectValue(current, *property);
            remaining = split.rest;
            reachedThroughProperty = true;
            continue;
        case PropertyKind::Other:
            return false;
        }
    }
    return false;
}
