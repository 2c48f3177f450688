#include "records/TfrmWork.h"
#include "toolkit/Controls.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/ThemedFrame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWindow>

WorkProgressBar::WorkProgressBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Progress"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WorkProgressBar::setMinimum(int value)
{
    if (value == m_min)
        return;
    m_min = value;
    changed(false);
}

void WorkProgressBar::setMaximum(int value)
{
    if (value == m_max)
        return;
    m_max = value;
    changed(false);
}

void WorkProgressBar::setPosition(int value)
{
    if (value == m_position)
        return;
    // Painted again only when what it shows changes: the percentage or the
    // filled width. A year of many rides would otherwise spend more time
    // painting the bar than writing the readings.
    const QString before = text();
    const int filledBefore = filledWidth();
    m_position = value;
    const bool looksDifferent = text() != before || filledWidth() != filledBefore;
    // A screen shows at most 60 pictures a second; the last step is always
    // shown.
    const bool frameDue = !m_painted.isValid() || m_painted.elapsed() >= 16 || value >= m_max;
    if (looksDifferent && isVisible() && frameDue) {
        repaint();
        m_painted.start();
    } else if (looksDifferent) {
        update();
    }
    emit positionChanged(m_position);
}

int WorkProgressBar::filledWidth() const
{
    if (m_max <= m_min)
        return 0;
    const qint64 span = qint64(m_max) - m_min;
    const qint64 done = std::clamp(qint64(m_position) - m_min, qint64(0), span);
    return int(done * width() / span);
}

void WorkProgressBar::changed(bool positionMoved)
{
    if (isVisible())
        repaint();
    if (positionMoved)
        emit positionChanged(m_position);
}

QString WorkProgressBar::percentText(int position, int minimum, int maximum)
{
    if (maximum <= minimum)
        return QStringLiteral("0%");
    const qint64 span = qint64(maximum) - minimum;
    const qint64 done = std::clamp(qint64(position) - minimum, qint64(0), span);
    return QString::number(done * 100 / span) + QLatin1Char('%');
}

void WorkProgressBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, palette().color(QPalette::Base));
    const QRect inner = all.adjusted(1, 1, -1, -1);
    QRect filled = inner;
    if (m_max > m_min) {
        const qint64 span = qint64(m_max) - m_min;
        const qint64 done = std::clamp(qint64(m_position) - m_min, qint64(0), span);
        filled.setWidth(int(inner.width() * done / span));
    } else {
        filled.setWidth(0);
    }
    if (filled.width() > 0)
        p.fillRect(filled, palette().color(QPalette::Highlight));

    // The text changes colour where the fill runs under it, so it stays
    // readable at any percentage.
    const QString label = text();
    p.save();
    p.setClipRect(filled);
    p.setPen(palette().color(QPalette::HighlightedText));
    p.drawText(inner, Qt::AlignCenter, label);
    p.restore();
    p.save();
    p.setClipRegion(QRegion(inner).subtracted(QRegion(filled)));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(inner, Qt::AlignCenter, label);
    p.restore();

    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(all.topLeft(), all.topRight());
    p.drawLine(all.topLeft(), all.bottomLeft());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(all.bottomLeft(), all.bottomRight());
    p.drawLine(all.topRight(), all.bottomRight());
}

TfrmWork::TfrmWork(QWidget* parent)
    : ThemedDialog(parent, QStringLiteral("frmWork"), QStringLiteral("Pracuji..."),
                   Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setFixedSize(323, 98);
    auto* frame = new ThemedFrame(QStringLiteral("frmWorkSui"), this, 30);
    // Set before the first showing: a window shown this way blocks every
    // other window of the program.
    setWindowModality(Qt::ApplicationModal);

    auto* status = new Label(QStringLiteral("StatusText"),
                             QStringLiteral("Přepočítávám hodnoty ODO..."), frame);
    status->move(8, 41);
    status->setAutoSize(true);
    StatusText = status;
    auto* wait = new Label(QStringLiteral("Label1"), QStringLiteral("Strpení prosím..."), frame);
    wait->move(8, 57);
    wait->setAutoSize(true);
    Label1 = wait;
    Progress = new WorkProgressBar(frame);
    Progress->setGeometry(8, 80, 313, 12);
    Progress->setMinimum(0);
    applyThemeAndLanguage({QStringLiteral("frmWorkSui"), QStringLiteral("Progress")});
}

void TfrmWork::showWorking()
{
    // Nothing of the last run is shown while this one starts.
    Progress->setPosition(Progress->minimum());
    m_returnTo = QApplication::activeWindow();
    if (!m_returnTo || m_returnTo == this)
        m_returnTo = parentWidget() ? parentWidget()->window() : nullptr;
    centreOnScreen(this);
    show();
    // The window system maps a new window in its own time; give it that much,
    // with user input left waiting in the queue, so the window is painted
    // before the work starts.
    QElapsedTimer waited;
    waited.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 250) {
        QThread::msleep(2);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
}

void TfrmWork::hideWorking()
{
    hide();
    // Without this the keyboard would reach no window until the user clicks
    // one, with or without a window manager, and Ctrl+N or Del would do nothing.
    if (m_returnTo && m_returnTo->isVisible()) {
        m_returnTo->raise();
        m_returnTo->activateWindow();
    }
    m_returnTo = nullptr;
}

void TfrmWork::keyPressEvent(QKeyEvent* event)
{
    // Escape would hide the window in the middle of the work.
    event->accept();
}

TfrmWork* createProgressWindow(QWidget* owner)
{
    return new TfrmWork(owner);
}
