#pragma once

#include "toolkit/ControlProperties.h"

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
    void setPopupMenu(QMenu* menu) { m_popup = menu; }
    QMenu* popupMenu() const { return m_popup; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showCurrent();
    void showText(const QString& text);

    RideField m_field;
    // The field's text as last shown.
    QString m_shown;
    QPointer<DataSource> m_source;
    QPointer<QMenu> m_popup;
};
