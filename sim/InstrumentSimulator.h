#pragma once
// The simulated K7100 without any I/O: bytes the program sent go in through receive(), bytes the instrument
// sends come out of takeOutput(). Time is whatever the host says it is (advanceTo, in milliseconds), so a
// test can run an hour-long sequence in microseconds and check every byte. The host (PtyHost, a test)
// advances the time, feeds what it read and writes what is due; nextEventAt() tells it when to come back.
//
// What the instrument does:
// - keeps the last complete sequence download (byte 3 ... "99"); a broken or interrupted download leaves
//   the previous sequence in place;
// - on byte 5 runs its program: the kept sequence, or the constant speed of the last run-speed command
//   when that came after the last download. Each simulated second it sends one real-time data message;
//   after the last second of the last step it sends the end byte 8. The first message follows one
//   simulated second after the start byte, which is the answer the program's start handshake waits for;
// - byte 6 stops a run; nothing is sent;
// - while a sequence runs it keeps readings in its memory (every storeInterval seconds of a step and at
//   each step's end, at most memoryCapacity of them); byte 1 sends them as stored-test records ended by
//   byte 2. A new sequence run empties the memory first;
// - byte 8 (the upload request) is answered only when a custom rotor-bob factor is configured: four
//   digits of factor x 1000 and byte 2 ("1234" + byte 2 for 1.234);
// - byte 8 followed by "1,60000,35,<speed*100>,<code>" (the run-speed command) selects a constant-speed
//   program; during a constant-speed run it changes the speed at once.
#include "sim/CommandParser.h"
#include "sim/FluidModel.h"
#include "sim/SimReading.h"
#include "sim/SimStep.h"
#include "sim/SimulatorOptions.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <optional>
#include <random>

class InstrumentSimulator {
public:
    enum class RunKind { None, Sequence, ConstantSpeed };

    // How long a lone byte 8 waits for the digits of a run-speed command before it counts as the upload
    // request. Well inside the program's 0.4 s quiet time, so the reply still belongs to the request.
    static constexpr qint64 kByte8GraceMs = 100;
    static constexpr char kEndOfSequence = 8;
    static constexpr char kEndOfStoredData = 2;
    // Shear rate of the R1-B1 rotor-bob in 1/s per rpm.
    static constexpr double kR1B1ShearRatePerRpm = 1.7023;
    // The endless upload: a chunk of records every kEndlessChunkMs, until a byte comes or kEndlessCapBytes
    // went out (so a forgotten simulator does not fill the disk of whoever logs it).
    static constexpr qint64 kEndlessChunkMs = 10;
    static constexpr qint64 kEndlessCapBytes = 4 * 1024 * 1024;

    explicit InstrumentSimulator(const SimulatorOptions &options = {});

    const SimulatorOptions &options() const { return options_; }
    void setLogger(std::function<void(const QString &)> logger) { log_ = std::move(logger); }

    qint64 now() const { return now_; }
    // Moves the instrument's time forward (never back), producing every reading that falls due.
    void advanceTo(qint64 ms);
    void advanceBy(qint64 ms) { advanceTo(now_ + ms); }
    // When the next reading, delayed write or byte-8 decision is due; -1 when the instrument waits for input.
    qint64 nextEventAt() const;

    // Bytes from the program, at the current time.
    void receive(const QByteArray &bytes);
    // Bytes due for the line by now, in order.
    QByteArray takeOutput();
    bool hasPendingOutput() const { return !out_.isEmpty(); }

    // The disconnect failure mode fired: the host should drop the line once the pending output is out.
    bool disconnectRequested() const { return disconnected_; }

    // What the instrument holds.
    const QList<SimStep> &steps() const { return steps_; }
    int downloadsReceived() const { return downloads_; }
    int downloadsRejected() const { return rejected_; }
    QString lastRejection() const { return lastRejection_; }
    std::optional<SimStep> constantSpeedProgram() const
    {
        if (!constantSpeedSelected_)
            return std::nullopt;
        return constantSpeed_;
    }
    const QList<SimReading> &storedReadings() const { return memory_; }

    RunKind running() const { return runKind_; }
    int messagesInRun() const { return messagesInRun_; }
    double sampleTemperatureF() const { return temperatureF_; }

    // Shear rate in 1/s per rpm for a rotor-bob code (the custom factor when one is configured).
    double shearRatePerRpm(int rotorBob) const;
    static double tableRateFactor(int rotorBob);

private:
    void handle(const CommandParser::Command &cmd);
    void startRun();
    void stopRun(const QString &why);
    void simulateSecond();
    bool skipEmptySteps();
    SimReading takeReading(const SimStep &step);
    void emitMessage(const SimReading &reading);
    void sendStoredData();
    void sendMoreEndlessUpload();
    void enqueue(const QByteArray &bytes, qint64 due);
    void enqueueWithPause(const QByteArray &bytes, int pauseMs);
    qint64 tickTime(qint64 k) const;
    double normalNoise();
    void log(const QString &text) const;

    SimulatorOptions options_;
    FluidModel fluid_;
    CommandParser parser_;
    std::function<void(const QString &)> log_;

    qint64 now_ = 0;
    qint64 byte8Deadline_ = -1;

    struct Out {
        qint64 due;
        QByteArray bytes;
    };
    QList<Out> out_;
    qint64 lastDue_ = 0;
    bool muted_ = false;
    bool disconnected_ = false;
    // The endless-upload failure mode: when the next chunk goes out (-1: not running), and how much went.
    qint64 endlessNextMs_ = -1;
    qint64 endlessSent_ = 0;

    QList<SimStep> steps_;
    int downloads_ = 0;
    int rejected_ = 0;
    QString lastRejection_;
    SimStep constantSpeed_;
    bool constantSpeedSelected_ = false;
    QList<SimReading> memory_;

    RunKind runKind_ = RunKind::None;
    QList<SimStep> runSteps_;
    qsizetype stepIndex_ = 0;
    qint64 secondsInStep_ = 0;
    qint64 ticksDone_ = 0;
    qint64 runStartMs_ = 0;
    int messagesInRun_ = 0;

    // The sample and the rotor.
    double temperatureF_;
    double restSeconds_ = 0.0;
    double structure_ = 0.0;
    double secondsSinceRestart_ = 0.0;
    bool stepFollowsRest_ = false;
    qint64 stepGel_ = 0;
    std::mt19937_64 rng_;
};
