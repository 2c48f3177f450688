#pragma once

#include "toolkit/ControlProperties.h"

#include "toolkit/DBEdit.h"

class QValidator;

// The duration edit: a DBEdit with the field's edit mask "!90:00:00;1;_",
// an optional hour digit and a required one, two digits each of minutes and
// seconds, the separators always in place and "_" in every empty position.
// A single hour digit stands right-aligned ("_1:20:00"), as the mask's "!"
// asks, so "1:20:00" and "12:30:00" can both be typed as they are read. The
// mask applies while the table holds a pending row; otherwise the field's
// display form ("1:20:00") is shown. A mask with no digit in it empties the
// field.
class DBTimeEdit : public DBEdit
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString EditMask READ editMask)

public:
    DBTimeEdit(const QString& name, RideField field, QWidget* parent = nullptr);

    // The field's mask in the notation the program's formats are written in.
    QString editMask() const { return QStringLiteral("!90:00:00;1;_"); }

    // The masked text with a lone hour digit moved to the right place:
    // "1_:20:00" becomes "_1:20:00".
    static QString rightAlignedHour(const QString& masked);
    // Whether a masked text has a digit in every required position.
    static bool complete(const QString& masked);
    // Whether a masked text has no digit at all.
    static bool blank(const QString& masked);

protected:
    void loadText() override;
    void storeText() override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void alignHour(bool leftTheHour);
    void useMask(bool on);

    QValidator* m_validator = nullptr;
};
