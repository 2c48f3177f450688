#pragma once

#include <cmath>
#include <limits>
#include <optional>

#include <QtGlobal>

// A whole number from a value a file gives, or nothing where it is none: not
// a number, or beyond what an int holds. A damaged file must not make one up,
// and converting such a value would be undefined.
inline std::optional<int> wholeNumber(double v)
{
    if (!std::isfinite(v) || v < double(std::numeric_limits<int>::min()) ||
        v > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(v);
}

// The same for a count of seconds or milliseconds: far inside what a qint64
// holds, so that a few of them added stay inside too.
inline std::optional<qint64> wholeNumber64(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > 1e15)
        return std::nullopt;
    return qint64(v);
}
