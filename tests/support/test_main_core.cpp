// Test main of the tests of logic: a QCoreApplication (they link no widgets), for event-processing waits.
#include "tests/support/PostgresServer.h"
#include "tests/support/TestEnvironment.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestEnvironment::setDefaults();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    PostgresServer::stopShared();
    return result;
}
