#pragma once

#include "tests/support/test_env.h"

#include <QApplication>
#include <QTest>

// The main of a window test: a private data folder, an offscreen QApplication, then the slots of
// the test class.
#define ZF_QTEST_MAIN(TestClass)                                                                   \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        zf::test::prepareEnvironment();                                                            \
        int rc = 0;                                                                                \
        {                                                                                          \
            QApplication app(argc, argv);                                                          \
            app.setAttribute(Qt::AA_Use96Dpi, true);                                               \
            TestClass tc;                                                                          \
            rc = QTest::qExec(&tc, argc, argv);                                                    \
        }                                                                                          \
        zf::test::cleanupEnvironment();                                                            \
        return rc;                                                                                 \
    }
