#include "toolkit/GridCellDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>

namespace {
// Laid-out texts kept at most; a grid shows a few hundred different ones.
constexpr qsizetype keptTexts = 4096;
} // namespace

bool GridCellDelegate::sheetStylesViewItems(const QString& sheet)
{
    if (!sheet.contains(QLatin1String("::item")))
        return false;
    // The selectors of every rule; comments are no selectors.
    QString text = sheet;
    text.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                   QRegularExpression::DotMatchesEverythingOption));
    static const QRegularExpression rule(QStringLiteral("([^{}]*)\\{[^}]*\\}"));
    static const QRegularExpression item(QStringLiteral("([\\w#.*-]*)::item\\b"));
    for (auto r = rule.globalMatch(text); r.hasNext();) {
        const QString selectors = r.next().captured(1);
        for (auto m = item.globalMatch(selectors); m.hasNext();) {
            const QString subject = m.next().captured(1);
            // Items of menus, menu bars, tab bars and the like are not the
            // grid's; any other subject (none, *, a name, an item view) may be.
            static const QRegularExpression others(
                QStringLiteral("^(QMenu|QMenuBar|QTabBar|QToolBox|QComboBox|QListView|QTreeView|"
                               "QTreeWidget|QListWidget|QColumnView|QUndoView)\\b"));
            if (!others.match(subject).hasMatch())
                return true;
        }
    }
    return false;
}

bool GridCellDelegate::itemsStyled(const QWidget* view) const
{
    QString sheet = qApp->styleSheet();
    for (const QWidget* w = view; w; w = w->parentWidget())
        sheet += w->styleSheet();
    if (!m_sheetKnown || sheet != m_sheet) {
        m_sheet = sheet;
        m_sheetStylesItems = sheetStylesViewItems(sheet);
        m_sheetKnown = true;
    }
    return m_sheetStylesItems;
}

const QStaticText& GridCellDelegate::laidOut(const QString& text, const QFont& font) const
{
    if (font != m_font || m_texts.size() >= keptTexts) {
        m_texts.clear();
        m_font = font;
    }
    auto it = m_texts.find(text);
    if (it == m_texts.end()) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font);
        it = m_texts.insert(text, laid);
    }
    return *it;
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    const bool plain =
        !(opt.features & (QStyleOptionViewItem::HasCheckIndicator |
                          QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::WrapText));
    if (!plain || (opt.state & QStyle::State_HasFocus) || opt.text.contains(u'\n') ||
        opt.text.contains(QChar::LineSeparator) || itemsStyled(widget)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
    const QStaticText& text = laidOut(opt.text, opt.font);
    const QSizeF size = text.size();
    if (size.width() > textRect.width()) {
        // Qt shortens it with an ellipsis.
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    painter->save();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    QPalette::ColorGroup group =
        opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
        group = QPalette::Inactive;
    painter->setPen(opt.palette.color(
        group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(opt.font);
    painter->setClipRect(textRect, Qt::IntersectClip);
    // Placed as Qt places a one-line layout: the line across the cell's
    // text width, the text aligned within it to the fraction of a pixel,
    // the line's height aligned in whole pixels.
    const QRect line =
        QStyle::alignedRect(opt.direction, opt.displayAlignment,
                            QSize(textRect.width(), qRound(size.height())), textRect);
    const Qt::Alignment horizontal =
        QStyle::visualAlignment(opt.direction, opt.displayAlignment) & Qt::AlignHorizontal_Mask;
    qreal x = line.x();
    if (horizontal & Qt::AlignRight)
        x += line.width() - size.width();
    else if (horizontal & Qt::AlignHCenter)
        x += (line.width() - size.width()) / 2;
    painter->drawStaticText(QPointF(x, line.y()), text);
    painter->restore();
}
