#pragma once
// The simulated instrument inside the program, for the demo mode: a pseudo-terminal with the simulator
// behind it, served by a thread of its own so it answers even while the program blocks its own thread
// in a wait. The program then opens devicePath() like any serial port.
//
//   DemoInstrument demo;                       // or DemoInstrument demo(options)
//   QString error;
//   if (demo.start(&error))
//       portMap.setOverride(state.CommPortNumber, demo.devicePath());
#include "sim/SimulatorOptions.h"

#include <QObject>
#include <QString>
#include <QThread>

class PtyHost;

class DemoInstrument : public QObject {
    Q_OBJECT
public:
    // A drilling mud that shows everything the program derives: Bingham, plastic viscosity 20 cP, yield
    // stress 48 dyn/cm2, gels 24 / 48 dyn/cm2, thinning with temperature, a little noise; real time (rate 1).
    static SimulatorOptions demoOptions();

    explicit DemoInstrument(QObject *parent = nullptr);
    explicit DemoInstrument(const SimulatorOptions &options, QObject *parent = nullptr);
    ~DemoInstrument() override;

    // Creates the pseudo-terminal and starts answering. False, with the reason in *error, when the system
    // has no pseudo-terminal to give.
    bool start(QString *error = nullptr);
    // Drops the line and ends the thread; also done by the destructor.
    void stop();
    bool isRunning() const { return host_ != nullptr; }

    // The device to open, e.g. /dev/pts/5; empty before start().
    QString devicePath() const { return device_; }

private:
    SimulatorOptions options_;
    QThread thread_;
    QObject *anchor_ = nullptr;
    PtyHost *host_ = nullptr;
    QString device_;
};
