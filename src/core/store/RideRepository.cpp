#include "store/RideRepository.h"

#include "base/RydexError.h"
#include "store/ADOConnection.h"
#include "store/RideStorage.h"
#include "store/StoreEngine.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {
QList<int> everyField()
{
    QList<int> fields;
    for (int i = 0; i < rideFieldCount; ++i)
        fields << i;
    return fields;
}

bool passes(const RideRow& row, const RideFilter& filter, bool filtered)
{
    return !filtered || filter.selects(row);
}

// How many sets of every field, and narrow reads, are kept: the statistics
// switch between a month, its year and the cyclist's rides.
constexpr qsizetype keptSets = 6;
constexpr qsizetype keptNarrowReads = 4;
} // namespace

RideRepository::RideRepository(ADOConnection& connection)
    : m_connection(connection), m_caching(cachingWanted())
{
}

RideRepository::~RideRepository() = default;

bool RideRepository::cachingWanted()
{
    // Read once: the switch is the program's, for the whole run.
    static const bool wanted = qEnvironmentVariable("RYDEX_RIDE_CACHE")
                                   .compare(QLatin1String("off"), Qt::CaseInsensitive) != 0;
    return wanted;
}

void RideRepository::setCaching(bool on)
{
    m_caching = on;
    if (!on)
        forgetKept();
}

RideRepository::ChangeCount RideRepository::changeCount() const
{
    ChangeCount count;
    count.writes = m_writes;
    count.rollbacks = m_connection.rollbacks();
    QSqlQuery q(m_connection.database());
    if (q.exec(m_connection.engine().changeCounter()) && q.next())
        count.store = q.value(0).toLongLong();
    return count;
}

// The one rule for everything kept: it stands for a read of the store while
// the store's change count is what it was when it was kept. Another
// connection's commit moves the engine's counter; our own writes and
// rollbacks move ours. Our writes are applied to the kept sets as they are
// made (keepWritten), which moves a set's count along with them; a rollback
// makes everything kept stale, since none of it may hold rows that are not
// stored. When the engine does not answer, nothing counts as kept.
bool RideRepository::stillValid(const ChangeCount& kept, const ChangeCount& now)
{
    return now.store >= 0 && kept == now;
}

const RideRepository::RideSet* RideRepository::keptSet(const RideFilter& filter, bool filtered,
                                                       const ChangeCount& now) const
{
    for (const KeptSet& kept : m_kept) {
        if (kept.filter == filter && kept.filtered == filtered && stillValid(kept.count, now))
            return &kept.set;
    }
    return nullptr;
}

void RideRepository::select(QSqlQuery& q, const QString& columns, const RideFilter& filter,
                            bool filtered) const
{
    const std::optional<int> year = filter.yearSelected();
    const std::optional<int> month = filter.monthSelected();
    QString sql = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM rydex");
    if (filtered) {
        sql += QStringLiteral(" WHERE \"user\" = :user");
        if (year)
            sql += QStringLiteral(" AND \"year\" = :year");
        if (month)
            sql += QStringLiteral(" AND \"month\" = :month");
    }
    sql += QStringLiteral(" ORDER BY \"date\", \"id\"");
    readAgainIfLost(q, [&] {
        q.setForwardOnly(true);
        m_connection.prepare(q, sql);
        if (filtered) {
            q.bindValue(QStringLiteral(":user"), filter.cyclistName());
            if (year)
                q.bindValue(QStringLiteral(":year"), *year);
            if (month)
                q.bindValue(QStringLiteral(":month"), *month);
        }
        m_connection.exec(q);
    });
}

void RideRepository::readAgainIfLost(QSqlQuery& q, const std::function<void()>& read) const
{
    m_connection.reconnectIfLost();
    try {
        read();
    } catch (const RydexError&) {
        // A server restarted while the program stood idle: a read outside
        // a transaction is simply made again on a new connection.
        if (!m_connection.lost() || m_connection.inTransaction())
            throw;
        m_connection.reconnectIfLost();
        q = QSqlQuery(m_connection.database());
        read();
    }
}

RideRepository::RideSet RideRepository::rides(const RideFilter& filter, bool filtered,
                                              const DamageNote& note)
{
    const ChangeCount now = m_caching ? changeCount() : ChangeCount{};
    if (m_caching) {
        if (const RideSet* kept = keptSet(filter, filtered, now)) {
            ++m_readsFromKept;
            return *kept;
        }
    }
    QSqlQuery q(m_connection.database());
    select(q, selectList(), filter, filtered);
    RideSet set;
    const QList<int> fieldsRead = everyField();
    while (q.next()) {
        qint64 rowVersion = 0;
        DamagedFields damaged;
        set.rows.append(readRow(q, &rowVersion, &damaged));
        const QVariant id = set.rows.last()[fieldIndex(RideField::id)];
        set.versions.insert(id.toInt(), rowVersion);
        note(id, damaged, fieldsRead);
    }
    if (m_caching && now.store >= 0) {
        m_kept.prepend({filter, filtered, now, set});
        while (m_kept.size() > keptSets)
            m_kept.removeLast();
    }
    return set;
}

QVector<RideRow> RideRepository::ridesWith(const RideFilter& filter, bool filtered,
                                           const QList<RideField>& fields, const DamageNote& note)
{
    const ChangeCount now = m_caching ? changeCount() : ChangeCount{};
    if (m_caching) {
        if (const RideSet* kept = keptSet(filter, filtered, now)) {
            ++m_readsFromKept;
            return kept->rows;
        }
        for (const KeptNarrow& kept : std::as_const(m_keptNarrow)) {
            if (kept.filter == filter && kept.fields == fields && kept.filtered == filtered &&
                stillValid(kept.count, now)) {
                ++m_readsFromKept;
                return kept.rows;
            }
        }
    }
    // A narrow read: the year's figures need a column or two of a few
    // hundred rides, not every column of each.
    QStringList columns{quotedName(RideField::id)};
    for (RideField field : fields)
        columns << quotedName(field);
    QSqlQuery q(m_connection.database());
    select(q, columns.join(QStringLiteral(", ")), filter, filtered);
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
        note(q.value(0), damaged, fieldsRead);
        rows.append(std::move(row));
    }
    if (m_caching && now.store >= 0) {
        m_keptNarrow.prepend({filter, fields, filtered, now, rows});
        while (m_keptNarrow.size() > keptNarrowReads)
            m_keptNarrow.removeLast();
    }
    return rows;
}

RideRow RideRepository::readRow(const QSqlQuery& query, qint64* version, DamagedFields* damaged)
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

std::optional<RideRow> RideRepository::ride(const QVariant& id, qint64* version,
                                            DamagedFields* damaged)
{
    m_connection.reconnectIfLost();
    if (!m_rideQuery) {
        auto query = std::make_unique<QSqlQuery>(m_connection.database());
        query->setForwardOnly(true);
        m_connection.prepare(*query, QStringLiteral("SELECT ") + selectList() +
                                         QStringLiteral(" FROM rydex WHERE \"id\" = ?"));
        m_rideQuery = std::move(query);
    }
    QSqlQuery& q = *m_rideQuery;
    q.bindValue(0, id);
    m_connection.exec(q);
    std::optional<RideRow> row;
    if (q.next())
        row = readRow(q, version, damaged);
    q.finish();
    return row;
}

int RideRepository::insert(const RideRow& row)
{
    if (!m_insertQuery) {
        QStringList names;
        QStringList holders;
        for (int i = 1; i < rideFieldCount; ++i) {
            names << quotedName(static_cast<RideField>(i));
            holders << QStringLiteral("?");
        }
        auto query = std::make_unique<QSqlQuery>(m_connection.database());
        m_connection.prepare(
            *query, QStringLiteral("INSERT INTO rydex (") + names.join(QStringLiteral(", ")) +
                        QStringLiteral(") VALUES (") + holders.join(QStringLiteral(", ")) +
                        QStringLiteral(")") + m_connection.engine().returningId());
        m_insertQuery = std::move(query);
    }
    QSqlQuery& q = *m_insertQuery;
    for (int i = 1; i < rideFieldCount; ++i)
        q.bindValue(i - 1, toStore(static_cast<RideField>(i), row[i]));
    m_connection.exec(q);
    ++m_writes;
    // An engine that answers the id as a row of the insert, or the driver's.
    const int id = q.next() ? q.value(0).toInt() : q.lastInsertId().toInt();
    q.finish();
    return id;
}

QSqlQuery& RideRepository::preparedUpdate(const QList<int>& fields)
{
    std::unique_ptr<QSqlQuery>& slot = m_updateQueries[fields];
    if (slot)
        return *slot;
    QStringList sets;
    for (int i : fields)
        sets << quotedName(static_cast<RideField>(i)) + QStringLiteral(" = ?");
    sets << QStringLiteral("\"version\" = \"version\" + 1");
    auto query = std::make_unique<QSqlQuery>(m_connection.database());
    try {
        m_connection.prepare(*query, QStringLiteral("UPDATE rydex SET ") +
                                         sets.join(QStringLiteral(", ")) +
                                         QStringLiteral(" WHERE \"id\" = ? AND \"version\" = ?"));
    } catch (...) {
        m_updateQueries.erase(fields);
        throw;
    }
    slot = std::move(query);
    return *slot;
}

bool RideRepository::update(const QVariant& id, qint64 version, const RideRow& row,
                            const QList<int>& fields)
{
    QSqlQuery& q = preparedUpdate(fields);
    int at = 0;
    for (int i : fields)
        q.bindValue(at++, toStore(static_cast<RideField>(i), row[i]));
    q.bindValue(at++, id);
    q.bindValue(at++, version);
    m_connection.exec(q);
    if (q.numRowsAffected() == 0)
        return false;
    ++m_writes;
    return true;
}

bool RideRepository::writeColumn(RideField field, const QVector<ColumnWrite>& writes,
                                 const std::function<void(qsizetype)>& beforeEach)
{
    const int at = fieldIndex(field);
    const QString sql = m_connection.engine().updateColumnOfMany(quotedName(field));
    if (sql.isEmpty()) {
        // An engine without a statement for many rows: one prepared update
        // each, which on a file costs next to nothing.
        for (qsizetype i = 0; i < writes.size(); ++i) {
            const ColumnWrite& write = writes.at(i);
            beforeEach(i);
            if (!update(write.before[fieldIndex(RideField::id)], write.version, write.after, {at}))
                return false;
            keepWritten(&write.before, &write.after, write.version + 1);
        }
        return true;
    }
    {
        // A server answers each statement across the network: the rows go
        // in one, as lists of ids, versions and values.
        QStringList ids, versions, values;
        for (qsizetype i = 0; i < writes.size(); ++i)
            beforeEach(i);
        for (const ColumnWrite& write : writes) {
            ids << QString::number(write.before[fieldIndex(RideField::id)].toLongLong());
            versions << QString::number(write.version);
            const QVariant stored = toStore(field, write.after[at]);
            values << (stored.isNull() ? QStringLiteral("NULL")
                                       : QString::number(stored.toLongLong()));
        }
        const auto list = [](const QStringList& items) {
            return QLatin1Char('{') + items.join(QLatin1Char(',')) + QLatin1Char('}');
        };
        QSqlQuery q(m_connection.database());
        m_connection.prepare(q, sql);
        q.addBindValue(list(ids));
        q.addBindValue(list(versions));
        q.addBindValue(list(values));
        m_connection.exec(q);
        if (q.numRowsAffected() != writes.size())
            return false;
    }
    for (const ColumnWrite& write : writes) {
        ++m_writes;
        keepWritten(&write.before, &write.after, write.version + 1);
    }
    return true;
}

bool RideRepository::remove(const QVariant& id, qint64 version)
{
    QSqlQuery q(m_connection.database());
    m_connection.prepare(q,
                         QStringLiteral("DELETE FROM rydex WHERE \"id\" = ? AND \"version\" = ?"));
    q.addBindValue(id);
    q.addBindValue(version);
    m_connection.exec(q);
    if (q.numRowsAffected() == 0)
        return false;
    ++m_writes;
    return true;
}

void RideRepository::keepWritten(const RideRow* before, const RideRow* after, qint64 version)
{
    const int idAt = fieldIndex(RideField::id);
    const int dateAt = fieldIndex(RideField::date);
    for (KeptSet& kept : m_kept) {
        // A set that missed an earlier write of ours stays stale.
        if (kept.count.writes + 1 != m_writes)
            continue;
        const bool had = before && passes(*before, kept.filter, kept.filtered);
        const bool has = after && passes(*after, kept.filter, kept.filtered);
        if (had) {
            const QVector<RideRow>& rows = std::as_const(kept.set.rows);
            const qsizetype at =
                std::lower_bound(rows.begin(), rows.end(), *before, rideListedBefore) -
                rows.begin();
            if (at == rows.size() || rows.at(at)[idAt] != (*before)[idAt])
                continue; // not where it must be: the set is left stale
            kept.set.versions.remove((*before)[idAt].toInt());
            if (has && (*after)[dateAt] == (*before)[dateAt]) {
                // Same place in the order, as for every reading of the
                // recomputation: changed where it stands.
                kept.set.rows[at] = *after;
                kept.set.versions.insert((*after)[idAt].toInt(), version);
                kept.count.writes = m_writes;
                continue;
            }
            kept.set.rows.removeAt(at);
        }
        if (has) {
            const QVector<RideRow>& rows = std::as_const(kept.set.rows);
            const qsizetype at =
                std::upper_bound(rows.begin(), rows.end(), *after, rideListedBefore) - rows.begin();
            kept.set.rows.insert(at, *after);
            kept.set.versions.insert((*after)[idAt].toInt(), version);
        }
        kept.count.writes = m_writes;
    }
}

void RideRepository::writeClaimed(qint64 before, qint64 after)
{
    for (KeptSet& kept : m_kept) {
        if (kept.count.store == before)
            kept.count.store = after;
    }
    for (KeptNarrow& kept : m_keptNarrow) {
        if (kept.count.store == before)
            kept.count.store = after;
    }
}

void RideRepository::forgetKept()
{
    m_kept.clear();
    m_keptNarrow.clear();
}

void RideRepository::release()
{
    forgetKept();
    m_insertQuery.reset();
    m_rideQuery.reset();
    m_updateQueries.clear();
}

int RideRepository::count(const QSqlDatabase& store)
{
    QSqlQuery q(store);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM rydex")) || !q.next())
        throw RydexError(q.lastError().text(), RydexError::Kind::Store);
    return q.value(0).toInt();
}

QHash<QByteArray, int> RideRepository::importedFiles(const QString& cyclist)
{
    QHash<QByteArray, int> files;
    for (const ImportEntry& entry : importEntries(cyclist))
        files.insert(entry.sha256, entry.rideId);
    return files;
}

void RideRepository::addImport(const QByteArray& sha256, int rideId, const QString& fileName,
                               const QDateTime& importedAt)
{
    // Hex, so that the entries read plainly in any database tool.
    QSqlQuery q(m_connection.database());
    m_connection.prepare(
        q,
        QStringLiteral("INSERT INTO imports (sha256, ride, file, imported) VALUES (?, ?, ?, ?)"));
    q.addBindValue(QString::fromLatin1(sha256.toHex()));
    q.addBindValue(rideId);
    q.addBindValue(fileName);
    q.addBindValue(importedAt.toString(Qt::ISODate));
    m_connection.exec(q);
}

QVector<RideRepository::ImportEntry> RideRepository::importEntries(const QString& cyclist)
{
    // Through the ride table: an entry whose ride is gone (a copy without
    // the trigger deleted it) or is another cyclist's keeps nothing out.
    QSqlQuery q(m_connection.database());
    q.setForwardOnly(true);
    m_connection.prepare(q, QStringLiteral("SELECT i.sha256, i.ride, i.file, i.imported"
                                           " FROM imports AS i JOIN rydex AS r ON r.id = i.ride"
                                           " WHERE r.\"user\" = ? ORDER BY i.") +
                                m_connection.engine().insertionOrder());
    q.addBindValue(cyclist);
    m_connection.exec(q);
    QVector<ImportEntry> entries;
    while (q.next()) {
        // Written as ISO text; an engine with a time type of its own answers
        // a time.
        const QVariant imported = q.value(3);
        entries.append({QByteArray::fromHex(q.value(0).toString().toLatin1()), q.value(1).toInt(),
                        q.value(2).toString(),
                        imported.typeId() == QMetaType::QDateTime
                            ? imported.toDateTime()
                            : QDateTime::fromString(imported.toString(), Qt::ISODate)});
    }
    return entries;
}
