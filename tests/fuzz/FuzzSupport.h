#pragma once

// What every fuzz target shares: reading the fuzzer's bytes, choosing a
// locale, and stopping with a message when a checked property does not hold.

#include "base/RydexError.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that must hold for every input; a failure is a finding, so the
// fuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", __FILE__, __LINE__,            \
                         #condition, qPrintable(QString(detail)));                                 \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace Fuzz {

// The fuzzer's bytes, taken from the front: a few choices first, then the
// rest as the text or file under test.
class Input
{
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t byte()
    {
        if (m_size == 0)
            return 0;
        --m_size;
        return *m_data++;
    }
    QByteArray rest() const
    {
        return QByteArray(reinterpret_cast<const char*>(m_data), qsizetype(m_size));
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

// Locales whose separators, signs, scripts or code pages differ from each
// other's: a decimal comma, a non-ASCII minus, right-to-left digits,
// double-byte code pages, a Turkish dotless i.
inline QLocale locale(uint8_t choice)
{
    static const QLocale locales[] = {
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::Czech, QLocale::CzechRepublic),
        QLocale(QLocale::German, QLocale::Switzerland),
        QLocale(QLocale::Swedish, QLocale::Sweden),
        QLocale(QLocale::Russian, QLocale::Russia),
        QLocale(QLocale::Turkish, QLocale::Turkey),
        QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Persian, QLocale::Iran),
        QLocale(QLocale::Hebrew, QLocale::Israel),
        QLocale(QLocale::Vietnamese, QLocale::Vietnam),
        QLocale(QLocale::Thai, QLocale::Thailand),
        QLocale(QLocale::Japanese, QLocale::Japan),
        QLocale(QLocale::Chinese, QLocale::China),
        QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan),
        QLocale(QLocale::Korean, QLocale::SouthKorea),
    };
    return locales[choice % (sizeof(locales) / sizeof(locales[0]))];
}

// Runs a step for which a RydexError is the program's answer to bad input,
// not a fault. Returns whether the step went through.
template <typename Step> bool acceptingRydexError(Step&& step)
{
    try {
        step();
        return true;
    } catch (const RydexError&) {
        return false;
    }
}

} // namespace Fuzz
