#include "LayoutChecks.h"

#include "theme/Contrast.h"
#include "toolkit/GridHeader.h"
#include "toolkit/GroupFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>
#include <QToolButton>
#include <QWidget>

namespace {
QWidget* named(const QWidget* window, const QString& name)
{
    return window->findChild<QWidget*>(name);
}

// Where a control lies, in the window's coordinates; empty when it is missing.
QRect placeOf(const QWidget* window, const QString& name)
{
    const QWidget* control = named(window, name);
    return control ? QRect(control->mapTo(window, QPoint(0, 0)), control->size()) : QRect();
}
} // namespace

QStringList outsideTheirParent(const QWidget* window, const QStringList& names)
{
    QStringList out;
    for (const QString& name : names) {
        const QWidget* control = named(window, name);
        const QWidget* parent = control ? control->parentWidget() : nullptr;
        if (!parent) {
            out << name + QStringLiteral(" (missing)");
            continue;
        }
        QRect room = parent->rect();
        if (const auto* group = qobject_cast<const QGroupBox*>(parent))
            room.setTop(groupFrameTop(group));
        if (!room.contains(control->geometry()))
            out << name;
    }
    return out;
}

QStringList overlapping(const QWidget* window, const QStringList& names)
{
    QStringList out;
    for (qsizetype i = 0; i < names.size(); ++i) {
        for (qsizetype j = i + 1; j < names.size(); ++j) {
            if (placeOf(window, names[i]).intersects(placeOf(window, names[j])))
                out << names[i] + QLatin1Char('/') + names[j];
        }
    }
    return out;
}

QStringList labelsNotAbove(const QWidget* window, const QList<QStringList>& labelAndControl)
{
    QStringList out;
    for (const QStringList& pair : labelAndControl) {
        const QRect label = placeOf(window, pair.value(0));
        const QRect control = placeOf(window, pair.value(1));
        if (label.isEmpty() || control.isEmpty() || label.bottom() >= control.top() ||
            label.left() != control.left())
            out << pair.join(QLatin1Char('/'));
    }
    return out;
}

QStringList tabOrder(const QWidget* window, const QStringList& names)
{
    QStringList chain;
    QWidget* first = names.isEmpty() ? nullptr : named(window, names.first());
    if (!first)
        return chain;
    QWidget* at = first;
    do {
        if (names.contains(at->objectName()) && !chain.contains(at->objectName()))
            chain << at->objectName();
        at = at->nextInFocusChain();
    } while (at != first);
    return chain;
}

namespace {
// The controls a user sees: named, not Qt's own parts of a control.
bool isControl(const QWidget* w, const QWidget* window)
{
    return w->isVisibleTo(window) && !w->isWindow() && !w->objectName().isEmpty() &&
           !w->objectName().startsWith(QLatin1String("qt_"));
}

QString withoutMnemonics(QString caption)
{
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

// What a control shows as text: each text with the size it needs and the room
// its control gives it, in the control's coordinates.
struct Shown
{
    QString text;
    QSize needed;
    QRect room;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// Inside a group box, text stays off the frame lines and below the title.
QRect innerRoom(const QWidget* w)
{
    QRect room = w->rect();
    if (const auto* group = qobject_cast<const QGroupBox*>(w))
        room = room.adjusted(1, groupFrameTop(group) + 1, -1, -1);
    return room;
}

// Where a line edit writes its text: inside its frame, less Qt's margin.
QRect editRoom(const QLineEdit* edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    return contents.marginsRemoved(edit->textMargins()).adjusted(2, 0, -2, 0);
}

QList<Shown> textsOf(const QWidget* w)
{
    QList<Shown> out;
    const QFontMetrics fm = w->fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return out;
        if (label->wordWrap()) {
            out.append({label->text(),
                        QSize(label->contentsRect().width(), label->heightForWidth(label->width())),
                        label->rect(), label->alignment()});
        } else {
            out.append({label->text(), label->sizeHint(), label->rect(), label->alignment()});
        }
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (button->text().isEmpty() || qobject_cast<const QToolButton*>(w))
            return out;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        Qt::Alignment alignment = Qt::AlignCenter;
        if (qobject_cast<const QCheckBox*>(w))
            contents = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<const QRadioButton*>(w))
            contents = QStyle::SE_RadioButtonContents;
        if (contents != QStyle::SE_PushButtonContents)
            alignment = Qt::AlignLeft | Qt::AlignVCenter;
        out.append({button->text(), fm.size(Qt::TextShowMnemonic, button->text()),
                    w->style()->subElementRect(contents, &option, w), alignment});
    } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        if (group->title().isEmpty())
            return out;
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title =
            w->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, w);
        out.append({group->title(), title.size(), group->rect(), Qt::AlignLeft});
        out.last().room =
            QRect(title.topLeft(), QSize(group->width() - title.left(), title.height()));
    } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        const QRect field =
            w->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, w)
                .adjusted(2, 0, -2, 0);
        for (int i = 0; i < combo->count(); ++i) {
            if (!combo->itemText(i).isEmpty())
                out.append({combo->itemText(i), fm.size(0, combo->itemText(i)), field});
        }
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        if (!edit->displayText().isEmpty() && !qobject_cast<const QComboBox*>(w->parentWidget()))
            out.append({edit->displayText(), fm.size(0, edit->displayText()), editRoom(edit)});
    } else if (const auto* view = qobject_cast<const QTableView*>(w->parentWidget());
               view && w == view->viewport() && view->model()) {
        // The cells in full view: each text whole, within the margins the
        // item delegate keeps.
        const int margin = w->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                const QRect cell = view->visualRect(index);
                const QString text = index.data().toString();
                // A cell greyed out as not available is meant to recede.
                if (text.isEmpty() || !w->rect().contains(cell) ||
                    !(index.flags() & Qt::ItemIsEnabled))
                    continue;
                const QVariant alignment = index.data(Qt::TextAlignmentRole);
                out.append({text, fm.size(0, text) + QSize(2 * margin, 0), cell,
                            alignment.isValid() ? Qt::Alignment(alignment.toInt())
                                                : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)});
            }
        }
    } else if (const auto* header = qobject_cast<const GridHeader*>(w)) {
        for (int i = 0; i < header->count(); ++i) {
            const QString title = header->model()->headerData(i, Qt::Horizontal).toString();
            if (!header->isSectionHidden(i) && header->shownText(i) != title)
                out.append({title, QSize(1, 1), QRect()});
        }
    }
    return out;
}

// Where a control writes a text that needs this size.
QRect textPlace(const Shown& s)
{
    return QStyle::alignedRect(Qt::LeftToRight, s.alignment, s.needed.boundedTo(s.room.size()),
                               s.room);
}

// The part of a control that its parents leave visible, in its coordinates.
QRect visiblePart(const QWidget* w, const QWidget* window)
{
    QRect visible = w->rect();
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        visible &= innerRoom(p).translated(w->mapFrom(p, QPoint(0, 0)));
        if (p == window)
            break;
    }
    return visible;
}

// What a control covers in its parent: a label the room of its text, any
// other control the whole of it.
QRect covered(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        const QList<Shown> texts = textsOf(w);
        if (!texts.isEmpty())
            return textPlace(texts.first()).adjusted(-1, 0, 1, 0).translated(w->pos());
        return label->pixmap().isNull() ? QRect() : w->geometry();
    }
    return w->geometry();
}
} // namespace

QStringList textsCutOff(const QWidget* window)
{
    QStringList out;
    const QList<QWidget*> all = window->findChildren<QWidget*>();
    for (const QWidget* w : all) {
        if (!w->isVisibleTo(window) || w->isWindow())
            continue;
        const QString name = w->objectName().isEmpty()
                                 ? QString::fromLatin1(w->metaObject()->className())
                                 : w->objectName();
        for (const Shown& s : textsOf(w)) {
            const bool fits = s.needed.width() <= s.room.width() &&
                              s.needed.height() <= s.room.height() &&
                              visiblePart(w, window).contains(textPlace(s));
            if (!fits)
                out << name + QStringLiteral(": ") + withoutMnemonics(s.text);
        }
    }
    return out;
}

QStringList controlsOverlapping(const QWidget* window, const QStringList& allowed)
{
    QStringList out;
    QList<const QWidget*> parents{window};
    for (const QWidget* w : window->findChildren<QWidget*>())
        parents << w;
    for (const QWidget* parent : parents) {
        QList<const QWidget*> children;
        for (const QObject* o : parent->children()) {
            const auto* w = qobject_cast<const QWidget*>(o);
            if (w && isControl(w, window) && !covered(w).isEmpty())
                children << w;
        }
        for (qsizetype i = 0; i < children.size(); ++i) {
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                const QString pair =
                    children[i]->objectName() + QLatin1Char('/') + children[j]->objectName();
                if (covered(children[i]).intersects(covered(children[j])) &&
                    !allowed.contains(pair))
                    out << pair;
            }
        }
    }
    return out;
}

namespace {
// The strongest contrast in a part of a picture against the colour most of
// that part has.
double strongestContrast(const QImage& picture, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrastRatio(QColor(background), QColor(it.key())));
    return best;
}
} // namespace

// A control that a control drawn after it covers whole is not seen at all.
bool coveredBySibling(const QWidget* w)
{
    const QObjectList& siblings = w->parentWidget()->children();
    for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
        const auto* above = qobject_cast<const QWidget*>(siblings.at(i));
        if (above && above->isVisible() && above->geometry().contains(w->geometry()))
            return true;
    }
    return false;
}

QStringList textsHardToRead(QWidget* window, double minimum)
{
    QStringList out;
    const QImage picture = window->grab().toImage();
    const auto measure = [&](const QWidget* w, const QRect& inWidget) {
        const QRect area = inWidget.translated(w->mapTo(window, QPoint(0, 0))) & picture.rect();
        return area.isEmpty() ? 21.0 : strongestContrast(picture, area);
    };
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow() || !w->isEnabled() || coveredBySibling(w))
            continue;
        const QRect visible = visiblePart(w, window);
        QList<Shown> texts = textsOf(w);
        if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            // Only the chosen item is drawn.
            texts.clear();
            if (!combo->currentText().isEmpty() && !combo->isEditable())
                texts.append({combo->currentText(), w->fontMetrics().size(0, combo->currentText()),
                              w->rect().adjusted(4, 2, -20, -2)});
        }
        for (const Shown& s : texts) {
            if (s.room.isEmpty())
                continue;
            const double ratio = measure(w, textPlace(s) & visible);
            if (ratio < minimum)
                out << w->objectName() + QStringLiteral(": ") + withoutMnemonics(s.text) +
                           QStringLiteral(" (%1)").arg(ratio, 0, 'f', 1);
        }
        const bool isCheck = qobject_cast<const QCheckBox*>(w);
        if (isCheck || qobject_cast<const QRadioButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(w);
            const QRect box = w->style()->subElementRect(isCheck ? QStyle::SE_CheckBoxIndicator
                                                                 : QStyle::SE_RadioButtonIndicator,
                                                         &option, w);
            // The box and a margin of the background around it.
            const double ratio = measure(w, box.adjusted(-2, -2, 2, 2) & visible);
            if (ratio < 3)
                out << w->objectName() + QStringLiteral(": box (%1)").arg(ratio, 0, 'f', 1);
        }
        if (const auto* view = qobject_cast<const QTableView*>(w->parentWidget());
            view && w == view->viewport() && view->model()) {
            // The tick boxes of a list, which the theme draws for item views
            // apart from those of check boxes.
            const QAbstractItemModel* model = view->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                for (int column = 0; column < model->columnCount(); ++column) {
                    const QModelIndex index = model->index(row, column);
                    const QRect cell = view->visualRect(index);
                    if (!index.data(Qt::CheckStateRole).isValid() || !w->rect().contains(cell) ||
                        !(index.flags() & Qt::ItemIsEnabled))
                        continue;
                    const double ratio = measure(w, cell & visible);
                    if (ratio < 3)
                        out << view->objectName() + QStringLiteral(": box of row %1 (%2)")
                                                        .arg(row)
                                                        .arg(ratio, 0, 'f', 1);
                }
            }
        }
    }
    return out;
}
