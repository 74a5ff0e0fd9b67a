// Test main of the tests of logic: a QCoreApplication (they link no widgets), for event-processing waits.
#include "tests/support/TestEnvironment.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestEnvironment::setDefaults();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
