#pragma once

#include "toolkit/ControlProperties.h"

#include "store/RideFields.h"
#include "store/ValueList.h"

#include <QComboBox>
#include <QStringList>

class DataSource;
class FieldLink;

// An editable drop-down list bound to one text field of the ride table's
// current row. The items are texts to pick from; the field receives the
// stored form of the text that stands in the box, picked or typed, never the
// item's position. The items are shown in the current language (the
// translated Items) and stored as the program's own list has them. A field
// whose text is no item shows that text all the same.
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

    // The texts stored for the items; the items show them until a language
    // gives texts of its own.
    void setValues(const QStringList& stored);
    const ValueList& valueList() const;
    // The items as shown.
    QStringList items() const;
    // The items' texts in the current language; the box goes on showing the
    // value it showed, in the new texts.
    void setItems(const QStringList& items);
    // Puts a text into the box as the user would; it reaches the field when
    // the table asks for the controls' values.
    void setFieldText(const QString& text);

    bool fieldModified() const;
    void showField();
    void writeField();

private:
    void showText(const QString& text);
    // Lists the items and shows this stored value in their texts.
    void fill(const QString& value);

    FieldLink* m_link;
};
