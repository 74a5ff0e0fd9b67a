// The real clock's two waits, on a few hundredths of a second: Delay lets the windows repaint and runs
// nothing else (no timer, no queued call), DelayWithEvents runs everything; both mark the clock busy with
// a command's wait while a direct wait (a test pumping events, say) does not.
#include "platform/SteadyClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Counts the repaint requests it receives.
class PaintCounter : public QObject {
public:
    int repaints = 0;
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::UpdateRequest)
            ++repaints;
        return QObject::event(e);
    }
};

struct Seen {
    bool timer = false;
    bool queued = false;
    bool waitingInTimer = false;
};

void armTimerAndQueuedCall(SteadyClock &clock, Seen &seen, QObject &context)
{
    QTimer::singleShot(0, &context, [&] {
        seen.timer = true;
        seen.waitingInTimer = clock.commandWaiting();
    });
    QMetaObject::invokeMethod(
        &context, [&] { seen.queued = true; }, Qt::QueuedConnection);
}

} // namespace

TEST(SteadyClock, DelayRepaintsAndRunsNothingElse)
{
    SteadyClock clock;
    QObject context;
    PaintCounter window;
    Seen seen;
    armTimerAndQueuedCall(clock, seen, context);
    QCoreApplication::postEvent(&window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);

    const double t0 = clock.now();
    Delay(clock, 0.03);
    EXPECT_GE(clock.now() - t0, 0.03);
    EXPECT_EQ(window.repaints, 1);
    EXPECT_FALSE(seen.timer);
    EXPECT_FALSE(seen.queued);
    EXPECT_FALSE(clock.commandWaiting());

    // What waited runs once the command is over.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(seen.timer);
    EXPECT_TRUE(seen.queued);
    EXPECT_FALSE(seen.waitingInTimer);
}

TEST(SteadyClock, DelayWithEventsRunsEverythingWhileTheClockSaysACommandWaits)
{
    SteadyClock clock;
    QObject context;
    Seen seen;
    armTimerAndQueuedCall(clock, seen, context);
    DelayWithEvents(clock, 0.03);
    EXPECT_TRUE(seen.timer);
    EXPECT_TRUE(seen.queued);
    EXPECT_TRUE(seen.waitingInTimer);
    EXPECT_FALSE(clock.commandWaiting());

    // A wait that is no command's (events pumped directly) leaves the serial ticks free to run.
    Seen direct;
    armTimerAndQueuedCall(clock, direct, context);
    clock.wait(0.03, true);
    EXPECT_TRUE(direct.timer);
    EXPECT_FALSE(direct.waitingInTimer);
}
