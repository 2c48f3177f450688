#include "toolkit/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget* window)
{
    QWidget* parent = window->parentWidget();
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect outer(QPoint(0, 0), window->frameGeometry().size());
    outer.moveCenter(screen->availableGeometry().center());
    window->move(outer.topLeft());
}
