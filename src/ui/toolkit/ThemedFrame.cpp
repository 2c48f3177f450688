#include "toolkit/ThemedFrame.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

ThemedFrame::ThemedFrame(const QString& name, QWidget* window, int bandHeight)
    : QWidget(window), m_caption(window->windowTitle()), m_bandHeight(bandHeight)
{
    setObjectName(name);
    setGeometry(window->rect());
    lower();
    window->installEventFilter(this);
}

void ThemedFrame::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

bool ThemedFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent()) {
        if (event->type() == QEvent::WindowTitleChange)
            setCaption(parentWidget()->windowTitle());
        else if (event->type() == QEvent::Resize)
            resize(parentWidget()->size());
    }
    return QWidget::eventFilter(watched, event);
}

void ThemedFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect band(0, 0, width(), m_bandHeight);
    QLinearGradient g(0, 0, 0, m_bandHeight);
    g.setColorAt(0, QColor(112, 134, 178));
    g.setColorAt(1, QColor(70, 90, 140));
    p.fillRect(band, g);
    p.setPen(QColor(40, 50, 90));
    p.drawLine(0, m_bandHeight - 1, width(), m_bandHeight - 1);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(band.adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft, m_caption);
}
