#pragma once
// What the user is told when a command cannot use the serial port. Each command has its own title
// (the capitalisation differs between commands and operators know them apart); the texts are fixed.
#include <QString>

// Every command that talks to the instrument, as far as its failure message differs.
enum class LinkCommand {
    SequenceDownload,     // setup screen: Send to K7100
    StartTest,            // main window: Start Test (stand-alone)
    StopTest,             // main window: Stop Test
    StoredTestUpload,     // main window: Get K7100 Data
    RealTimeStartStop,    // real-time screen: Start and Stop
    CalibrationStart,     // calibration check: Start
    DirectLogRun,         // direct logging: Run
    DirectLogSpeedOrStop, // direct logging: run-speed command and Stop
};

struct LinkFailure {
    QString title;
    QString text;

    static LinkFailure forCommand(LinkCommand command);
};
