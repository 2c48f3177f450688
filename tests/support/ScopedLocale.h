#pragma once

#include <QLocale>

// Makes a locale the default for a scope and brings back the one before when
// the scope is left, also when a failed comparison leaves it early, so that
// the next test still runs in the locale the test environment fixed.
class ScopedLocale
{
public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    explicit ScopedLocale(const QString& name) : ScopedLocale(QLocale(name)) {}
    ~ScopedLocale() { QLocale::setDefault(m_previous); }

    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    QLocale m_previous; // the default at construction
};
