#pragma once

#include "toolkit/DialogPresenter.h"

#include <QStringList>
#include <memory>

// Error boxes raised while windows are still being made wait until they are
// whole: a real box runs an event loop, which would deliver events (a layout,
// a resize) to a window whose controls do not exist yet. While an object of
// this class lives, errors are kept in order; when it goes, they are shown
// through the presenter that was in force before. Messages that need an
// answer and modal windows are not held.
class HeldErrors
{
public:
    HeldErrors();
    ~HeldErrors();
    HeldErrors(const HeldErrors&) = delete;
    HeldErrors& operator=(const HeldErrors&) = delete;

private:
    class Holding;
    std::unique_ptr<DialogPresenter> m_previous;
};
