#pragma once

#include "toolkit/ControlProperties.h"

#include "store/RideFields.h"
#include "store/ValueList.h"

#include <QGroupBox>
#include <QStringList>

class DataSource;
class FieldLink;
class QButtonGroup;
class QRadioButton;

// A captioned group of radio buttons, laid out in columns, bound to one text
// field of the ride table's current row: the field receives the stored text
// of the chosen item, whatever language its button is captioned in. A field
// whose text equals no item exactly (letter case counts) shows no item
// chosen.
class DBRadioGroup : public QGroupBox
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ title WRITE setTitle)
    Q_PROPERTY(QStringList Items READ items WRITE setItems)
    Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)
    Q_PROPERTY(int Columns READ columns WRITE setColumns)

public:
    DBRadioGroup(const QString& name, RideField field, QWidget* parent = nullptr);

    RideField field() const;
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;

    // The texts stored for the items; the buttons show them until a language
    // gives texts of its own.
    void setValues(const QStringList& stored);
    const ValueList& valueList() const;
    // The buttons' captions.
    QStringList items() const;
    // The items' texts in the current language. New items keep the chosen
    // position when it still exists.
    void setItems(const QStringList& items);
    int columns() const { return m_columns; }
    void setColumns(int columns);
    // The chosen item, -1 for none. Choosing in code counts as the user's
    // choice; the field receives it when the table asks for the values.
    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* button(int index) const;

    bool fieldModified() const;
    void showField();
    void writeField();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void check(int index);
    void arrange();
    void setList(const ValueList& list);

    FieldLink* m_link;
    QButtonGroup* m_group;
    QList<QRadioButton*> m_buttons;
    int m_columns = 1;
};
