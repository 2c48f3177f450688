#pragma once

#include "toolkit/DialogPresenter.h"

#include <QQueue>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <utility>

// A presenter for tests: no message box is shown and no modal window runs an
// event loop of its own. Every message dialog, standard error box and modal
// window the program raises is recorded in order, and answered from what the
// test queued beforehand.
//
//     ScopedPresenter dialogs;            // a ScriptedPresenter for this scope
//     dialogs->answerNext(false);         // the next message is answered "Cancel"
//     window.btnDeleteClick();
//     QCOMPARE(dialogs->last().name, "msgDlgDeleteRecord");
//
// Messages: each takes the next queued answer; when the queue is empty it gets
// the default answer, true ("OK") unless setDefaultAnswer() said otherwise.
//
// Modal windows: each is shown as exec() shows it, so its show handlers run,
// then goes to the next one-shot handler from handleNextModal(), else to the
// handler from setModalHandler(), else it answers QDialog::Rejected. A handler
// acts on the window as the user would (fill its fields, click its buttons);
// what it returns is the window's result. A window still open afterwards is
// closed by done(result), as its own buttons close it, so its close handlers
// run too. A handler may itself raise dialogs; they are recorded after the
// window.
class ScriptedPresenter : public DialogPresenter
{
public:
    struct Raised
    {
        // "message", "error" or "modal".
        QString kind;
        // objectName of the message dialog or of the modal window; empty for
        // an error.
        QString name;
        // "MessageDialog" for a message, the meta-object class name of a modal
        // window (e.g. "TfrmNewRecord"); empty for an error.
        QString className;
        // The caption shown: a message's Caption, "Rydex 2005" for an error,
        // the window title of a modal window.
        QString caption;
        // The text shown: a message's Text, for an error the text after
        // standardErrorText() (with its full stop); empty for a modal window.
        QString text;
        // MessageDialog::IconType of a message or error; -1 for a modal window.
        int iconType = -1;
        // 1 or 2 for a message, 1 for an error, 0 for a modal window.
        int buttonCount = 0;
        // What the presenter answered: 1 (true) or 0 for a message, 1 for an
        // error, the result code for a modal window.
        int answer = 0;
    };
    using ModalHandler = std::function<int(QDialog&)>;

    bool showMessage(MessageDialog& dialog) override;
    void showError(const QString& text) override;
    int execModal(QDialog& window) override;

    // Queues the answer of the next message dialog: true = "OK" (first
    // button), false = "Cancel" (second button).
    void answerNext(bool ok);
    // The answer of messages with nothing queued; true at first.
    void setDefaultAnswer(bool ok) { m_defaultAnswer = ok; }
    // Answers not used up yet.
    int pendingAnswers() const { return int(m_answers.size()); }

    // The handler of every modal window with no one-shot handler; an empty
    // function brings back the default (QDialog::Rejected, nothing done).
    void setModalHandler(ModalHandler handler) { m_modalHandler = std::move(handler); }
    // Queues a handler for the next modal window only.
    void handleNextModal(ModalHandler handler);

    // Everything raised, oldest first.
    const QVector<Raised>& raised() const { return m_raised; }
    // The newest entry; an entry with an empty kind when nothing was raised.
    Raised last() const;
    // How many entries of a kind ("message", "error", "modal") were raised.
    int count(const QString& kind) const;
    // Forgets what was raised; queued answers and handlers stay.
    void clear() { m_raised.clear(); }

private:
    QVector<Raised> m_raised;
    QQueue<bool> m_answers;
    QQueue<ModalHandler> m_nextModal;
    ModalHandler m_modalHandler;
    bool m_defaultAnswer = true;
};

// Installs a presenter for the lifetime of the object and puts the previous
// one back afterwards. Without arguments it installs a ScriptedPresenter:
//
//     ScopedPresenter dialogs;                     // ScopedPresenter<ScriptedPresenter>
//     ScopedPresenter<MyPresenter> other(args...);  // any presenter, built from args
//
// The presenter belongs to the scope; do not install another one over it and
// keep using this object.
template <class Presenter = ScriptedPresenter> class ScopedPresenter
{
public:
    template <class... Args> explicit ScopedPresenter(Args&&... args)
    {
        auto presenter = std::make_unique<Presenter>(std::forward<Args>(args)...);
        m_presenter = presenter.get();
        m_previous = DialogPresenter::install(std::move(presenter));
    }
    ~ScopedPresenter() { DialogPresenter::install(std::move(m_previous)); }

    ScopedPresenter(const ScopedPresenter&) = delete;
    ScopedPresenter& operator=(const ScopedPresenter&) = delete;

    Presenter& presenter() const { return *m_presenter; }
    Presenter& operator*() const { return *m_presenter; }
    Presenter* operator->() const { return m_presenter; }

private:
    Presenter* m_presenter = nullptr;
    std::unique_ptr<DialogPresenter> m_previous;
};
