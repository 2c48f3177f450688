#include "store/ADOTable.h"

#include <utility>

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "store/ADOConnection.h"
#include "store/FieldText.h"

#include <QDir>

ADOTable::ADOTable(ADOConnection* connection, QObject* parent)
    : QObject(parent), m_connection(connection)
{
    setObjectName(QStringLiteral("ADOTable"));
}

ADOTable::~ADOTable() = default;

void ADOTable::requireOpen() const
{
    if (!isOpen())
        throw RydexError(Msg::text(Msg::StoreClosed), RydexError::Kind::Store);
}

void ADOTable::requireRow() const
{
    requireOpen();
    if (m_current < 0)
        throw RydexError(Msg::text(Msg::NoCurrentRow), RydexError::Kind::Store);
}

void ADOTable::open()
{
    if (isOpen())
        return;
    m_connection->open();
    m_state = State::Browse;
    try {
        loadSet();
    } catch (...) {
        m_state = State::Inactive;
        m_rows.clear();
        m_versions.clear();
        m_current = -1;
        throw;
    }
    first();
    emitSetChanged();
}

RideRepository& ADOTable::rides() const
{
    return m_connection->rides();
}

void ADOTable::close()
{
    rides().release();
    m_damaged.clear();
    if (!isOpen())
        return;
    m_state = State::Inactive;
    m_modified = false;
    m_rows.clear();
    m_versions.clear();
    m_current = -1;
    m_bof = m_eof = true;
    emitStateChanged();
    emitSetChanged();
}

void ADOTable::setFilter(const RideFilter& filter)
{
    if (filter == m_filter)
        return;
    if (!isOpen()) {
        m_filter = filter;
        return;
    }
    finishEditing();
    const RideFilter oldFilter = m_filter;
    m_filter = filter;
    try {
        loadSet();
    } catch (...) {
        m_filter = oldFilter;
        throw;
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    emitSetChanged();
}

void ADOTable::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    m_filtered = on;
    if (isOpen())
        refresh();
}

void ADOTable::loadSet()
{
    if (m_filtered && m_filter.isEmpty()) {
        m_rows.clear();
        m_versions.clear();
        return;
    }
    // The statistics switch between the month and the year filter several
    // times in one refresh; the repository keeps what it read for as long
    // as it is what the store holds.
    RideRepository::RideSet set = rides().rides(m_filter, m_filtered, damageNote());
    m_rows = std::move(set.rows);
    m_versions = std::move(set.versions);
}

RideRepository::DamageNote ADOTable::damageNote()
{
    return [this](const QVariant& id, const DamagedFields& found, const QList<int>& fieldsRead) {
        noteDamage(id, found, fieldsRead);
    };
}

void ADOTable::forgetCachedSets()
{
    rides().forgetKept();
}

QVector<RideRow> ADOTable::peekRows(const RideFilter& filter, const QList<RideField>& fields)
{
    requireOpen();
    finishEditing();
    if (filter == m_filter)
        return m_rows;
    if (m_filtered && filter.isEmpty())
        return {};
    return rides().ridesWith(filter, m_filtered, fields, damageNote());
}

void ADOTable::noteDamage(const QVariant& id, const DamagedFields& found,
                          const QList<int>& fieldsRead)
{
    const int key = id.toInt();
    auto it = m_damaged.find(key);
    if (it == m_damaged.end()) {
        if (!found.isEmpty())
            m_damaged.insert(key, found);
        return;
    }
    // What was read now speaks for those fields; the others stay as known.
    for (int field : fieldsRead)
        it->remove(field);
    it->insert(found);
    if (it->isEmpty())
        m_damaged.erase(it);
}

bool ADOTable::isDamaged(const QVariant& id) const
{
    return m_damaged.contains(id.toInt());
}

QVariant ADOTable::damagedValue(const QVariant& id, RideField field) const
{
    return m_damaged.value(id.toInt()).value(fieldIndex(field));
}

QString ADOTable::damageReport() const
{
    if (m_damaged.isEmpty())
        return QString();
    int id = m_damaged.begin().key();
    for (auto it = m_damaged.begin(); it != m_damaged.end(); ++it)
        id = std::min(id, it.key());
    const DamagedFields& fields = m_damaged.value(id);
    int field = fields.begin().key();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        field = std::min(field, it.key());
    QString shown = fields.value(field).toString();
    if (shown.size() > 40)
        shown = shown.left(40) + QChar(0x2026);
    return Msg::format(Msg::DamagedRow, {QString::number(id), m_connection->location().shown(),
                                         fieldName(static_cast<RideField>(field)), shown}) +
           QLatin1Char(' ') +
           Msg::format(Msg::DamagedRidesShown, {QString::number(m_damaged.size())});
}

bool ADOTable::passesFilter(const RideRow& row) const
{
    return !m_filtered || m_filter.selects(row);
}

int ADOTable::positionFor(const RideRow& row) const
{
    return int(std::upper_bound(m_rows.begin(), m_rows.end(), row, rideListedBefore) -
               m_rows.begin());
}

void ADOTable::first()
{
    requireOpen();
    finishEditing();
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    emitCurrentChanged();
}

void ADOTable::next()
{
    requireOpen();
    finishEditing();
    if (m_current + 1 < m_rows.size()) {
        ++m_current;
        m_bof = false;
        m_eof = false;
        emitCurrentChanged();
    } else {
        m_eof = true;
    }
}

void ADOTable::prior()
{
    requireOpen();
    finishEditing();
    if (m_current > 0) {
        --m_current;
        m_bof = false;
        m_eof = false;
        emitCurrentChanged();
    } else {
        m_bof = true;
    }
}

void ADOTable::last()
{
    requireOpen();
    finishEditing();
    m_current = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.isEmpty();
    emitCurrentChanged();
}

bool ADOTable::findFirst()
{
    first();
    return !m_rows.isEmpty();
}

void ADOTable::setCurrentIndex(int index)
{
    requireOpen();
    if (m_rows.isEmpty() || index == m_current)
        return;
    finishEditing();
    m_current = std::clamp(index, 0, int(m_rows.size()) - 1);
    m_bof = m_eof = false;
    emitCurrentChanged();
}

void ADOTable::refresh()
{
    requireOpen();
    finishEditing();
    // A kept set the store has not changed since is what the store holds:
    // it stands for the read.
    const QVariant id =
        m_current >= 0 ? m_rows.at(m_current)[fieldIndex(RideField::id)] : QVariant();
    loadSet();
    m_current = m_rows.isEmpty() ? -1 : 0;
    for (int i = 0; i < m_rows.size() && id.isValid(); ++i) {
        if (m_rows.at(i)[fieldIndex(RideField::id)] == id) {
            m_current = i;
            break;
        }
    }
    m_bof = m_eof = m_rows.isEmpty();
    emitSetChanged();
}

void ADOTable::finishEditing()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void ADOTable::disableControls()
{
    ++m_disableCount;
}

void ADOTable::enableControls(Reattach how)
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount > 0)
        return;
    const bool setChangedMeanwhile = std::exchange(m_pendingSetChanged, false);
    const bool currentChangedMeanwhile = std::exchange(m_pendingCurrentChanged, false);
    if (how == Reattach::OnlyChanges) {
        if (setChangedMeanwhile)
            emitSetChanged();
        else if (currentChangedMeanwhile)
            emitCurrentChanged();
        return;
    }
    emit stateChanged(m_state);
    emit setChanged();
    emit currentChanged(m_current);
}

void ADOTable::emitSetChanged()
{
    if (m_disableCount > 0) {
        m_pendingSetChanged = true;
        return;
    }
    emit setChanged();
    emit currentChanged(m_current);
}

void ADOTable::emitStateChanged()
{
    // Detached controls do not follow the rows being edited in a walk either;
    // they are brought up to date when they are attached again.
    if (m_disableCount > 0)
        return;
    emit stateChanged(m_state);
}

void ADOTable::emitCurrentChanged()
{
    if (m_disableCount > 0) {
        m_pendingCurrentChanged = true;
        return;
    }
    emit currentChanged(m_current);
}

QVariant ADOTable::value(RideField field) const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer[fieldIndex(field)];
    if (m_current < 0 || m_current >= m_rows.size())
        return QVariant();
    return m_rows.at(m_current)[fieldIndex(field)];
}

QDateTime ADOTable::asDateTime(RideField field) const
{
    const QVariant v = value(field);
    if (v.metaType().id() == QMetaType::QTime)
        return QDateTime(dateTimeOrigin(), v.toTime());
    return v.toDateTime();
}

QTime ADOTable::asTime(RideField field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return QTime(0, 0);
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().time();
    return v.toTime();
}

int ADOTable::asInteger(RideField field) const
{
    const QVariant v = value(field);
    if (v.metaType() == QMetaType::fromType<Fixed4>())
        return int(v.value<Fixed4>().roundedToWholeEven());
    return v.toInt();
}

Fixed4 ADOTable::asFixed(RideField field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return Fixed4();
    if (v.metaType() == QMetaType::fromType<Fixed4>())
        return v.value<Fixed4>();
    return Fixed4::fromInt(v.toLongLong());
}

QString ADOTable::asString(RideField field) const
{
    return displayText(field, value(field), QLocale::c());
}

void ADOTable::setValue(RideField field, const QVariant& v)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw RydexError(Msg::text(Msg::NotEditing), RydexError::Kind::Store);
    if (field == RideField::id)
        return;
    const QVariant normalized = normalizeFieldValue(field, v);
    QVariant& slot = m_buffer[fieldIndex(field)];
    if (slot.isNull() != normalized.isNull() || slot != normalized) {
        slot = normalized;
        m_modified = true;
    }
}

QString ADOTable::displayText(RideField field, const QLocale& locale) const
{
    return displayText(field, value(field), locale);
}

QString ADOTable::editText(RideField field, const QLocale& locale) const
{
    return editText(field, value(field), locale);
}

QString ADOTable::displayText(RideField field, const QVariant& v, const QLocale& locale)
{
    return fieldDisplayText(field, v, locale);
}

QString ADOTable::editText(RideField field, const QVariant& v, const QLocale& locale)
{
    return fieldEditText(field, v, locale);
}

void ADOTable::setEditText(RideField field, const QString& text, const QLocale& locale)
{
    if (const std::optional<QVariant> v = fieldValueOfText(field, text, locale))
        setValue(field, *v);
    else
        setNull(field);
}
