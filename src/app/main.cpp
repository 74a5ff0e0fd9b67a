// K7100DAQ: builds the shared state and the platform seams, runs the start-up and shows the main window.
#include "app/StartUp.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "platform/QtPrompts.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"
#include "store/Database.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);  // takes its own options (-platform ...) out of argv

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const QString workDir = QDir::currentPath();
    ProgramState state;
    SteadyClock clock;
    QtPrompts prompts;
    PortMap ports;
    ports.load(workDir);
    Database database;

    QString error;
    if (!StartUp::openDatabase(database, workDir, &error)) {
        StartUp::reportDatabaseFailure(prompts, QDir(workDir).filePath(Database::defaultFileName()), error);
        return 1;
    }
    StartUp::initialiseState(state, workDir, StartUp::commandLineOf(arguments));

    AppContext context;
    context.state = &state;
    context.prompts = &prompts;
    context.clock = &clock;
    context.database = &database;
    context.ports = &ports;
    context.makePort = [] { return std::unique_ptr<SerialPort>(new QtSerialPort); };
    context.workDir = workDir;

    frmMain mainWindow(context);
    QObject::connect(&mainWindow, &frmMain::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    mainWindow.showMaximized();
    return app.exec();
}
