// Test main of the tests that use windows: a QApplication on the offscreen platform (unless the caller chose
// another one), so widget tests and event-processing waits work without a display; scripted print dialogs
// print to a PDF file.
#include "tests/support/PostgresServer.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QPrinter>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedPrompts::routePrinterToPdf = [](QPrinter &printer, const QString &path) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    };
    TestEnvironment::setDefaults();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    PostgresServer::stopShared();
    return result;
}
