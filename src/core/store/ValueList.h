#pragma once

#include "store/RideFields.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The items a ride's text field is picked from. The stored texts are the
// program's own list, what the rides in every store hold; each is shown as
// the current language writes it. Rides therefore keep one vocabulary
// whatever language they were entered in, and a text the user typed
// himself is stored and shown as typed.
class ValueList
{
public:
    ValueList() = default;
    explicit ValueList(QStringList stored);

    const QStringList& stored() const { return m_stored; }
    // The items as shown: each stored text in the current language (itself
    // where the language gives none or an empty one), then any items the
    // language adds, which are stored as they read.
    QStringList shown() const;
    // The language's texts, item by item in the order of the stored list.
    void setShown(const QStringList& shown);

    // What a field holding this text shows: the shown form of a stored item,
    // any other text (an empty one included) as it is.
    QString displayText(const QString& stored) const;
    // What a field receives for the text in the box: the stored form of an
    // item shown so, any other text as it is.
    QString storedText(const QString& shown) const;
    // The item a stored text stands for, -1 for none.
    int indexOf(const QString& stored) const;

private:
    QStringList m_stored;
    QStringList m_shown;
};

// The lists of the fields that have one; a field without a list shows its
// text as it is.
class ValueLists
{
public:
    void set(RideField field, const ValueList& list) { m_lists.insert(int(field), list); }
    QString displayText(RideField field, const QString& stored) const;
    // The items of a field's list as shown, none for a field without one.
    QStringList shown(RideField field) const;

private:
    QHash<int, ValueList> m_lists;
};
