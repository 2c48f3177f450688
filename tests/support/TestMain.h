#pragma once

#include <QString>
#include <QtTest>

namespace TestEnv {
// Points HOME, the XDG directories and the working directory at a fresh
// temporary folder, fixes "today" and the locale, so that no test touches the
// user's files or depends on the machine it runs on. Call before the
// application object exists.
void prepare();
// Called once the application object exists.
void afterApplication();
// The temporary root prepared above.
QString root();
// Today as the tests see it.
QDate today();
} // namespace TestEnv

#define RYDEX_TEST_MAIN(TestObject, AppClass)                                                      \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestEnv::prepare();                                                                        \
        AppClass app(argc, argv);                                                                  \
        TestEnv::afterApplication();                                                               \
        TestObject tc;                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
