#pragma once

#include <QWidget>

#include <functional>

// Runs work once, when widget is about to be shown for the first time:
// for what is costly to prepare and may never be seen.
void onFirstShow(QWidget* widget, std::function<void()> work);
