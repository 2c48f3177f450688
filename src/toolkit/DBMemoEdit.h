#pragma once

#include "store/RideFields.h"

#include <QPlainTextEdit>

class DataSource;
class FieldLink;

// A multi-line edit bound to one text field of the ride table's current row
// (the note). Tab leaves it, as in every other edit of a form.
class DBMemoEdit : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ toPlainText WRITE setFieldText)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)

public:
    DBMemoEdit(const QString& name, RideField field, QWidget* parent = nullptr);

    RideField field() const;
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;

    // Puts a text into the memo as the user would.
    void setFieldText(const QString& text);

    bool fieldModified() const;
    void showField();
    void writeField();

private:
    FieldLink* m_link;
};
