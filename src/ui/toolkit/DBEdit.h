#pragma once

#include "toolkit/ControlProperties.h"

#include "store/RideFields.h"

#include <QLineEdit>

class DataSource;
class FieldLink;

// A one-line edit bound to one field of the ride table's current row. While
// the table holds a pending row it shows the field in its edit form ("#.##"
// for decimals) and the user may change it; otherwise it shows the display
// form ("0.00"). What was typed reaches the row when the table asks for it
// (update record, post).
class DBEdit : public QLineEdit
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)

public:
    DBEdit(const QString& name, RideField field, QWidget* parent = nullptr);

    RideField field() const;
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;

    // Whether the text was changed (typed or set in code) since the field was
    // last shown.
    bool fieldModified() const;
    // Shows the field afresh, dropping a changed text.
    void showField();
    // Writes a changed text into the pending row; throws RydexError
    // (Conversion) when the field cannot take it.
    void writeField();

protected:
    // How the field is shown and how the text is written back.
    virtual void loadText();
    virtual void storeText();
    FieldLink* link() const { return m_link; }
    void focusInEvent(QFocusEvent* event) override;

private:
    FieldLink* m_link;
};
