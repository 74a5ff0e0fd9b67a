#pragma once
// The main window's stand-alone test commands: start the instrument on the sequence it holds (it runs
// and stores its results itself, for a later retrieve) and stop a running test, each a single byte
// with no reply; and the guard in front of the real-time screen, which needs a sequence sent in this
// run of the program. Each command uses a port of its own for its duration.
#include <QString>

struct AppContext;

class StandAloneTest {
public:
    static constexpr char startByte = 5;
    static constexpr char stopByte = 6;

    static QString realTimeRefusedText()
    {
        return QStringLiteral("You must go to the Setup screen and send the sequence to the K7100 in order to run a "
                              "real time test.");
    }
    static QString realTimeRefusedTitle() { return QStringLiteral("Operation Error"); }

    // Start Test: opens the port of CommPortNumber, writes byte 5, closes the port. Sends whether or not
    // a sequence was sent in this run. On failure shows "Comm Port Error" and returns false.
    static bool start(AppContext &context);

    // Stop Test: opens the port, writes byte 6, closes the port. On failure shows "Comm port Error" and
    // returns false.
    static bool stop(AppContext &context);

    // Real Time Test guard: true when SequenceSent (the caller hides the main window and shows the
    // real-time screen); otherwise shows the "Operation Error" message and returns false.
    static bool realTimeAllowed(AppContext &context);
};
