#pragma once
// A clock for runs against the simulator at an accelerated rate: its seconds pass `rate` times faster than
// real ones, and its waits process events (so the pty host keeps the simulated instrument going). With
// the simulator at the same rate, the program's 3-second handshake and the instrument's one reading a
// second keep their proportions while the test takes a fraction of the time.
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

class RealTimeScaledClock : public Clock {
public:
    explicit RealTimeScaledClock(double rate) : rate_(rate), start_(QDateTime::currentDateTime()) { timer_.start(); }

    double now() const override { return double(timer_.nsecsElapsed()) / 1e9 * rate_; }
    QDateTime currentDateTime() const override { return start_.addMSecs(qint64(now() * 1000.0)); }
    void wait(double seconds, bool userInput) override
    {
        const double target = now() + seconds;
        const auto flags = userInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
        while (now() < target) {
            QCoreApplication::processEvents(flags);
            QThread::usleep(500);
        }
    }

private:
    double rate_;
    QDateTime start_;
    QElapsedTimer timer_;
};
