// Lets one program hold the Qt Test classes of an area. Each test file ends
// with QUELRO_TEST_MAIN(Class) (or registers a runner of its own); the
// program's main runs the class named by its first argument - the file's
// base name - so that ctest still starts every class in a process of its own,
// with a fresh application, under the name it always had.
#pragma once

#include <QApplication>
#include <QTest>

#include <functional>

namespace quelro::test {

// A runner builds its application and test object and returns qExec's status.
using QtTestRunner = std::function<int(int argc, char** argv)>;

// Registers `runner` under the base name of `sourceFile` (`__FILE__`).
// Returns a value so that a namespace-scope constant can do it.
int RegisterQtTest(const char* sourceFile, QtTestRunner runner);

} // namespace quelro::test

// The test program's counterpart of QTEST_MAIN / QTEST_GUILESS_MAIN.
#define QUELRO_TEST_MAIN(Class)                                                                    \
    namespace {                                                                                    \
    const int quelroTestRegistration =                                                             \
        ::quelro::test::RegisterQtTest(__FILE__, [](int argc, char** argv) {                       \
            QApplication app(argc, argv);                                                          \
            app.setAttribute(Qt::AA_Use96Dpi, true);                                               \
            Class test;                                                                            \
            return QTest::qExec(&test, argc, argv);                                                \
        });                                                                                        \
    }
#define QUELRO_TEST_GUILESS_MAIN(Class)                                                            \
    namespace {                                                                                    \
    const int quelroTestRegistration =                                                             \
        ::quelro::test::RegisterQtTest(__FILE__, [](int argc, char** argv) {                       \
            QCoreApplication app(argc, argv);                                                      \
            Class test;                                                                            \
            return QTest::qExec(&test, argc, argv);                                                \
        });                                                                                        \
    }
