#include "polyglot/TranslatableTexts.h"

#include "polyglot/RuntimeNaming.h"

#include <QMetaProperty>

using RuntimeNaming::PropertyKind;

namespace {
// The properties that carry a text for the user. "Text" is a text of the
// user's own on a control (an edit's content) and a message on a dialog
// component, which is no control.
bool carriesText(const QObject* object, const QMetaProperty& property)
{
    const QLatin1String name(property.name());
    if (name == QLatin1String("Caption") || name == QLatin1String("Hint") ||
        name == QLatin1String("Button1Caption") || name == QLatin1String("Button2Caption"))
        return true;
    return name == QLatin1String("Text") && !object->isWidgetType();
}

bool carriesList(const QMetaProperty& property)
{
    const QLatin1String name(property.name());
    return name == QLatin1String("Items") || name == QLatin1String("Tabs") ||
           name == QLatin1String("Lines");
}

void collectObject(const QObject* object, const QString& path, QList<TranslatableTexts::Entry>& out)
{
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        // The designer's names start with a capital; Qt's own do not.
        if (!p.isReadable() || !QChar(QLatin1Char(p.name()[0])).isUpper())
            continue;
        const QString key = path + QLatin1String(p.name());
        switch (RuntimeNaming::kindOf(p)) {
        case PropertyKind::Text:
            if (p.isWritable() && carriesText(object, p)) {
                const QString text = p.read(object).toString();
                if (!text.isEmpty())
                    out.append({key, TranslatableTexts::encodeTextLiteral(text), {text}});
            }
            break;
        case PropertyKind::StringList:
            if (p.isWritable() && carriesList(p)) {
                const QStringList items = p.read(object).toStringList();
                if (!items.isEmpty())
                    out.append({key + QLatin1String(".Strings"),
                                TranslatableTexts::encodeListValue(items), items});
            }
            break;
        case PropertyKind::Collection:
            if (auto* items =
                    qobject_cast<ItemCollection*>(RuntimeNaming::objectValue(object, p))) {
                for (int n = 0; n < items->count(); ++n) {
                    if (const QObject* item = items->item(n))
                        collectObject(item, key + QStringLiteral(".Items(%1).").arg(n), out);
                }
            }
            break;
        case PropertyKind::Object:
            // Only the column titles and the like: a font has no text.
            if (qstrcmp(p.name(), "Title") == 0) {
                if (const QObject* inner = RuntimeNaming::objectValue(object, p))
                    collectObject(inner, key + QLatin1Char('.'), out);
            }
            break;
        default:
            break;
        }
    }
}

bool isTranslatable(const QObject* object)
{
    const QVariant mark = object->property("translatable");
    return !mark.isValid() || mark.toBool();
}
} // namespace

QList<TranslatableTexts::Entry> TranslatableTexts::collect(QObject* window)
{
    QList<Entry> out;
    if (isTranslatable(window))
        collectObject(window, QString(), out);
    const RuntimeNaming::ComponentIndex index(window);
    RuntimeNaming::forEachOwned(window, [&](QObject* object) {
        const QString name = object->objectName();
        // A name that leads elsewhere (a second component of that name) is
        // no key of its own.
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && isTranslatable(object) &&
            index.find(name) == object)
            collectObject(object, name + QLatin1Char('.'), out);
        return true;
    });
    return out;
}

QString TranslatableTexts::encodeTextLiteral(const QString& text)
{
    QString out;
    bool inRun = false;
    for (QChar c : text) {
        if (c.unicode() < 32) {
            if (inRun)
                out += QLatin1Char('\'');
            inRun = false;
            out += QLatin1Char('#') + QString::number(c.unicode());
            continue;
        }
        if (!inRun)
            out += QLatin1Char('\'');
        inRun = true;
        out += c;
        if (c == u'\'')
            out += c;
    }
    if (inRun)
        out += QLatin1Char('\'');
    // An empty text, or a single character code, still needs two characters.
    if (out.size() < 2)
        out += QStringLiteral("''");
    return out;
}

QString TranslatableTexts::encodeListValue(const QStringList& items)
{
    QStringList quoted;
    for (QString item : items)
        quoted.append(QLatin1Char('\'') + item.replace(u'\'', QStringLiteral("''")) +
                      QLatin1Char('\''));
    return quoted.join(QLatin1Char(','));
}
