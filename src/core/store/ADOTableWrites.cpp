// The ride table's writes: inserting, editing, posting and deleting a ride,
// each one transaction that raises the row's version.
#include "store/ADOTable.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "store/ADOConnection.h"

void ADOTable::insert()
{
    requireOpen();
    finishEditing();
    m_buffer = RideRow{};
    m_modified = false;
    m_state = State::Insert;
    emitStateChanged();
}

void ADOTable::edit()
{
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_current < 0) {
        insert();
        return;
    }
    m_buffer = m_rows.at(m_current);
    m_original = m_buffer;
    m_originalDamage = m_damaged.value(m_buffer[fieldIndex(RideField::id)].toInt());
    m_modified = false;
    m_state = State::Edit;
    emitStateChanged();
}

void ADOTable::updateRecord()
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw RydexError(Msg::text(Msg::NotEditing), RydexError::Kind::Store);
    // Detached controls do not speak for the row: a routine walking the set
    // writes its own values, never what an open dialog happens to show.
    if (m_disableCount == 0)
        emit updateRecordRequested();
}

void ADOTable::post()
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw RydexError(Msg::text(Msg::NotEditing), RydexError::Kind::Store);
    updateRecord();
    RideRow row = m_buffer;
    const bool inserting = m_state == State::Insert;
    const QVariant id = row[fieldIndex(RideField::id)];
    QList<int> changed;
    for (int i = 1; i < rideFieldCount; ++i) {
        if (inserting || row[i].isNull() != m_original[i].isNull() || row[i] != m_original[i])
            changed << i;
    }
    if (!changed.isEmpty()) {
        qint64 version = 0;
        if (inserting) {
            writeOrConflict(id, [&] {
                row[fieldIndex(RideField::id)] = rides().insert(row);
                return true;
            });
        } else {
            postUpdate(row, changed, &version);
        }
        m_versions.insert(row[fieldIndex(RideField::id)].toInt(), version);
        rides().keepWritten(inserting ? nullptr : &m_original, &row, version);
    }

    const bool stays = passesFilter(row);
    if (!inserting && m_current >= 0 && stays &&
        m_rows.at(m_current)[fieldIndex(RideField::date)] == row[fieldIndex(RideField::date)]) {
        // Same place in the order: changed where it stands.
        m_rows[m_current] = row;
    } else {
        if (!inserting && m_current >= 0)
            m_rows.removeAt(m_current);
        if (stays) {
            const int at = positionFor(row);
            m_rows.insert(at, row);
            m_current = at;
        } else {
            m_current = std::min(m_current, int(m_rows.size()) - 1);
            if (m_current < 0 && !m_rows.isEmpty())
                m_current = 0;
        }
    }
    m_bof = m_eof = m_rows.isEmpty();
    m_state = State::Browse;
    m_modified = false;
    emitStateChanged();
    emitSetChanged();
}

void ADOTable::conflict(const QVariant& id)
{
    // Nothing of ours was written: the set is read again, so that the table
    // shows the ride as the other copy left it, or without it.
    m_state = State::Browse;
    m_modified = false;
    m_buffer = RideRow{};
    rides().forgetKept();
    loadSet();
    m_current = m_rows.isEmpty() ? 0 : std::clamp(m_current, 0, int(m_rows.size()) - 1);
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i)[fieldIndex(RideField::id)] == id) {
            m_current = i;
            break;
        }
    }
    if (m_rows.isEmpty())
        m_current = -1;
    m_bof = m_eof = m_rows.isEmpty();
    emitStateChanged();
    emitSetChanged();
    throw RydexError(Msg::text(Msg::RideChangedElsewhere), RydexError::Kind::Conflict);
}

void ADOTable::postUpdate(RideRow& row, const QList<int>& changed, qint64* version)
{
    const QVariant id = row[fieldIndex(RideField::id)];
    // Read and written in one transaction, so that no other copy writes in
    // between: a change another copy made to the ride since it was read is
    // refused only where this save would overwrite it.
    qint64 storedVersion = 0;
    DamagedFields storedDamage;
    std::optional<RideRow> stored;
    writeOrConflict(id, [&] {
        stored = rides().ride(id, &storedVersion, &storedDamage);
        if (!stored || !unchangedSinceRead(*stored, storedDamage, changed))
            return false;
        return rides().update(id, storedVersion, row, changed);
    });
    // The ride as stored now: this save's fields over what the other copy
    // left in the rest.
    for (int i : changed) {
        (*stored)[i] = row[i];
        storedDamage.remove(i);
    }
    row = std::move(*stored);
    QList<int> everyField;
    for (int i = 0; i < rideFieldCount; ++i)
        everyField << i;
    noteDamage(id, storedDamage, everyField);
    *version = storedVersion + 1;
}

bool ADOTable::unchangedSinceRead(const RideRow& stored, const DamagedFields& storedDamage,
                                  const QList<int>& fields) const
{
    for (int i : fields) {
        // A damaged value is compared as it is stored: read, it is empty.
        const bool wasDamaged = m_originalDamage.contains(i);
        if (wasDamaged != storedDamage.contains(i))
            return false;
        if (wasDamaged) {
            if (m_originalDamage.value(i) != storedDamage.value(i))
                return false;
        } else if (stored[i].isNull() != m_original[i].isNull() || stored[i] != m_original[i]) {
            return false;
        }
    }
    return true;
}

void ADOTable::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_state = State::Browse;
    m_modified = false;
    m_buffer = RideRow{};
    emitStateChanged();
    emitCurrentChanged();
}

void ADOTable::deleteRecord()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    requireRow();
    const QVariant id = m_rows.at(m_current)[fieldIndex(RideField::id)];
    const qint64 version = m_versions.value(id.toInt());
    writeOrConflict(id, [&] { return rides().remove(id, version); });
    rides().keepWritten(&m_rows.at(m_current), nullptr, 0);
    m_versions.remove(id.toInt());
    m_damaged.remove(id.toInt());
    m_rows.removeAt(m_current);
    m_current = std::min(m_current, int(m_rows.size()) - 1);
    m_bof = m_eof = m_rows.isEmpty();
    emitSetChanged();
}

QVector<int> ADOTable::insertRows(const QVector<RideRow>& rows, int* failedAt)
{
    requireOpen();
    finishEditing();
    const int idAt = fieldIndex(RideField::id);
    QVector<int> ids;
    ids.reserve(rows.size());
    int at = 0;
    m_connection->begin();
    try {
        for (; at < rows.size(); ++at) {
            RideRow row;
            for (int i = 1; i < rideFieldCount; ++i)
                row[i] = normalizeFieldValue(static_cast<RideField>(i), rows.at(at)[i]);
            row[idAt] = rides().insert(row);
            ids.append(row[idAt].toInt());
            rides().keepWritten(nullptr, &row, 0);
        }
        m_connection->commit();
    } catch (...) {
        // The rollback makes every kept set stale: none holds rows that
        // are not stored.
        m_connection->rollback();
        if (failedAt)
            *failedAt = at;
        throw;
    }
    return ids;
}

void ADOTable::writeColumn(RideField field, const QVector<QVariant>& values,
                           const std::function<void(int row)>& beforeRow)
{
    requireOpen();
    finishEditing();
    const int at = fieldIndex(field);
    const int idAt = fieldIndex(RideField::id);
    QVector<RideRepository::ColumnWrite> writes;
    QVector<int> places;
    for (int k = 0; k < m_rows.size() && k < values.size(); ++k) {
        const QVariant value = normalizeFieldValue(field, values.at(k));
        const RideRow& row = m_rows.at(k);
        if (row[at].isNull() == value.isNull() && row[at] == value)
            continue;
        RideRow after = row;
        after[at] = value;
        writes.append({row, std::move(after), m_versions.value(row[idAt].toInt())});
        places.append(k);
    }
    if (writes.isEmpty())
        return;
    writeOrConflict(writes.first().before[idAt], [&] {
        return rides().writeColumn(field, writes, [&](qsizetype i) {
            if (beforeRow)
                beforeRow(places.at(i));
        });
    });
    for (const RideRepository::ColumnWrite& write : std::as_const(writes)) {
        const int id = write.after[idAt].toInt();
        m_versions.insert(id, write.version + 1);
        for (RideRow& row : m_rows) {
            if (row[idAt].toInt() == id) {
                row = write.after;
                break;
            }
        }
    }
    emitSetChanged();
}

void ADOTable::writeOrConflict(const QVariant& id, const std::function<bool()>& write)
{
    bool lost = false;
    m_connection->begin();
    try {
        lost = !write();
        if (!lost)
            m_connection->commit();
    } catch (...) {
        m_connection->rollback();
        throw;
    }
    if (lost) {
        m_connection->rollback();
        conflict(id);
    }
}
