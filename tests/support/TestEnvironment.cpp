#include "tests/support/TestEnvironment.h"

#include <QByteArray>
#include <QtGlobal>

void TestEnvironment::setDefaults()
{
    if (!qEnvironmentVariableIsSet("K7100_OPENPYXL_PYTHON"))
        qputenv("K7100_OPENPYXL_PYTHON", QByteArray(K7100_TEST_OPENPYXL_PYTHON));
    if (!qEnvironmentVariableIsSet("K7100SIM_PATH"))
        qputenv("K7100SIM_PATH", QByteArray(K7100_TEST_SIMULATOR));
}
