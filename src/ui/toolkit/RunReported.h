#pragma once

#include <exception>
#include <functional>

#include <QString>

// A command's errors end it in the standard error box and the program goes
// on: every window runs its commands and steps through this one helper.

// The text the standard error box shows for an error: a RydexError's own
// text, anything else's what().
QString errorText(const std::exception& e);
// Runs step; an error it throws is shown in the standard error box. False
// when one was.
bool runReported(const std::function<void()>& step);
