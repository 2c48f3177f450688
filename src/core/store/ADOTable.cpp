#include "store/ADOTable.h"

#include <utility>

#include "base/MessageCatalogue.h"
#include "store/ADOConnection.h"
#include "store/FieldText.h"
#include "store/RideStorage.h"
#include "base/RydexError.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>

namespace {
bool rowLess(const RideRow& a, const RideRow& b)
{
    const QDateTime da = a[fieldIndex(RideField::date)].toDateTime();
    const QDateTime db = b[fieldIndex(RideField::date)].toDateTime();
    if (da != db) {
        if (!da.isValid())
            return true;
        if (!db.isValid())
            return false;
        return da < db;
    }
    return a[fieldIndex(RideField::id)].toInt() < b[fieldIndex(RideField::id)].toInt();
}
} // namespace

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

void ADOTable::close()
{
    forgetCachedSets();
    m_insertQuery.reset();
    m_rideQuery.reset();
    m_updateQueries.clear();
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

void ADOTable::setFilter(const QString& text)
{
    if (text == m_filterText)
        return;
    const std::optional<RideFilter> parsed = RideFilter::parse(text);
    if (!parsed)
        throw RydexError(Msg::format(Msg::FilterNotUnderstood, {text}), RydexError::Kind::Store);
    if (!isOpen()) {
        m_filterText = text;
        m_filter = *parsed;
        return;
    }
    finishEditing();
    const QString oldText = m_filterText;
    const RideFilter oldFilter = m_filter;
    m_filterText = text;
    m_filter = *parsed;
    try {
        loadSet();
    } catch (...) {
        m_filterText = oldText;
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
    RideSet set = readSet();
    m_rows = std::move(set.rows);
    m_versions = std::move(set.versions);
}

qint64 ADOTable::storeVersion() const
{
    // Changes whenever another connection commits; our own writes are
    // counted in m_localWrites.
    QSqlQuery q(m_connection->database());
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

bool ADOTable::stillCurrent(qint64 keptVersion, quint64 keptWrites, quint64 keptRollbacks,
                            bool keptFiltered, qint64 version) const
{
    return version >= 0 && keptVersion == version && keptWrites == m_localWrites &&
           keptRollbacks == m_connection->rollbacks() && keptFiltered == m_filtered;
}

const ADOTable::RideSet* ADOTable::keptSet(const QString& filter, qint64 version) const
{
    for (const CachedSet& cached : m_cache) {
        if (cached.filter == filter &&
            stillCurrent(cached.version, cached.localWrites, cached.rollbacks, cached.filtered,
                         version))
            return &cached.set;
    }
    return nullptr;
}

ADOTable::RideSet ADOTable::readSet()
{
    if (m_filtered && m_filter.isEmpty())
        return {};
    // The statistics switch between the month and the year filter several
    // times in one refresh; a set read moments ago is reused as long as no
    // other connection has written to the store since. Our own writes are
    // applied to the kept sets as they are made, and a rollback drops them.
    const qint64 version = storeVersion();
    if (const RideSet* kept = keptSet(m_filterText, version))
        return *kept;
    QSqlQuery q(m_connection->database());
    selectRows(q, selectList(), m_filter);
    RideSet set;
    QList<int> everyField;
    for (int i = 0; i < rideFieldCount; ++i)
        everyField << i;
    while (q.next()) {
        qint64 rowVersion = 0;
        DamagedFields damaged;
        set.rows.append(readRow(q, &rowVersion, &damaged));
        const QVariant id = set.rows.last()[fieldIndex(RideField::id)];
        set.versions.insert(id.toInt(), rowVersion);
        noteDamage(id, damaged, everyField);
    }
    if (version >= 0) {
        m_cache.prepend({m_filterText, m_filter, m_filtered, version, m_localWrites,
                         m_connection->rollbacks(), set});
        while (m_cache.size() > 6)
            m_cache.removeLast();
    }
    return set;
}

void ADOTable::selectRows(QSqlQuery& q, const QString& columns, const RideFilter& filter) const
{
    QString sql = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM rydex");
    if (m_filtered) {
        sql += QStringLiteral(" WHERE \"user\" = :user");
        if (filter.year)
            sql += QStringLiteral(" AND \"year\" = :year");
        if (filter.month)
            sql += QStringLiteral(" AND \"month\" = :month");
    }
    sql += QStringLiteral(" ORDER BY \"date\", \"id\"");
    q.setForwardOnly(true);
    ADOConnection::prepare(q, sql);
    if (m_filtered) {
        q.bindValue(QStringLiteral(":user"), filter.user);
        if (filter.year)
            q.bindValue(QStringLiteral(":year"), *filter.year);
        if (filter.month)
            q.bindValue(QStringLiteral(":month"), *filter.month);
    }
    ADOConnection::exec(q);
}

void ADOTable::forgetCachedSets()
{
    m_cache.clear();
    m_peeked.clear();
}

QVector<RideRow> ADOTable::peekRows(const QString& text, const QList<RideField>& fields)
{
    const std::optional<RideFilter> parsed = RideFilter::parse(text);
    if (!parsed)
        throw RydexError(Msg::format(Msg::FilterNotUnderstood, {text}), RydexError::Kind::Store);
    requireOpen();
    finishEditing();
    if (text == m_filterText)
        return m_rows;
    if (m_filtered && parsed->isEmpty())
        return {};
    const qint64 version = storeVersion();
    if (const RideSet* kept = keptSet(text, version))
        return kept->rows;
    for (const PeekedRows& peeked : std::as_const(m_peeked)) {
        if (peeked.filter == text && peeked.fields == fields &&
            stillCurrent(peeked.version, peeked.localWrites, peeked.rollbacks, peeked.filtered,
                         version))
            return peeked.rows;
    }
    // A narrow read: the year's figures need a column or two of a few
    // hundred rides, not every column of each.
    QStringList columns{quotedName(RideField::id)};
    for (RideField field : fields)
        columns << quotedName(field);
    QSqlQuery q(m_connection->database());
    selectRows(q, columns.join(QStringLiteral(", ")), *parsed);
    QList<int> fieldsRead;
    for (RideField field : fields)
        fieldsRead << fieldIndex(field);
    QVector<RideRow> rows;
    while (q.next()) {
        RideRow row;
        DamagedFields damaged;
        row[fieldIndex(RideField::id)] = q.value(0).toInt();
        for (int i = 0; i < fields.size(); ++i) {
            const QVariant stored = q.value(i + 1);
            if (std::optional<QVariant> value = fromStore(fields.at(i), stored))
                row[fieldsRead.at(i)] = std::move(*value);
            else
                damaged.insert(fieldsRead.at(i), stored);
        }
        noteDamage(q.value(0), damaged, fieldsRead);
        rows.append(std::move(row));
    }
    if (version >= 0) {
        m_peeked.prepend(
            {text, fields, m_filtered, version, m_localWrites, m_connection->rollbacks(), rows});
        while (m_peeked.size() > 4)
            m_peeked.removeLast();
    }
    return rows;
}

RideRow ADOTable::readRow(const QSqlQuery& query, qint64* version, DamagedFields* damaged)
{
    RideRow row;
    for (int i = 0; i < rideFieldCount; ++i) {
        const QVariant stored = query.value(i);
        if (std::optional<QVariant> value = fromStore(static_cast<RideField>(i), stored))
            row[i] = std::move(*value);
        else
            damaged->insert(i, stored);
    }
    *version = query.value(rideFieldCount).toLongLong();
    return row;
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
    return Msg::format(Msg::DamagedRow,
                       {QString::number(id), QDir::toNativeSeparators(m_connection->filePath()),
                        fieldName(static_cast<RideField>(field)), shown}) +
           QLatin1Char(' ') +
           Msg::format(Msg::DamagedRidesShown, {QString::number(m_damaged.size())});
}

bool ADOTable::passesFilter(const RideRow& row) const
{
    return passes(row, m_filter, m_filtered);
}

bool ADOTable::passes(const RideRow& row, const RideFilter& filter, bool filtered)
{
    if (!filtered)
        return true;
    if (filter.isEmpty())
        return false;
    if (row[fieldIndex(RideField::user)].toString() != filter.user)
        return false;
    if (filter.year && row[fieldIndex(RideField::year)] != QVariant(*filter.year))
        return false;
    if (filter.month && row[fieldIndex(RideField::month)] != QVariant(*filter.month))
        return false;
    return true;
}

void ADOTable::keepCachedSetsWritten(const RideRow* before, const RideRow* after, qint64 version)
{
    const int idAt = fieldIndex(RideField::id);
    for (CachedSet& cached : m_cache) {
        // A set that missed an earlier write of ours stays stale.
        if (cached.localWrites + 1 != m_localWrites)
            continue;
        const bool had = before && passes(*before, cached.parsed, cached.filtered);
        const bool has = after && passes(*after, cached.parsed, cached.filtered);
        if (had) {
            const QVector<RideRow>& rows = std::as_const(cached.set.rows);
            const qsizetype at =
                std::lower_bound(rows.begin(), rows.end(), *before, rowLess) - rows.begin();
            if (at == rows.size() || rows.at(at)[idAt] != (*before)[idAt])
                continue; // not where it must be: the set is left stale
            cached.set.versions.remove((*before)[idAt].toInt());
            const int dateAt = fieldIndex(RideField::date);
            if (has && (*after)[dateAt] == (*before)[dateAt]) {
                // Same place in the order, as for every reading of the
                // recomputation: changed where it stands.
                cached.set.rows[at] = *after;
                cached.set.versions.insert((*after)[idAt].toInt(), version);
                cached.localWrites = m_localWrites;
                continue;
            }
            cached.set.rows.removeAt(at);
        }
        if (has) {
            const QVector<RideRow>& rows = std::as_const(cached.set.rows);
            const qsizetype at =
                std::upper_bound(rows.begin(), rows.end(), *after, rowLess) - rows.begin();
            cached.set.rows.insert(at, *after);
            cached.set.versions.insert((*after)[idAt].toInt(), version);
        }
        cached.localWrites = m_localWrites;
    }
}

int ADOTable::positionFor(const RideRow& row) const
{
    return int(std::upper_bound(m_rows.begin(), m_rows.end(), row, rowLess) - m_rows.begin());
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
    // A kept set that no other connection has written to since is what
    // the store holds: it stands for the read.
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
