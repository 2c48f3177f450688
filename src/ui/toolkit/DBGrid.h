#pragma once

#include "store/RideFields.h"
#include "toolkit/ControlProperties.h"
#include "toolkit/PopupShortcuts.h"

#include <QMenu>
#include <QPointer>
#include <QTableView>

class DataSource;
class GridColumn;
class QMenu;
class RideGridModel;

// The title of one grid column, a separate object as language files expect
// (Columns.Items(n).Title.Caption).
class ColumnTitle : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)

public:
    explicit ColumnTitle(GridColumn* column);
    QString caption() const;
    void setCaption(const QString& caption);

private:
    GridColumn* m_column;
};

class GridColumn : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ fieldName)
    Q_PROPERTY(ColumnTitle* Title READ title)
    Q_PROPERTY(int Width READ width WRITE setWidth)
    Q_PROPERTY(bool Visible READ isVisible WRITE setVisible)

public:
    GridColumn(class DBGrid* grid, int index, RideField field);
    QString fieldName() const { return ::fieldName(m_field); }
    RideField field() const { return m_field; }
    ColumnTitle* title() const { return m_title; }
    int width() const;
    void setWidth(int width);
    bool isVisible() const;
    void setVisible(bool visible);

private:
    friend class ColumnTitle;
    class DBGrid* m_grid;
    int m_index;
    RideField m_field;
    ColumnTitle* m_title;
};

// The grid's columns as a language file reaches them: Columns.Items(n).
class GridColumns : public ItemCollection
{
    Q_OBJECT

public:
    explicit GridColumns(class DBGrid* grid);
    int count() const override;
    QObject* item(int index) const override;

private:
    class DBGrid* m_grid;
};

// The read-only grid bound to the ride table: whole-row selection that stays
// visible without the focus, a row indicator, column titles, and a popup menu
// whose shortcuts take precedence while the grid has the focus.
class DBGrid : public QTableView
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(GridColumns* Columns READ columns)

public:
    struct ColumnLayout
    {
        RideField field;
        QString title;
        int width; // pixels; 0 takes the field's display width
    };

    DBGrid(const QString& name, QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    void setGridColumns(const QVector<ColumnLayout>& columns);
    GridColumn* gridColumn(int index) const;
    int gridColumnCount() const { return int(m_columns.size()); }
    GridColumns* columns() const { return m_columnList; }
    void setPopupMenu(QMenu* menu) { m_popup->setMenu(menu); }
    QMenu* popupMenu() const { return m_popup->menu(); }
    RideGridModel* rideModel() const { return m_model; }

    // The width a field's column takes when the column gives none.
    int fieldDisplayWidth(RideField field) const;

signals:
    void doubleClicked_();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class GridColumn;
    friend class ColumnTitle;
    void followTable(int row);
    // A column whose width comes from its field is wide enough for its title
    // too, as titles change with the language and the theme.
    void fitColumnsToTitles();

    RideGridModel* m_model;
    QPointer<DataSource> m_source;
    QList<GridColumn*> m_columns;
    QList<bool> m_widthFromField;
    GridColumns* m_columnList;
    ControlPopup* m_popup = nullptr;
    bool m_following = false;
};
