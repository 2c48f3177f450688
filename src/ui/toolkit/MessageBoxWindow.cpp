#include "toolkit/MessageBoxWindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {
QStyle::StandardPixmap standardPixmap(MessageDialog::IconType icon)
{
    switch (icon) {
    case MessageDialog::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageDialog::Stop:
        return QStyle::SP_MessageBoxCritical;
    case MessageDialog::Question:
        return QStyle::SP_MessageBoxQuestion;
    case MessageDialog::Information:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

// Texts come from language files and from the database engine: never let them
// be read as rich text.
QLabel* plainLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

// Wide enough for a short text on one line, wrapped beyond about sixty
// characters, so that a long message does not stretch across the screen.
void fitWidth(QLabel* label)
{
    const QFontMetrics metrics(label->font());
    const int widest = metrics.averageCharWidth() * 60;
    int natural = 0;
    for (const QString& line : label->text().split(QLatin1Char('\n')))
        natural = qMax(natural, metrics.horizontalAdvance(line));
    label->setMinimumWidth(qMin(natural + 1, widest));
}
} // namespace

MessageBoxWindow::MessageBoxWindow(const QString& caption, const QString& text,
                                   MessageDialog::IconType icon, const QStringList& buttonCaptions,
                                   QWidget* parent)
    : QDialog(parent), m_icon(icon)
{
    setWindowTitle(caption);
    setSizeGripEnabled(false);

    auto* captionLabel = plainLabel(caption, QStringLiteral("captionLabel"), this);
    QFont bold = captionLabel->font();
    bold.setBold(true);
    captionLabel->setFont(bold);
    fitWidth(captionLabel);
    captionLabel->setVisible(!caption.isEmpty());

    auto* iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("iconLabel"));
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    iconLabel->setPixmap(
        style()->standardIcon(standardPixmap(icon), nullptr, this).pixmap(iconSize, iconSize));
    iconLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* textLabel = plainLabel(text, QStringLiteral("textLabel"), this);
    textLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // An error text is worth copying into a report.
    textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fitWidth(textLabel);

    auto* body = new QHBoxLayout;
    body->setSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) * 2 + 4);
    body->addWidget(iconLabel, 0, Qt::AlignTop);
    body->addWidget(textLabel, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* first =
        addButton(buttonCaptions.value(0, QStringLiteral("OK")), MessageDialog::Button1);
    buttons->addWidget(first);
    if (buttonCaptions.size() > 1)
        buttons->addWidget(addButton(buttonCaptions.at(1), MessageDialog::Button2));
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(captionLabel);
    layout->addSpacing(4);
    layout->addLayout(body);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    first->setDefault(true);
    first->setFocus();
}

QPushButton* MessageBoxWindow::addButton(const QString& caption, int result)
{
    ++m_buttonCount;
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("button%1").arg(m_buttonCount));
    connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    return button;
}

void MessageBoxWindow::reject()
{
    done(m_buttonCount > 1 ? MessageDialog::Button2 : MessageDialog::Button1);
}

void MessageBoxWindow::centreOnScreen()
{
    QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = over ? over->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    adjustSize();
    // The frame is not known until the window is up; the window it stands
    // over most likely wears the same one.
    QMargins frame;
    if (over && over->isVisible()) {
        const QRect outer = over->frameGeometry();
        const QRect inner = over->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    QRect framed(QPoint(), size().grownBy(frame));
    framed.moveCenter(screen->availableGeometry().center());
    move(framed.topLeft());
}

void MessageBoxWindow::setVisible(bool visible)
{
    // Placed before it appears, which also keeps QDialog from centring it
    // over its parent instead.
    if (visible && !isVisible())
        centreOnScreen();
    QDialog::setVisible(visible);
}
