#pragma once

#include <QWidget>

// The caption band a dialog draws across the top of its own area, as the
// program's windows always have: the window's layout leaves that band free
// and places its controls below it. The band carries a caption of its own,
// which follows the window title unless it is set apart.
class ThemedFrame : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)

public:
    // Lays the band across the top of window, height pixels high.
    ThemedFrame(const QString& name, QWidget* window, int height);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};
