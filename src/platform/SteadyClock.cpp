#include "platform/SteadyClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QThread>

#include <algorithm>

SteadyClock::SteadyClock()
{
    timer_.start();
}

double SteadyClock::now() const
{
    return static_cast<double>(timer_.nsecsElapsed()) / 1e9;
}

QDateTime SteadyClock::currentDateTime() const
{
    return QDateTime::currentDateTime();
}

void SteadyClock::wait(double seconds, bool userInput)
{
    const double target = now() + std::max(0.0, seconds);
    const bool haveLoop = QCoreApplication::instance() != nullptr;
    for (;;) {
        const double left = target - now();
        if (left <= 0)
            break;
        if (haveLoop) {
            if (userInput) {
                QCoreApplication::processEvents(QEventLoop::AllEvents);
            } else {
                // Only what was already asked to be drawn is drawn: timers, queued calls, socket
                // notifiers and input stay queued until the wait ends.
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
            }
        }
        const double remaining = target - now();
        if (remaining > 0)
            QThread::usleep(static_cast<unsigned long>(std::min(remaining, 0.005) * 1e6));
    }
}
