#include "toolkit/ThemedFrame.h"

#include "toolkit/ImageList.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

ThemedFrame::ThemedFrame(const QString& name, QWidget* window, int bandHeight)
    : QWidget(window), m_caption(window->windowTitle()), m_bandHeight(bandHeight)
{
    setObjectName(name);
    setGeometry(window->rect());
    setAccessibleName(m_caption);
    lower();
    window->installEventFilter(this);
}

void ThemedFrame::setCaption(const QString& caption)
{
    m_caption = caption;
    setAccessibleName(caption);
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
    g.setColorAt(0, m_bandTop);
    g.setColorAt(1, m_bandBottom);
    p.fillRect(band, g);
    p.setPen(m_bandLine);
    p.drawLine(0, m_bandHeight - 1, width(), m_bandHeight - 1);
    // The program's mark instead of a second title.
    const QPixmap mark = ImageList::productPicture(16);
    p.drawPixmap(10, (m_bandHeight - 16) / 2, mark);
}
