#pragma once

#include "store/RideFields.h"
#include "store/RideFilter.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QVector>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class ADOConnection;
class QSqlDatabase;
class QSqlQuery;

// Every statement on the rides (`rydex`) and on `imports`, and the sets of
// rides kept for reuse. The cursor decides what a read or a write means for
// the user; this class only says it to the store, so that a second database
// engine needs a second wording of these statements and nothing else.
// Statements throw RydexError with the engine's text when the store refuses
// them; writes run in the transaction in force.
class RideRepository
{
public:
    // Field index to the value stored in it, for the fields of one ride
    // whose stored value the field cannot hold.
    using DamagedFields = QHash<int, QVariant>;
    // Told, for each ride a read of the store found, its id, what was
    // damaged and which fields were read.
    using DamageNote =
        std::function<void(const QVariant& id, const DamagedFields& found, const QList<int>& read)>;
    struct RideSet
    {
        QVector<RideRow> rows;
        // The version of each row as read, by id.
        QHash<int, qint64> versions;
    };

    explicit RideRepository(ADOConnection& connection);
    ~RideRepository();
    RideRepository(const RideRepository&) = delete;
    RideRepository& operator=(const RideRepository&) = delete;

    // Whether the program keeps sets for reuse: not when the environment
    // variable RYDEX_RIDE_CACHE is "off" at start-up.
    static bool cachingWanted();
    // Off, every read goes to the store and nothing is kept.
    void setCaching(bool on);
    bool caching() const { return m_caching; }
    // How many reads a kept set or a kept narrow read stood for.
    quint64 readsFromKept() const { return m_readsFromKept; }

    // The rides the filter selects (every ride when not filtered), in their
    // order, every field read, with their versions.
    RideSet rides(const RideFilter& filter, bool filtered, const DamageNote& note);
    // The same rides with only the given fields (and the id) read, the
    // others left empty; a kept set of every field serves as well.
    QVector<RideRow> ridesWith(const RideFilter& filter, bool filtered,
                               const QList<RideField>& fields, const DamageNote& note);
    // The ride as stored now and its version; nothing when it is gone.
    std::optional<RideRow> ride(const QVariant& id, qint64* version, DamagedFields* damaged);

    // Stores a new ride (its id ignored) and answers its id.
    int insert(const RideRow& row);
    // Writes these fields of the ride when the store still holds it at that
    // version (which the write raises); false when another copy overtook it.
    bool update(const QVariant& id, qint64 version, const RideRow& row, const QList<int>& fields);
    // One field of many rides, each as read (before, at version) and to be
    // (after); all written, and kept, or none: false when another copy
    // overtook one of them.
    struct ColumnWrite
    {
        RideRow before;
        RideRow after;
        qint64 version;
    };
    // beforeEach is told the place in writes of each ride about to be written.
    bool writeColumn(RideField field, const QVector<ColumnWrite>& writes,
                     const std::function<void(qsizetype)>& beforeEach);
    // Deletes the ride when the store still holds it at that version.
    bool remove(const QVariant& id, qint64 version);
    // Our own write of a ride, applied to the kept sets so that they stay
    // what a read of the store would give; before and after are the ride as
    // it was and is stored (none for an insert, a delete).
    void keepWritten(const RideRow* before, const RideRow* after, qint64 version);

    // Our own write transaction moved the engine's change counter from
    // before to after (an engine whose counter counts our commits too):
    // what was kept at before still stands for the store.
    void writeClaimed(qint64 before, qint64 after);

    // Drops the kept sets; the next read goes to the store.
    void forgetKept();
    // Drops the kept sets and the prepared statements: the connection closes.
    void release();

    // The contents imported before for the cyclist's rides still stored, to
    // the ride each gave.
    QHash<QByteArray, int> importedFiles(const QString& cyclist);
    void addImport(const QByteArray& sha256, int rideId, const QString& fileName,
                   const QDateTime& importedAt);
    // Every entry of the cyclist's rides still stored, in the order they
    // were made: the content, the ride, the file's name and the time.
    struct ImportEntry
    {
        QByteArray sha256;
        int rideId = 0;
        QString fileName;
        QDateTime importedAt;
    };
    QVector<ImportEntry> importEntries(const QString& cyclist);

    // How many rides a store holds, on a connection of its own too (a store
    // not open for work is counted read-only before a restore replaces it).
    static int count(const QSqlDatabase& store);

private:
    // Where the store stood when something was read from it: the engine's
    // counter of other connections' commits and our own counters of writes
    // and rollbacks. No engine counts the writes of the connection itself.
    struct ChangeCount
    {
        qint64 store = -1;
        quint64 writes = 0;
        quint64 rollbacks = 0;
        bool operator==(const ChangeCount&) const = default;
    };
    ChangeCount changeCount() const;
    static bool stillValid(const ChangeCount& kept, const ChangeCount& now);
    struct KeptSet
    {
        RideFilter filter;
        bool filtered;
        ChangeCount count;
        RideSet set;
    };
    struct KeptNarrow
    {
        RideFilter filter;
        QList<RideField> fields;
        bool filtered;
        ChangeCount count;
        QVector<RideRow> rows;
    };
    const RideSet* keptSet(const RideFilter& filter, bool filtered, const ChangeCount& now) const;
    // Runs the select of the rows a filter selects with the given columns.
    void select(QSqlQuery& query, const QString& columns, const RideFilter& filter,
                bool filtered) const;
    // Runs a read; when the server connection turned out lost, opens it
    // again and runs the read once more on a new query.
    void readAgainIfLost(QSqlQuery& q, const std::function<void()>& read) const;
    QSqlQuery& preparedUpdate(const QList<int>& fields);
    static RideRow readRow(const QSqlQuery& query, qint64* version, DamagedFields* damaged);

    ADOConnection& m_connection;
    bool m_caching;
    quint64 m_writes = 0;
    quint64 m_readsFromKept = 0;
    QList<KeptSet> m_kept;
    QList<KeptNarrow> m_keptNarrow;
    std::unique_ptr<QSqlQuery> m_insertQuery;
    std::unique_ptr<QSqlQuery> m_rideQuery;
    // By the fields they write: the recomputation writes one field of every
    // ride of a year in a row.
    std::map<QList<int>, std::unique_ptr<QSqlQuery>> m_updateQueries;
};
