#pragma once
// The wait after the start byte 5: the instrument shows it is streaming by sending its first bytes.
// The wait succeeds once at least 5 bytes are waiting and 3 whole seconds have passed (the instrument needs
// that long before its first reading is meaningful), and times out once 11 whole seconds have passed.
// The bytes are left in the port for the first tick to read.
//
// Time is measured on the Clock seam's monotonic seconds, so the wait behaves the same across a minute or
// midnight boundary. The window takes no user input while it waits (Delay), but keeps painting.
// Shared by the real-time screen and the direct-logging screen.
#include <QtGlobal>

class Clock;
class SerialLink;

class StartHandshake {
public:
    enum class Result { Answered, TimedOut, PortFailed };

    static constexpr int MinWholeSeconds = 3;      // success not before this many whole seconds
    static constexpr int TimeoutWholeSeconds = 11; // time-out once this many whole seconds have passed
    static constexpr qint64 BytesNeeded = 5;
    static constexpr double PollSeconds = 0.05;

    static Result wait(SerialLink &port, Clock &clock);
};
