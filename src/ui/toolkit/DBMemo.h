#pragma once

#include "toolkit/ControlProperties.h"
#include "toolkit/PopupShortcuts.h"

#include "store/RideFields.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>

class DataSource;
class QMenu;

// A read-only multi-line view of one text field of the ride table's current
// row, with a popup menu whose shortcuts take precedence while it has the focus.
// A long text is shown in short paragraphs, so that only what is seen is laid
// out, and only when it changed: the table tells its controls about every
// walk of the statistics.
class DBMemo : public QPlainTextEdit
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES

public:
    DBMemo(const QString& name, RideField field, QWidget* parent = nullptr);
    void setDataSource(DataSource* source);
    void setPopupMenu(QMenu* menu) { m_popup->setMenu(menu); }
    QMenu* popupMenu() const { return m_popup->menu(); }

private:
    void showCurrent();
    void showText(const QString& text);

    RideField m_field;
    // The field's text as last shown.
    QString m_shown;
    QPointer<DataSource> m_source;
    ControlPopup* m_popup = nullptr;
};
