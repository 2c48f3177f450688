#pragma once

#include "store/RideFields.h"
#include "store/RideFilter.h"
#include "store/RideRepository.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QObject>
#include <QTime>
#include <QVector>
#include <functional>

class ADOConnection;

// The one cursor over the rides of `rydex` that pass the current filter,
// ordered by date, then id. The rows of the filter are held in memory; every
// post and delete is written through to the store at once.
//
// Cursor operations throw RydexError with the engine's text when the store
// refuses them; the caller decides what the user sees. A stored value that
// its field cannot hold (another tool wrote it) is read as an empty field
// and remembered with the ride, so that the ride can still be shown,
// corrected or deleted; the value is never written back unless the field is
// changed.
//
// Another running copy of the program may write to the same store. Every row
// carries a version that each write raises. A post writes only the fields
// that changed, and only when the store still holds in them what was read:
// a change another copy made to other fields of the ride is kept. A post
// that would overwrite a field another copy changed, and a delete of a ride
// that was changed since it was read, write nothing, read the set again (so
// the table shows what is stored) and throw RydexError (Conflict). A post or
// delete of a ride another copy deleted is refused alike.
class ADOTable : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Filter READ filter)
    Q_PROPERTY(bool Filtered READ isFiltered WRITE setFiltered)
    Q_PROPERTY(bool Active READ isOpen)
    Q_PROPERTY(QString TableName READ tableName)

public:
    enum class State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    explicit ADOTable(ADOConnection* connection, QObject* parent = nullptr);
    ~ADOTable() override;

    ADOConnection* connection() const { return m_connection; }
    QString tableName() const { return QStringLiteral("rydex"); }

    // Opening opens the connection too; opening what is open changes nothing.
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    // The filter in force, worded as the program always worded it.
    QString filter() const { return m_filter.text(); }
    const RideFilter& rideFilter() const { return m_filter; }
    // The filter in force changes nothing. Another one finishes the row
    // being edited (posted when modified, dropped otherwise), selects the
    // new set and makes its first row current. On a closed table the filter
    // is kept for the next open.
    void setFilter(const RideFilter& filter);
    bool isFiltered() const { return m_filtered; }
    void setFiltered(bool on);

    // Movement. With an empty set every move leaves the cursor at bof/eof.
    void first();
    void next();
    void prior();
    void last();
    bool findFirst();
    bool isEof() const { return m_eof; }
    bool isBof() const { return m_bof; }
    int recordCount() const { return int(m_rows.size()); }
    // The current row's index in the set, -1 with an empty set.
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);

    // Editing.
    void insert();
    void edit();
    // Asks the bound controls to write their texts into the row being edited.
    void updateRecord();
    void post();
    void cancel();
    bool isModified() const { return m_modified; }
    void deleteRecord();
    // Stores new rides (their ids ignored) with the one prepared insert, in
    // the transaction in force or one of its own, and answers their ids in
    // order. The sets kept for reuse learn of them, but the set shown and
    // its current row stay as they are until the caller refreshes, once for
    // all of them. When one is refused nothing of them is stored and, when
    // given, failedAt tells which it was.
    QVector<int> insertRows(const QVector<RideRow>& rows, int* failedAt = nullptr);
    // Gives one field of every row of the set shown the value at its place
    // (values has a value for each row), in the transaction in force or one
    // of its own: the rows whose stored value differs are written together,
    // each only at the version read. When another copy changed one of them
    // nothing is written and the user is told, as for a Save. beforeRow is
    // told the place of each row about to be written, for a progress display.
    void writeColumn(RideField field, const QVector<QVariant>& values,
                     const std::function<void(int row)>& beforeRow = {});
    // Finishes the row being edited, then reads the set again from the store
    // (a kept set no other connection has written to since stands for the
    // read), keeping the filter, the order and, where it is still there, the
    // current row.
    void refresh();

    // Drops the sets kept for reuse; the next read goes to the store.
    void forgetCachedSets();

    // The rows another filter selects, in its order, as setFilter() would
    // give them, without changing the set shown or its current row: the set
    // kept for that filter when there is one, else only the given fields
    // (and the id) read from the store, the other fields left empty. A row
    // being edited is finished first, as a change of filter would.
    QVector<RideRow> peekRows(const RideFilter& filter, const QList<RideField>& fields);

    // Bound controls stop following the cursor until enableControls(); the
    // calls come in pairs and nest. When the last pair closes, the controls
    // are told once to show the set afresh; or, with OnlyChanges, only when
    // the set or the current row changed meanwhile, so that a step that
    // failed without touching the table leaves the controls as the user left
    // them.
    enum class Reattach { Refresh, OnlyChanges };
    void disableControls();
    void enableControls(Reattach how = Reattach::Refresh);
    bool controlsDisabled() const { return m_disableCount > 0; }

    // Typed access to the current row, or to the row being edited.
    QVariant value(RideField field) const;
    bool isNull(RideField field) const { return value(field).isNull(); }
    QDateTime asDateTime(RideField field) const;
    QTime asTime(RideField field) const;
    int asInteger(RideField field) const;
    Fixed4 asFixed(RideField field) const;
    QString asString(RideField field) const;

    void setValue(RideField field, const QVariant& value);
    void setNull(RideField field) { setValue(field, QVariant()); }

    // The field's text as the grid shows it and as an edit control edits it,
    // in the given locale ("h:nn:ss" for durations, "0.00" for decimals when
    // shown, "#.##" when edited, the mask text for durations).
    QString displayText(RideField field, const QLocale& locale = QLocale()) const;
    QString editText(RideField field, const QLocale& locale = QLocale()) const;
    // Takes a text typed into a control; throws RydexError (Conversion) with
    // a message naming the field when the text cannot be taken.
    void setEditText(RideField field, const QString& text, const QLocale& locale = QLocale());

    // The rows of the set, for bound controls that show all of them.
    const QVector<RideRow>& rows() const { return m_rows; }
    const RideRow& rowAt(int index) const { return m_rows.at(index); }

    // Damaged stored values of the rides read since the table was opened:
    // whether a ride has one, the stored value of a field (invalid when it
    // is sound), and one message naming the first of them (ride, field,
    // value and file) with the number of damaged rides, empty when none.
    bool isDamaged(const QVariant& id) const;
    QVariant damagedValue(const QVariant& id, RideField field) const;
    QString damageReport() const;

    // Formatting shared with the bound controls.
    static QString displayText(RideField field, const QVariant& value, const QLocale& locale);
    static QString editText(RideField field, const QVariant& value, const QLocale& locale);

signals:
    // The whole set changed (open, close, filter, refresh, post, delete).
    void setChanged();
    // The current row moved.
    void currentChanged(int index);
    // The row at index changed in place (a post of an edited row).
    void rowChanged(int index);
    // Insert, edit, post, cancel.
    void stateChanged(ADOTable::State state);
    // Bound edit controls answer by writing their texts into the row.
    void updateRecordRequested();

private:
    void requireOpen() const;
    void requireRow() const;
    using DamagedFields = RideRepository::DamagedFields;
    RideRepository& rides() const;
    void loadSet();
    [[noreturn]] void conflict(const QVariant& id);
    // Runs write in a transaction of its own (or the one in force); write
    // answers false when another copy overtook the ride: nothing is kept
    // and conflict() reports it.
    void writeOrConflict(const QVariant& id, const std::function<bool()>& write);
    void finishEditing();
    void emitSetChanged();
    void emitCurrentChanged();
    void emitStateChanged();
    int positionFor(const RideRow& row) const;
    bool passesFilter(const RideRow& row) const;
    // Remembers what a read of these fields of a ride found damaged.
    void noteDamage(const QVariant& id, const DamagedFields& found, const QList<int>& fieldsRead);
    RideRepository::DamageNote damageNote();
    // Whether the store still holds in these fields what was read when the
    // edit began.
    bool unchangedSinceRead(const RideRow& stored, const DamagedFields& storedDamage,
                            const QList<int>& fields) const;
    void postUpdate(RideRow& row, const QList<int>& changed, qint64* version);

    ADOConnection* m_connection;
    RideFilter m_filter;
    bool m_filtered = true;
    State m_state = State::Inactive;
    QVector<RideRow> m_rows;
    QHash<int, qint64> m_versions;
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    RideRow m_buffer;
    // The row as read when the edit began, and its damaged values.
    RideRow m_original;
    DamagedFields m_originalDamage;
    // By ride id.
    QHash<int, DamagedFields> m_damaged;
    bool m_modified = false;
    int m_disableCount = 0;
    bool m_pendingSetChanged = false;
    bool m_pendingCurrentChanged = false;
};
