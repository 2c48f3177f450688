#include "toolkit/RunReported.h"

#include "base/RydexError.h"
#include "toolkit/DialogPresenter.h"

QString errorText(const std::exception& e)
{
    if (const auto* rydex = dynamic_cast<const RydexError*>(&e))
        return rydex->text();
    return QString::fromLocal8Bit(e.what());
}

bool runReported(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        DialogPresenter::current().showError(errorText(e));
    }
    return false;
}
