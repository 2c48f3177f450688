#include "toolkit/DBGrid.h"

#include "store/ADOTable.h"
#include "store/DataSource.h"
#include "base/RydexError.h"
#include "toolkit/BandedScrollBars.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/GridCellDelegate.h"
#include "toolkit/GridHeader.h"
#include "toolkit/PopupShortcuts.h"
#include "toolkit/RideGridModel.h"
#include "toolkit/RowMarkerHeader.h"

#include <QStyleOptionHeader>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>

ColumnTitle::ColumnTitle(GridColumn* column) : QObject(column), m_column(column) {}

QString ColumnTitle::caption() const
{
    return m_column->m_grid->m_model->columns().at(m_column->m_index).title;
}

void ColumnTitle::setCaption(const QString& caption)
{
    m_column->m_grid->m_model->setColumnTitle(m_column->m_index, caption);
}

GridColumn::GridColumn(DBGrid* grid, int index, RideField field)
    : QObject(grid), m_grid(grid), m_index(index), m_field(field), m_title(new ColumnTitle(this))
{
}

int GridColumn::width() const
{
    return m_grid->columnWidth(m_index);
}

void GridColumn::setWidth(int width)
{
    if (m_index < m_grid->m_widthFromField.size())
        m_grid->m_widthFromField[m_index] = false;
    m_grid->setColumnWidth(m_index, width);
}

bool GridColumn::isVisible() const
{
    return !m_grid->isColumnHidden(m_index);
}

void GridColumn::setVisible(bool visible)
{
    m_grid->setColumnHidden(m_index, !visible);
}

GridColumns::GridColumns(DBGrid* grid) : ItemCollection(grid), m_grid(grid) {}

int GridColumns::count() const
{
    return m_grid->gridColumnCount();
}

QObject* GridColumns::item(int index) const
{
    return m_grid->gridColumn(index);
}

DBGrid::DBGrid(const QString& name, QWidget* parent)
    : QTableView(parent), m_model(new RideGridModel(this)), m_columnList(new GridColumns(this))
{
    setObjectName(name);
    m_popup = new ControlPopup(this);
    setHorizontalHeader(new GridHeader(this));
    setVerticalHeader(new RowMarkerHeader(this));
    BandedScrollBars::useFor(this);
    setModel(m_model);
    setItemDelegate(new GridCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setAlternatingRowColors(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(14);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    // The selected ride stays marked when the focus moves to the menu or the note.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
    connect(m_model, &RideGridModel::currentRowChanged, this, &DBGrid::followTable);
    connect(m_model, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation) {
                if (orientation == Qt::Horizontal)
                    fitColumnsToTitles();
            });
    connect(m_model, &QAbstractItemModel::modelReset, this,
            [this] { followTable(m_model->table() ? m_model->table()->currentIndex() : -1); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_following || !current.isValid() || !m_source || !m_source->table())
                    return;
                try {
                    m_source->table()->setCurrentIndex(current.row());
                } catch (const RydexError& e) {
                    DialogPresenter::current().showError(e.text());
                }
            });
}

void DBGrid::setDataSource(DataSource* source)
{
    m_source = source;
    m_model->setSource(source);
    // A language's list items can be wider than the field's stored texts.
    if (source)
        connect(source, &DataSource::valueListsChanged, this, &DBGrid::fitColumnsToTitles,
                Qt::UniqueConnection);
    fitColumnsToTitles();
}

void DBGrid::setGridColumns(const QVector<ColumnLayout>& columns)
{
    for (GridColumn* old : std::as_const(m_columns)) {
        old->setParent(nullptr);
        old->deleteLater();
    }
    m_columns.clear();
    m_widthFromField.clear();
    QVector<RideGridModel::Column> modelColumns;
    for (const ColumnLayout& c : columns)
        modelColumns.append({c.field, c.title});
    m_model->setColumns(modelColumns);
    for (int i = 0; i < columns.size(); ++i) {
        auto* column = new GridColumn(this, i, columns.at(i).field);
        m_columns.append(column);
        m_widthFromField.append(columns.at(i).width <= 0);
        const int w =
            columns.at(i).width > 0 ? columns.at(i).width : fieldDisplayWidth(columns.at(i).field);
        setColumnWidth(i, w);
    }
    fitColumnsToTitles();
}

void DBGrid::fitColumnsToTitles()
{
    QHeaderView* header = horizontalHeader();
    QStyleOptionHeader probe;
    probe.initFrom(header);
    probe.rect = QRect(0, 0, 100, header->height());
    const int frame =
        100 - header->style()->subElementRect(QStyle::SE_HeaderLabel, &probe, header).width();
    const QFontMetrics fm = header->fontMetrics();
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!m_widthFromField.value(i))
            continue;
        const QString title = m_model->headerData(i, Qt::Horizontal).toString();
        setColumnWidth(i, std::max(fieldDisplayWidth(m_columns.at(i)->field()),
                                   fm.horizontalAdvance(title) + frame + 2));
    }
}

void DBGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        fitColumnsToTitles();
}

GridColumn* DBGrid::gridColumn(int index) const
{
    return index >= 0 && index < m_columns.size() ? m_columns.at(index) : nullptr;
}

int DBGrid::fieldDisplayWidth(RideField field) const
{
    int chars = 10;
    const FieldDef& def = fieldDef(field);
    switch (def.kind) {
    case FieldKind::Text:
        chars = def.width;
        break;
    case FieldKind::UInt16:
    case FieldKind::Int16:
        chars = 6;
        break;
    default:
        chars = 10;
    }
    const QFontMetrics fm = fontMetrics();
    const int byChars = chars * fm.averageCharWidth() + 8;
    const int byTitle = fm.horizontalAdvance(fieldName(field)) + 12;
    // Every item of the field's list in the current language fits whole.
    int byItems = 0;
    if (m_source) {
        const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
        for (const QString& item : m_source->valueLists().shown(field))
            byItems = std::max(byItems, fm.horizontalAdvance(item) + 2 * margin + 2);
    }
    return std::max({byChars, byTitle, byItems});
}

void DBGrid::followTable(int row)
{
    m_following = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex idx = m_model->index(row, 0);
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
        scrollTo(idx);
    } else {
        selectionModel()->clearSelection();
    }
    m_following = false;
}


void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit doubleClicked_();
}
