#pragma once

#include "toolkit/ControlProperties.h"

#include "store/RideFields.h"

#include <QComboBox>
#include <QStringList>

class DataSource;
class FieldLink;

// An editable drop-down list bound to one text field of the ride table's
// current row. The items are texts to pick from; the field receives whatever
// text stands in the box, picked or typed, never the item's position. A
// field whose text is no item shows that text all the same.
class DBComboBox : public QComboBox
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QStringList Items READ items WRITE setItems)
    Q_PROPERTY(QString Text READ currentText WRITE setFieldText)

public:
    DBComboBox(const QString& name, RideField field, QWidget* parent = nullptr);

    RideField field() const;
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;

    QStringList items() const;
    // Replaces the items; the text in the box stays as it is.
    void setItems(const QStringList& items);
    // Puts a text into the box as the user would; it reaches the field when
    // the table asks for the controls' values.
    void setFieldText(const QString& text);

    bool fieldModified() const;
    void showField();
    void writeField();

private:
    void showText(const QString& text);

    FieldLink* m_link;
};
