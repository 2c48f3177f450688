#include "toolkit/FirstShow.h"

#include <QEvent>

namespace {
class FirstShowFilter : public QObject
{
public:
    FirstShowFilter(QWidget* widget, std::function<void()> work)
        : QObject(widget), m_work(std::move(work))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && m_work) {
            watched->removeEventFilter(this);
            const std::function<void()> work = std::move(m_work);
            m_work = nullptr;
            work();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_work;
};
} // namespace

void onFirstShow(QWidget* widget, std::function<void()> work)
{
    if (widget->isVisible()) {
        work();
        return;
    }
    new FirstShowFilter(widget, std::move(work));
}
