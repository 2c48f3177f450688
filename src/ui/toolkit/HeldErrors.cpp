#include "toolkit/HeldErrors.h"

#include <utility>

class HeldErrors::Holding : public DialogPresenter
{
public:
    explicit Holding(DialogPresenter& inner) : m_inner(inner) {}

    bool showMessage(MessageDialog& dialog) override { return m_inner.showMessage(dialog); }
    void showError(const QString& text) override { m_held.append(text); }
    int execModal(QDialog& window) override { return m_inner.execModal(window); }

    QStringList takeHeld() { return std::exchange(m_held, {}); }

private:
    DialogPresenter& m_inner;
    QStringList m_held;
};

HeldErrors::HeldErrors()
{
    // The presenter in force is made now if it was not yet, so that there is
    // one to show the errors through afterwards.
    DialogPresenter& inner = DialogPresenter::current();
    m_previous = DialogPresenter::install(std::make_unique<Holding>(inner));
}

HeldErrors::~HeldErrors()
{
    std::unique_ptr<DialogPresenter> holding = DialogPresenter::install(std::move(m_previous));
    auto* mine = dynamic_cast<Holding*>(holding.get());
    if (!mine)
        return;
    for (const QString& text : mine->takeHeld())
        DialogPresenter::current().showError(text);
}
