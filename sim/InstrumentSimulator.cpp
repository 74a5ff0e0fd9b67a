#include "sim/InstrumentSimulator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {
// Seconds in which the structure of a rested gel breaks down once the rotor turns again.
constexpr double kGelBreakdownSeconds = 5.0;
constexpr qint64 kNever = std::numeric_limits<qint64>::max();
} // namespace

InstrumentSimulator::InstrumentSimulator(const SimulatorOptions &options)
    : options_(options), fluid_(options.fluid), temperatureF_(options.ambientF), rng_(options.seed)
{}

void InstrumentSimulator::log(const QString &text) const
{
    if (log_)
        log_(text);
}

double InstrumentSimulator::tableRateFactor(int rotorBob)
{
    switch (rotorBob) {
    case 2: return 3.185;
    case 3: // R1-B3 and R1-B4 shear at the same rate
    case 4: return 0.2215;
    case 5: return 0.4995;
    case 6: return 0.1574;
    default: return 1.0; // R1-B1, and any code the table does not know
    }
}

double InstrumentSimulator::shearRatePerRpm(int rotorBob) const
{
    if (options_.customRateFactor)
        return *options_.customRateFactor;
    return kR1B1ShearRatePerRpm * tableRateFactor(rotorBob);
}

qint64 InstrumentSimulator::tickTime(qint64 k) const
{
    return runStartMs_ + std::llround(double(k) * 1000.0 / options_.rate);
}

qint64 InstrumentSimulator::nextEventAt() const
{
    qint64 next = kNever;
    if (!out_.isEmpty())
        next = std::min(next, out_.front().due);
    if (runKind_ != RunKind::None)
        next = std::min(next, tickTime(ticksDone_ + 1));
    if (byte8Deadline_ >= 0)
        next = std::min(next, byte8Deadline_);
    if (endlessNextMs_ >= 0)
        next = std::min(next, endlessNextMs_);
    return next == kNever ? -1 : next;
}

void InstrumentSimulator::advanceTo(qint64 ms)
{
    for (;;) {
        const qint64 tick = runKind_ != RunKind::None ? tickTime(ticksDone_ + 1) : kNever;
        const qint64 grace = byte8Deadline_ >= 0 ? byte8Deadline_ : kNever;
        const qint64 endless = endlessNextMs_ >= 0 ? endlessNextMs_ : kNever;
        const qint64 next = std::min({tick, grace, endless});
        if (next > ms)
            break;
        now_ = std::max(now_, next);
        if (endless <= std::min(tick, grace)) {
            sendMoreEndlessUpload();
        } else if (grace <= tick) {
            byte8Deadline_ = -1;
            for (const auto &cmd : parser_.flushPending())
                handle(cmd);
        } else {
            simulateSecond();
        }
    }
    now_ = std::max(now_, ms);
}

void InstrumentSimulator::receive(const QByteArray &bytes)
{
    if (endlessNextMs_ >= 0 && !bytes.isEmpty()) {
        endlessNextMs_ = -1;
        log(QStringLiteral("failure mode: endless upload ended after %1 bytes").arg(endlessSent_));
    }
    for (char b : bytes) {
        if (options_.failures.silentAfterByte && !muted_
            && int(static_cast<unsigned char>(b)) == *options_.failures.silentAfterByte) {
            muted_ = true;
            out_.clear();
            log(QStringLiteral("failure mode: silent from now on (byte %1 received)")
                    .arg(int(static_cast<unsigned char>(b))));
        }
        for (const auto &cmd : parser_.feed(b))
            handle(cmd);
    }
    if (!parser_.holdsLoneByte8())
        byte8Deadline_ = -1;
    else if (byte8Deadline_ < 0)
        byte8Deadline_ = now_ + kByte8GraceMs;
}

QByteArray InstrumentSimulator::takeOutput()
{
    QByteArray bytes;
    while (!out_.isEmpty() && out_.front().due <= now_)
        bytes += out_.takeFirst().bytes;
    return bytes;
}

void InstrumentSimulator::enqueue(const QByteArray &bytes, qint64 due)
{
    if (muted_ || disconnected_ || bytes.isEmpty())
        return;
    // A later write never overtakes an earlier one on the line.
    due = std::max(due, lastDue_);
    lastDue_ = due;
    out_.append({due, bytes});
}

void InstrumentSimulator::enqueueWithPause(const QByteArray &bytes, int pauseMs)
{
    if (pauseMs <= 0 || bytes.size() < 2) {
        enqueue(bytes, now_);
        return;
    }
    const qsizetype half = bytes.size() / 2;
    enqueue(bytes.left(half), now_);
    enqueue(bytes.mid(half), now_ + pauseMs);
}

void InstrumentSimulator::handle(const CommandParser::Command &cmd)
{
    using Type = CommandParser::Command::Type;
    switch (cmd.type) {
    case Type::Download:
        steps_ = cmd.steps;
        ++downloads_;
        constantSpeedSelected_ = false;
        log(QStringLiteral("sequence received: %1 step(s)").arg(steps_.size()));
        break;
    case Type::Rejected:
        ++rejected_;
        lastRejection_ = cmd.problem;
        log(QStringLiteral("download or command ignored: %1").arg(cmd.problem));
        break;
    case Type::Start: startRun(); break;
    case Type::Stop:
        if (runKind_ != RunKind::None)
            stopRun(QStringLiteral("stopped by byte 6"));
        else
            log(QStringLiteral("stop byte with no run"));
        break;
    case Type::UploadRequest:
        if (options_.customRateFactor) {
            const int code = int(std::lround(*options_.customRateFactor * 1000.0));
            const QByteArray reply = QByteArray::number(code).rightJustified(4, '0') + kEndOfStoredData;
            enqueue(reply, now_);
            log(QStringLiteral("upload request: custom rotor-bob factor %1 reported").arg(code));
        } else {
            log(QStringLiteral("upload request: standard rotor-bob, no reply"));
        }
        break;
    case Type::SendStoredData: sendStoredData(); break;
    case Type::RunSpeed: {
        constantSpeed_ = cmd.steps.front();
        constantSpeedSelected_ = true;
        log(QStringLiteral("run speed: %1 rpm, rotor-bob %2")
                .arg(constantSpeed_.speedHundredths / 100.0)
                .arg(constantSpeed_.rotorBob));
        if (runKind_ == RunKind::ConstantSpeed) {
            runSteps_[0].speedHundredths = constantSpeed_.speedHundredths;
            runSteps_[0].rotorBob = constantSpeed_.rotorBob;
            runSteps_[0].temperatureF = constantSpeed_.temperatureF;
        }
        break;
    }
    }
}

bool InstrumentSimulator::skipEmptySteps()
{
    while (stepIndex_ < runSteps_.size() && runSteps_[stepIndex_].seconds <= 0)
        ++stepIndex_;
    return stepIndex_ < runSteps_.size();
}

void InstrumentSimulator::startRun()
{
    if (runKind_ != RunKind::None)
        log(QStringLiteral("start byte during a run: starting again"));
    runKind_ = constantSpeedSelected_ ? RunKind::ConstantSpeed : RunKind::Sequence;
    runSteps_ = constantSpeedSelected_ ? QList<SimStep>{constantSpeed_} : steps_;
    stepIndex_ = 0;
    secondsInStep_ = 0;
    ticksDone_ = 0;
    messagesInRun_ = 0;
    runStartMs_ = now_;
    stepFollowsRest_ = false;
    stepGel_ = 0;
    rng_.seed(options_.seed);
    if (runKind_ == RunKind::Sequence)
        memory_.clear();

    if (!skipEmptySteps()) {
        runKind_ = RunKind::None;
        log(QStringLiteral("start byte: no step to run, end byte sent"));
        if (!options_.failures.dropEndByte)
            enqueue(QByteArray(1, kEndOfSequence), now_);
        return;
    }
    log(runKind_ == RunKind::Sequence
            ? QStringLiteral("run started: sequence of %1 step(s)").arg(runSteps_.size())
            : QStringLiteral("run started: constant %1 rpm").arg(runSteps_[0].speedHundredths / 100.0));
}

void InstrumentSimulator::stopRun(const QString &why)
{
    runKind_ = RunKind::None;
    log(QStringLiteral("run ended (%1) after %2 message(s)").arg(why).arg(messagesInRun_));
}

double InstrumentSimulator::normalNoise()
{
    // Box-Muller on the engine's own 53-bit uniforms: the same seed gives the same numbers everywhere.
    const double scale = 1.0 / 9007199254740992.0; // 2^-53
    const double u1 = (double(rng_() >> 11) + 1.0) * scale;
    const double u2 = double(rng_() >> 11) * scale;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

SimReading InstrumentSimulator::takeReading(const SimStep &step)
{
    const double rpm = double(step.speedHundredths) / 100.0;
    qint64 stress = 0;
    if (rpm > 0.0) {
        if (restSeconds_ > 0.0) {
            structure_ = fluid_.gelStrength(restSeconds_);
            secondsSinceRestart_ = 0.0;
            restSeconds_ = 0.0;
            stepFollowsRest_ = true;
        }
        double s = fluid_.shearStress(rpm * shearRatePerRpm(step.rotorBob), temperatureF_)
            + structure_ * std::exp(-secondsSinceRestart_ / kGelBreakdownSeconds);
        secondsSinceRestart_ += 1.0;
        if (options_.noise > 0.0)
            s += options_.noise * normalNoise();
        stress = std::max<qint64>(0, std::llround(s));
    } else {
        restSeconds_ += 1.0;
        structure_ = 0.0;
    }
    // The gel reading is the peak stress of the first step that shears again after a rest.
    if (stepFollowsRest_)
        stepGel_ = std::max(stepGel_, stress);

    SimReading r;
    r.step = step.stepNo;
    r.seconds = secondsInStep_;
    r.temperatureF = int(std::max<qint64>(0, std::llround(temperatureF_)));
    r.shearStress = stress;
    r.gel = stepGel_;
    r.speedHundredths = step.speedHundredths;
    r.rotorBob = step.rotorBob;
    return r;
}

void InstrumentSimulator::emitMessage(const SimReading &reading)
{
    const int index = messagesInRun_ + 1;
    const FailureModes &f = options_.failures;
    if (f.quietAfterMessages > 0 && index > f.quietAfterMessages
        && (f.quietForMessages == 0 || index <= f.quietAfterMessages + f.quietForMessages)) {
        if (index == f.quietAfterMessages + 1)
            log(QStringLiteral("failure mode: quiet from message %1 on").arg(index));
        messagesInRun_ = index;
        return;
    }
    QByteArray bytes = reading.toMessage();
    if (options_.failures.garbageEvery > 0 && index % options_.failures.garbageEvery == 0)
        bytes.prepend(FailureModes::garbageBytes());
    if (options_.failures.splitDelayMs > 0) {
        const qsizetype half = bytes.size() / 2;
        enqueue(bytes.left(half), now_);
        enqueue(bytes.mid(half), now_ + options_.failures.splitDelayMs);
    } else {
        enqueue(bytes, now_);
    }
    messagesInRun_ = index;
    if (options_.failures.disconnectAfterMessages > 0 && index >= options_.failures.disconnectAfterMessages) {
        disconnected_ = true;
        stopRun(QStringLiteral("failure mode: line dropped"));
    }
}

void InstrumentSimulator::simulateSecond()
{
    ++ticksDone_;
    const SimStep step = runSteps_[stepIndex_];
    ++secondsInStep_;
    if (secondsInStep_ == 1) {
        stepFollowsRest_ = false;
        stepGel_ = 0;
    }

    const double tau = options_.heaterTimeConstant;
    const double alpha = tau > 0.0 ? 1.0 - std::exp(-1.0 / tau) : 1.0;
    temperatureF_ += (double(step.temperatureF) - temperatureF_) * alpha;

    const SimReading reading = takeReading(step);
    emitMessage(reading);
    if (runKind_ == RunKind::None)
        return; // the line dropped

    if (runKind_ == RunKind::Sequence && memory_.size() < options_.memoryCapacity
        && (secondsInStep_ % options_.storeInterval == 0 || secondsInStep_ >= step.seconds))
        memory_.append(reading);

    if (secondsInStep_ < step.seconds)
        return;
    ++stepIndex_;
    secondsInStep_ = 0;
    if (skipEmptySteps())
        return;
    if (options_.failures.dropEndByte)
        log(QStringLiteral("failure mode: end byte not sent"));
    else
        enqueue(QByteArray(1, kEndOfSequence), now_);
    stopRun(QStringLiteral("last step done"));
}

void InstrumentSimulator::sendStoredData()
{
    QByteArray reply;
    for (const SimReading &r : memory_)
        reply += r.toRecord();
    if (options_.failures.endlessUpload) {
        enqueue(reply, now_);
        endlessSent_ = reply.size();
        endlessNextMs_ = now_ + kEndlessChunkMs;
        log(QStringLiteral("failure mode: upload reply that never ends"));
        return;
    }
    if (options_.failures.cutUpload && !memory_.isEmpty()) {
        // The last record keeps its first three fields and their separators, then the end byte follows.
        const SimReading &last = memory_.back();
        reply.chop(last.toRecord().size());
        reply += QByteArray::number(last.step) + ',' + QByteArray::number(last.seconds) + ','
            + QByteArray::number(last.temperatureF) + ',';
        log(QStringLiteral("failure mode: last upload record cut short"));
    }
    reply += kEndOfStoredData;
    enqueueWithPause(reply, options_.failures.replyPauseMs);
    log(QStringLiteral("stored data sent: %1 reading(s)").arg(memory_.size()));
}

void InstrumentSimulator::sendMoreEndlessUpload()
{
    // Records that look like readings, step 1 onwards, each with its separators and no end byte.
    QByteArray chunk;
    for (int i = 0; i < 20; ++i) {
        SimReading r;
        r.step = 1;
        r.seconds = endlessSent_ % 60000;
        r.temperatureF = 100;
        r.shearStress = 150;
        r.speedHundredths = 30000;
        r.rotorBob = 1;
        chunk += r.toRecord();
    }
    enqueue(chunk, now_);
    endlessSent_ += chunk.size();
    endlessNextMs_ = endlessSent_ < kEndlessCapBytes ? now_ + kEndlessChunkMs : -1;
}
