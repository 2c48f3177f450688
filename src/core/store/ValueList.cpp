#include "store/ValueList.h"

ValueList::ValueList(QStringList stored) : m_stored(std::move(stored)) {}

QStringList ValueList::shown() const
{
    QStringList out = m_stored;
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        if (i >= out.size())
            out << m_shown.at(i);
        else if (!m_shown.at(i).isEmpty())
            out[i] = m_shown.at(i);
    }
    return out;
}

void ValueList::setShown(const QStringList& shown)
{
    m_shown = shown;
}

QString ValueList::displayText(const QString& stored) const
{
    // An empty field stays empty even where the language fills the list's
    // empty items with texts of its own.
    const int index = stored.isEmpty() ? -1 : indexOf(stored);
    return index < 0 ? stored : shown().at(index);
}

QString ValueList::storedText(const QString& shown) const
{
    const qsizetype index = this->shown().indexOf(shown);
    // An item the language put in place of an empty one is its own text.
    if (index < 0 || index >= m_stored.size() || m_stored.at(index).isEmpty())
        return shown;
    return m_stored.at(index);
}

int ValueList::indexOf(const QString& stored) const
{
    return int(m_stored.indexOf(stored));
}

QString ValueLists::displayText(RideField field, const QString& stored) const
{
    const auto it = m_lists.constFind(int(field));
    return it == m_lists.cend() ? stored : it->displayText(stored);
}

QStringList ValueLists::shown(RideField field) const
{
    const auto it = m_lists.constFind(int(field));
    return it == m_lists.cend() ? QStringList() : it->shown();
}
