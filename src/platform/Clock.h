#pragma once
// Time as the program sees it. Every wait for the instrument and every "now" of a tick goes through a
// Clock, so tests run a 98-step download or an 11-second handshake on a virtual clock in microseconds.
#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;

    // Monotonic seconds from an arbitrary origin; never jumps back (no trouble at midnight).
    virtual double now() const = 0;

    // Wall-clock date and time, for the timestamps the user sees and stores.
    virtual QDateTime currentDateTime() const = 0;

    // Blocks for the given seconds. With userInput false the windows still repaint and timers of other
    // components are not run, but clicks and keys wait until the wait ends; with userInput true every
    // pending event is processed on each turn (the window stays fully usable).
    virtual void wait(double seconds, bool userInput) = 0;
};

// The program's two wait procedures.
// Delay: the window keeps painting but takes no user input until it returns.
inline void Delay(Clock &clock, double seconds)
{
    clock.wait(seconds, false);
}
// DelayWithEvents: every event is processed while waiting, so the caller can be re-entered.
inline void DelayWithEvents(Clock &clock, double seconds)
{
    clock.wait(seconds, true);
}
