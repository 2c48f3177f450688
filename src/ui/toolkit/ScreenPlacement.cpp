#include "toolkit/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

void centreOnScreen(QWidget* window)
{
    QWidget* parent = window->parentWidget();
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect outer(QPoint(0, 0), window->frameGeometry().size());
    outer.moveCenter(available.center());
    outer.moveTop(std::max(outer.top(), available.top()));
    outer.moveLeft(std::max(outer.left(), available.left()));
    window->move(outer.topLeft());
}

QSize clientSizeWithin(const QSize& wanted, const QSize& frame, const QSize& available)
{
    return wanted.boundedTo(available - frame).expandedTo(QSize(1, 1));
}

void fitOnScreen(QWidget* window)
{
    QWidget* parent = window->parentWidget();
    QScreen* screen = parent ? parent->screen() : window->screen();
    if (!screen)
        return;
    // Before the first showing the frame is not known yet: a title bar and
    // thin borders, as most window managers draw them.
    QSize frame = window->frameGeometry().size() - window->size();
    if (frame.isEmpty())
        frame = QSize(8, 32);
    window->resize(clientSizeWithin(window->size(), frame, screen->availableGeometry().size()));
}
