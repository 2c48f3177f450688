#pragma once

#include "store/RideFields.h"
#include "store/ValueList.h"

#include <QObject>
#include <QPointer>
#include <functional>

class ADOTable;
class DataSource;

// What ties one edit control to one field of the ride table's current row.
// The control says how it shows the field and how it writes its text back;
// the link calls the first whenever the table moves, changes state or reads
// its rows again, and the second when the table asks for the controls' values
// (update record, post) - but only when the control's text was changed since
// it was last shown, so an untouched control never rewrites its field in its
// own (rounded, edit) form.
class FieldLink : public QObject
{
    Q_OBJECT

public:
    FieldLink(RideField field, QObject* control);

    RideField field() const { return m_field; }
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    ADOTable* table() const;
    // The table holds a pending row (insert or edit state).
    bool editing() const;

    void setShow(std::function<void()> show) { m_show = std::move(show); }
    void setWrite(std::function<void()> write) { m_write = std::move(write); }

    // The control calls this when its text changes; changes made while the
    // field is being shown do not count.
    void textChanged();
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    bool loading() const { return m_loading; }

    // Shows the field of the current (or pending) row afresh.
    void showField();
    // Writes the control's text into the pending row when it was changed.
    // Throws RydexError (Conversion) when the field cannot take the text; the
    // control then keeps its text and stays changed.
    void writeField();

    // Writes a text into the field: an empty text empties it.
    void writeText(const QString& text);

    // The list the control picks the field's text from, lent to the data
    // source whenever it or the source changes.
    const ValueList& valueList() const { return m_list; }
    void setValueList(const ValueList& list);

private:
    RideField m_field;
    QPointer<DataSource> m_source;
    QMetaObject::Connection m_connections[5];
    std::function<void()> m_show;
    std::function<void()> m_write;
    ValueList m_list;
    bool m_hasList = false;
    bool m_modified = false;
    bool m_loading = false;
};
