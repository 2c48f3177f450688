#include "toolkit/ScriptedPresenter.h"

#include "base/AppIdentity.h"
#include "toolkit/MessageDialog.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QWindow>
#include <algorithm>

namespace {
// Shows the window as exec() does, modal and with its result reset, and
// waits until the window system has it on screen, so that its show handlers
// have run and the script acts on what the user would see.
void showAsExecDoes(QDialog& window)
{
    window.setResult(QDialog::Rejected);
    window.setAttribute(Qt::WA_ShowModal, true);
    window.show();
    const QDeadlineTimer deadline(5000);
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
} // namespace

bool ScriptedPresenter::showMessage(MessageDialog& dialog)
{
    const bool ok = m_answers.isEmpty() ? m_defaultAnswer : m_answers.dequeue();
    m_raised.append({QStringLiteral("message"), dialog.objectName(),
                     QStringLiteral("MessageDialog"), dialog.caption(), dialog.text(),
                     int(dialog.iconType()), dialog.buttonCount(), ok ? 1 : 0});
    return ok;
}

void ScriptedPresenter::showError(const QString& text)
{
    m_raised.append({QStringLiteral("error"), QString(), QString(),
                     QString::fromUtf8(AppIdentity::title), standardErrorText(text),
                     int(MessageDialog::Stop), 1, 1});
}

int ScriptedPresenter::execModal(QDialog& window)
{
    // Recorded before the handler runs, so that whatever the handler raises
    // comes after the window in the record.
    const qsizetype index = m_raised.size();
    m_raised.append({QStringLiteral("modal"), window.objectName(),
                     QString::fromLatin1(window.metaObject()->className()), window.windowTitle(),
                     QString(), -1, 0, QDialog::Rejected});

    ModalHandler handler = m_nextModal.isEmpty() ? m_modalHandler : m_nextModal.dequeue();
    const bool wasShowModal = window.testAttribute(Qt::WA_ShowModal);
    showAsExecDoes(window);
    const int result = handler ? handler(window) : int(QDialog::Rejected);
    // A window the script left open goes the way its own buttons close it,
    // through done(), so that its close handlers run as they do for the user.
    if (window.isVisible())
        window.done(result);
    window.setResult(result);
    window.setAttribute(Qt::WA_ShowModal, wasShowModal);
    if (index < m_raised.size()) // unless the handler cleared the record
        m_raised[index].answer = result;
    return result;
}

void ScriptedPresenter::answerNext(bool ok)
{
    m_answers.enqueue(ok);
}

void ScriptedPresenter::handleNextModal(ModalHandler handler)
{
    m_nextModal.enqueue(std::move(handler));
}

ScriptedPresenter::Raised ScriptedPresenter::last() const
{
    return m_raised.isEmpty() ? Raised{} : m_raised.constLast();
}

int ScriptedPresenter::count(const QString& kind) const
{
    return int(std::count_if(m_raised.cbegin(), m_raised.cend(),
                             [&kind](const Raised& r) { return r.kind == kind; }));
}
