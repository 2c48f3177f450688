#pragma once

#include "toolkit/ControlProperties.h"

#include "store/RideFields.h"

#include <QPlainTextEdit>
#include <optional>

class DataSource;
class FieldLink;

// A multi-line edit bound to one text field of the ride table's current row
// (the note). Tab leaves it, as in every other edit of a form.
//
// The field is put into the edit only while the edit is in use, and only when
// it differs from what the edit holds: laying out a long note is costly, and
// the record dialog sits hidden, unused, while the table moves through every
// statistics walk of a sign-in or a change of month.
class DBMemoEdit : public QPlainTextEdit
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ fieldText WRITE setFieldText)

public:
    DBMemoEdit(const QString& name, RideField field, QWidget* parent = nullptr);

    RideField field() const;
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;

    // Puts a text into the memo as the user would.
    void setFieldText(const QString& text);
    // What the memo shows, or will show once it is in use.
    QString fieldText() const;
    // In use while its window is opened or shown; out of use it keeps the
    // field's text aside and takes it when it comes into use again.
    void setInUse(bool inUse);

    bool fieldModified() const;
    void showField();
    void writeField();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showText(const QString& text);

    FieldLink* m_link;
    bool m_inUse = false;
    std::optional<QString> m_pending;
};
