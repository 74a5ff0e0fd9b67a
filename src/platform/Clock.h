#pragma once
// Time as the program sees it. Every wait for the instrument and every "now" of a tick goes through a
// Clock, so tests run a 98-step download or an 11-second handshake on a virtual clock in microseconds.
//
// Commands wait through Delay and DelayWithEvents below, never through wait() directly: those two mark the
// clock as busy with a command's wait (commandWaiting()), and the handlers that read or write the serial
// line on a timer (the real-time, direct-logging and calibration ticks) leave their turn while it is, so
// none of them runs inside another command's exchange with the instrument. A tick left out loses nothing:
// what the instrument sent waits in the port for the next one.
#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;

    // Monotonic seconds from an arbitrary origin; never jumps back (no trouble at midnight).
    virtual double now() const = 0;

    // Wall-clock date and time, for the timestamps the user sees and stores.
    virtual QDateTime currentDateTime() const = 0;

    // Blocks for the given seconds. With userInput false the windows repaint and nothing else runs: no
    // timer, no queued call, no click or key until the wait ends. With userInput true every pending event is
    // processed on each turn (the window stays fully usable, its timers run).
    virtual void wait(double seconds, bool userInput) = 0;

    // True while a command is inside Delay or DelayWithEvents on this clock.
    bool commandWaiting() const { return commandWaits_ > 0; }

    // Marks a command's wait for as long as it lives.
    class CommandWait {
    public:
        explicit CommandWait(Clock &clock) : clock_(clock) { ++clock_.commandWaits_; }
        ~CommandWait() { --clock_.commandWaits_; }
        CommandWait(const CommandWait &) = delete;
        CommandWait &operator=(const CommandWait &) = delete;

    private:
        Clock &clock_;
    };

private:
    int commandWaits_ = 0;
};

// The program's two wait procedures.
// Delay: the window keeps painting but nothing else runs until it returns.
inline void Delay(Clock &clock, double seconds)
{
    const Clock::CommandWait busy(clock);
    clock.wait(seconds, false);
}
// DelayWithEvents: every event is processed while waiting, so the caller's own window can be used (and its
// handler re-entered); the serial ticks of other windows still wait for the command to finish.
inline void DelayWithEvents(Clock &clock, double seconds)
{
    const Clock::CommandWait busy(clock);
    clock.wait(seconds, true);
}
