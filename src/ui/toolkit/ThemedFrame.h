#pragma once

#include "toolkit/ControlProperties.h"

#include <QColor>
#include <QWidget>

// The themed frame of a window: it fills the window, draws a themed band
// across its top and is the parent of the window's controls, which lie below
// the band at the window's own coordinates. The window manager's title bar
// shows the title, so the band does not repeat it: its caption (which follows
// the window title unless it is set apart) names the frame for assistive
// tools. The band's colours come from the theme (qproperty-bandTop, ...).
class ThemedFrame : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor bandTop MEMBER m_bandTop)
    Q_PROPERTY(QColor bandBottom MEMBER m_bandBottom)
    Q_PROPERTY(QColor bandLine MEMBER m_bandLine)

public:
    // Fills the window, with a band bandHeight pixels high.
    ThemedFrame(const QString& name, QWidget* window, int bandHeight);
    int bandHeight() const { return m_bandHeight; }

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    int m_bandHeight;
    QColor m_bandTop{112, 134, 178};
    QColor m_bandBottom{70, 90, 140};
    QColor m_bandLine{40, 50, 90};
};
