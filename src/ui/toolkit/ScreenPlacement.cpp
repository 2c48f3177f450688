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
