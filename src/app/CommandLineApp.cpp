#include "app/CommandLineApp.h"

#include "app/CommandLine.h"
#include "reports/PdfReport.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

namespace CommandLineApp {

bool wanted(int argc, char **argv)
{
    return CommandLine::isCommand(argumentsOf(argc, argv));
}

int run(int argc, char **argv)
{
    // Qt's own notices (a missing runtime directory on a headless machine, the offscreen platform's
    // remarks) are no concern of a command's user: standard error carries only the command's failure.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    const QStringList arguments = argumentsOf(argc, argv);
    const CommandLine::Parsed parsed = CommandLine::parse(arguments);
    std::unique_ptr<QCoreApplication> app;
    if (parsed.request && CommandLine::needsPdf(*parsed.request)) {
        // Qt Charts draws the report's chart and needs a QApplication; the offscreen platform gives one
        // without a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    const CommandLine::PdfWriter pdf = [](const ReportSource &source, QIODevice &device, QString *error) {
        return PdfReport::write(source, device, PdfReport::pageSizeFor(QLocale()), error);
    };
    return CommandLine::main(arguments, QDir::currentPath(), out, err, pdf);
}

} // namespace CommandLineApp
