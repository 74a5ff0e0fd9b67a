#pragma once
// The real clock: monotonic time from QElapsedTimer and waits that keep the event loop turning.
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
