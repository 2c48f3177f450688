#pragma once

#include <QElapsedTimer>

#include "toolkit/ThemedDialog.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

class QLabel;

// The bar of the progress window: a sunken strip filled up to its position,
// with the whole percentage printed across it.
class WorkProgressBar : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(int Min READ minimum WRITE setMinimum)
    Q_PROPERTY(int Max READ maximum WRITE setMaximum)
    Q_PROPERTY(int Position READ position WRITE setPosition)

public:
    explicit WorkProgressBar(QWidget* parent = nullptr);

    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int position() const { return m_position; }
    void setMinimum(int value);
    void setMaximum(int value);
    // Every change of position repaints the bar at once: while the window is
    // up, nothing else gets a chance to paint it.
    void setPosition(int value);

    // What the bar prints, e.g. "37%".
    QString text() const { return percentText(m_position, m_min, m_max); }
    // (position - minimum) * 100 / (maximum - minimum), rounded down, and "0%"
    // when the range is empty.
    static QString percentText(int position, int minimum, int maximum);

signals:
    void positionChanged(int position);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed(bool positionMoved);
    int filledWidth() const;

    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    // When the bar was last painted: it is painted at most once a frame.
    QElapsedTimer m_painted;
};

// The progress window of the odometer recomputation. It is made once at
// start-up and shown only while the readings of a year are recomputed; while
// it is up the program takes no input.
class TfrmWork : public ThemedDialog
{
    Q_OBJECT

public:
    explicit TfrmWork(QWidget* parent = nullptr);

    // Shows the window centred on the screen and paints it before returning,
    // so it is seen even when the work that follows never yields.
    void showWorking();
    void hideWorking();

    QLabel* StatusText = nullptr;
    QLabel* Label1 = nullptr;
    WorkProgressBar* Progress = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The window that was active before the work, active again after it.
    QPointer<QWidget> m_returnTo;
};

// Makes the progress window of the run, owned by the given window.
TfrmWork* createProgressWindow(QWidget* owner);
