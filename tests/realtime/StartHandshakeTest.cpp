// The wait for the instrument's first bytes after the start byte, on a virtual clock.
#include "realtime/StartHandshake.h"

#include "link/SerialLink.h"
#include "tests/realtime/RealTimeFixture.h"

#include <gtest/gtest.h>

TEST(StartHandshake, OutcomeAndDurationByWhenTheBytesArrive)
{
    struct Case {
        const char *name;
        double bytesAfter; // < 0: never
        int byteCount;
        StartHandshake::Result result;
        double minSeconds, maxSeconds; // how long the wait lasted
    };
    using R = StartHandshake::Result;
    const Case cases[] = {
        {"bytes at once: still waits 3 s", 0.0, 30, R::Answered, 3.0, 3.1},
        {"bytes after 5 s", 5.0, 30, R::Answered, 5.0, 5.1},
        {"bytes just before the time-out", 10.9, 30, R::Answered, 10.9, 11.0},
        {"only 4 bytes never answer", 0.0, 4, R::TimedOut, 11.0, 11.1},
        {"no bytes: time-out after about 11 s", -1, 0, R::TimedOut, 11.0, 11.1},
        {"bytes after the time-out are too late", 11.5, 30, R::TimedOut, 11.0, 11.1},
    };
    for (const Case &c : cases) {
        RealTimeFixture fx;
        SerialLink link(fx.context);
        link.initialCommport();
        ASSERT_TRUE(link.open());
        const double t0 = fx.clock.now();
        if (c.bytesAfter >= 0)
            fx.port->feed(QByteArray(c.byteCount, '1'), t0 + c.bytesAfter);
        EXPECT_EQ(StartHandshake::wait(link, fx.clock), c.result) << c.name;
        const double took = fx.clock.now() - t0;
        EXPECT_GE(took, c.minSeconds) << c.name;
        EXPECT_LE(took, c.maxSeconds) << c.name;
        // The bytes are left for the first tick, and no wait let user input in.
        if (c.result == R::Answered) {
            EXPECT_EQ(link.bytesAvailable(), c.byteCount) << c.name;
        }
        for (const auto &w : fx.clock.waits)
            EXPECT_FALSE(w.userInput) << c.name;
    }
}

TEST(StartHandshake, PortThatFailsWhileWaiting_EndsTheWaitAtOnce)
{
    RealTimeFixture fx;
    SerialLink link(fx.context);
    ASSERT_TRUE(link.open());
    fx.port->failNow();
    link.readAvailable(); // the failure shows on the next read
    const double t0 = fx.clock.now();
    EXPECT_EQ(StartHandshake::wait(link, fx.clock), StartHandshake::Result::PortFailed);
    EXPECT_LT(fx.clock.now() - t0, 0.5);
}
