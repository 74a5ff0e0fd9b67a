#pragma once
// The program's seams wired to a simulated K7100 on a pseudo-terminal, for the runs in this folder: "Comm n"
// opens the pty through QtSerialPort, the prompts are scripted and the clock is the test's own. A run that
// needs the database or a working directory sets ctx.database / ctx.workDir itself.
//
//   RealTimeScaledClock clock(20);
//   SimulatedLine line(options, clock);
//   ASSERT_TRUE(line.ok) << line.error.toStdString();
//   SequenceDownload::send(line.ctx, name, rotorBob, ...);   // line.host.simulator() shows what the instrument got
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "link/DownloadProgress.h"
#include "platform/PortMap.h"
#include "platform/QtSerialPort.h"
#include "sim/PtyHost.h"
#include "tests/support/ScriptedPrompts.h"

#include <memory>

struct SimulatedLine {
    static constexpr int comm = 4;

    SimulatedLine(const SimulatorOptions &options, Clock &clock) : host(options)
    {
        ok = host.open(&error);
        ports.setOverride(comm, host.devicePath());
        state.CommPortNumber = comm;
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.ports = &ports;
        ctx.makePort = [] { return std::unique_ptr<SerialPort>(new QtSerialPort); };
    }

    PtyHost host;
    bool ok = false;
    QString error;
    ProgramState state;
    ScriptedPrompts prompts;
    PortMap ports;
    AppContext ctx;
};

// A sequence download nobody watches.
class SilentProgress : public DownloadProgress {
public:
    void setStatus(const QString &) override {}
    void showProgress(int) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
};
