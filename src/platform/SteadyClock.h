#pragma once
// The real clock: monotonic time from QElapsedTimer. Its waits repaint the windows (Delay) or keep the
// whole event loop turning (DelayWithEvents), as Clock describes.
#include "platform/Clock.h"

#include <QElapsedTimer>

class SteadyClock : public Clock {
public:
    SteadyClock();
    double now() const override;
    QDateTime currentDateTime() const override;
    void wait(double seconds, bool userInput) override;

private:
    QElapsedTimer timer_;
};
