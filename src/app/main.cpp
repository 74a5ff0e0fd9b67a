// K7100DAQ: builds the shared state and the platform seams, runs the start-up and shows the main window;
// or, asked for a command, runs it without windows.
#include "app/CommandLineApp.h"
#include "app/MainController.h"
#include "app/StartUp.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramInfo.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "platform/QtPrompts.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"
#include "platform/ThreadedWork.h"
#include "sequence/ExampleSequence.h"
#include "store/Database.h"

#ifdef K7100_HAS_SIMULATOR
#include "sim/DemoInstrument.h"
#endif

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    // --version answers before Qt starts: it needs no display and touches nothing in the working directory.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", qPrintable(ProgramInfo::name()), qPrintable(ProgramInfo::version()));
            return 0;
        }
    }

    // A command (list, export, rheology, --help) runs without the windows.
    if (CommandLineApp::wanted(argc, argv))
        return CommandLineApp::run(argc, argv);

    QApplication app(argc, argv); // takes its own options (-platform ...) out of argv

    QStringList arguments;
    bool simulate = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--simulate"))
            simulate = true; // the demo mode is not part of the command line the program reads
        else
            arguments << argument;
    }

    const QString workDir = QDir::currentPath();
    ProgramState state;
    SteadyClock clock;
    QtPrompts prompts;
    PortMap ports;
    ports.load(workDir);
    Database database;

    QString error;
    QString location;
    if (!StartUp::openDatabase(database, workDir, &error, &location)) {
        StartUp::reportDatabaseFailure(prompts, location, error);
        return 1;
    }
    StartUp::initialiseState(state, workDir, StartUp::commandLineOf(arguments), &prompts);
    if (database.wasCreated()) {
        try {
            ExampleSequence::create(database.connection());
        } catch (const std::exception &) {
            // A new database without the example still works; the user can build sequences by hand.
        }
    }

#ifdef K7100_HAS_SIMULATOR
    // Demo mode: a simulated K7100 on a pseudo-terminal stands behind the configured "Comm n".
    std::unique_ptr<DemoInstrument> demo;
    if (simulate) {
        demo = std::make_unique<DemoInstrument>();
        QString demoError;
        if (demo->start(&demoError)) {
            ports.setOverride(state.CommPortNumber, demo->devicePath());
            fprintf(stderr, "K7100 simulator on %s (Comm %d)\n", qPrintable(demo->devicePath()), state.CommPortNumber);
        } else {
            prompts.message(QStringLiteral("The instrument simulator could not be started: %1").arg(demoError),
                            ProgramInfo::name(), MsgButtons::Ok, MsgIcon::Exclamation);
        }
    }
#else
    if (simulate)
        fprintf(stderr, "This build has no instrument simulator.\n");
#endif

    AppContext context;
    context.state = &state;
    context.prompts = &prompts;
    context.clock = &clock;
    context.database = &database;
    context.ports = &ports;
    ThreadedWork work;
    context.work = &work;
    context.makePort = [] { return std::unique_ptr<SerialPort>(new QtSerialPort); };
    context.workDir = workDir;

    frmMain mainWindow(context);
    MainController controller(context, mainWindow);
    QObject::connect(&mainWindow, &frmMain::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    mainWindow.showMaximized();
    return QApplication::exec();
}
