#include "tests/support/test_env.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The environment must be fixed before anything asks Qt for a standard path.
    zf::test::prepareEnvironment();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    zf::test::cleanupEnvironment();
    return rc;
}
