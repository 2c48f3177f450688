#include "toolkit/DialogPresenter.h"

#include "toolkit/WidgetPresenter.h"

#include <utility>

namespace {
// The presenter in force. Empty until first needed, so that a test that
// installs its own presenter before anything is raised never builds the real one.
std::unique_ptr<DialogPresenter>& installed()
{
    static std::unique_ptr<DialogPresenter> presenter;
    return presenter;
}
} // namespace

DialogPresenter& DialogPresenter::current()
{
    std::unique_ptr<DialogPresenter>& presenter = installed();
    if (!presenter)
        presenter = std::make_unique<WidgetPresenter>();
    return *presenter;
}

std::unique_ptr<DialogPresenter>
DialogPresenter::install(std::unique_ptr<DialogPresenter> presenter)
{
    // An empty presenter puts the real windows back (built when next needed);
    // the one returned may be empty when nothing had been raised yet.
    return std::exchange(installed(), std::move(presenter));
}

QString standardErrorText(const QString& text)
{
    if (text.isEmpty())
        return text;
    // Compared by code point, so a text ending in any letter outside ASCII
    // (or in half of a surrogate pair) gets its full stop as well.
    if (text.back().unicode() > u'.')
        return text + QLatin1Char('.');
    return text;
}
