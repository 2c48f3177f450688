#pragma once

#include "toolkit/ControlProperties.h"

#include <QWidget>

// The themed frame of a window: it fills the window, draws the caption band
// across its top and is the parent of the window's controls, which lie below
// the band at the window's own coordinates. The band carries a caption of its
// own, which follows the window title unless it is set apart.
class ThemedFrame : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)

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
};
