// The simulator's named failure modes, on simulated time.
#include "tests/sim/SimLine.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {
const QList<SimStep> kFailureSteps{{1, 3, 120, 30000, 1}, {2, 2, 150, 300, 1}};
}

// --- failure modes ---------------------------------------------------------------------------------------

namespace {
Line failing(const QString &mode)
{
    SimulatorOptions o = exactOptions();
    EXPECT_EQ(o.failures.add(mode), QString());
    return Line(o);
}
} // namespace

TEST(SimulatorFailures, silentAfterAByteSendsNothingMore)
{
    Line noStart = failing(QStringLiteral("silent-after=5"));
    noStart.send(downloadStream(kFailureSteps));
    noStart.send(kStart);
    noStart.until(20000);
    noStart.send(kSendData);
    noStart.until(21000);
    EXPECT_EQ(noStart.all, QByteArray());
    EXPECT_EQ(noStart.sim.steps(), kFailureSteps) << "it still listens";

    Line noUpload = failing(QStringLiteral("silent-after=1"));
    noUpload.send(downloadStream(kFailureSteps));
    noUpload.send(kStart);
    noUpload.until(20000);
    EXPECT_EQ(decodeMessages(noUpload.all).size(), 5);
    noUpload.all.clear();
    noUpload.send(kSendData);
    EXPECT_EQ(noUpload.until(30000), QByteArray());
}

TEST(SimulatorFailures, pauseInsideTheUploadReply)
{
    Line normal;
    Line paused = failing(QStringLiteral("pause=600"));
    for (Line *l : {&normal, &paused}) {
        l->send(downloadStream({{1, 90, 100, 30000, 1}}));
        l->send(kStart);
        l->until(91000);
        l->all.clear();
        l->send(kSendData);
    }
    ASSERT_FALSE(paused.all.isEmpty());
    EXPECT_FALSE(paused.all.endsWith('\x02'));
    EXPECT_EQ(paused.until(91599), QByteArray());
    paused.until(91600);
    EXPECT_EQ(paused.all, normal.all);
}

TEST(SimulatorFailures, garbageBeforeEveryNthMessage)
{
    Line line = failing(QStringLiteral("garbage=2"));
    line.send(downloadStream({{1, 4, 100, 30000, 1}}));
    line.send(kStart);
    const auto msgs = decodeMessages(line.until(5000));
    ASSERT_EQ(msgs.size(), 4);
    EXPECT_EQ(msgs[0][0], 1);
    EXPECT_EQ(msgs[1][0], 0) << "junk in front spoils the message";
    EXPECT_EQ(msgs[2][0], 1);
    EXPECT_EQ(msgs[3][0], 0);
    EXPECT_EQ(line.all.count(FailureModes::garbageBytes()), 2);
}

TEST(SimulatorFailures, messageSplitAcrossTwoWrites)
{
    Line line = failing(QStringLiteral("split=300"));
    line.send(downloadStream({{1, 2, 100, 30000, 1}}));
    line.send(kStart);
    const QByteArray firstHalf = line.until(1299);
    EXPECT_FALSE(firstHalf.isEmpty());
    EXPECT_FALSE(firstHalf.contains('\x1a'));
    line.until(1300);
    EXPECT_EQ(line.all, QByteArray("1,1,100,511,0,30000,1\x1a"));
    line.until(3000);
    EXPECT_EQ(line.all,
              QByteArray("1,1,100,511,0,30000,1\x1a"
                         "1,2,100,511,0,30000,1\x1a"
                         "\x08"));
}

TEST(SimulatorFailures, droppedEndByte)
{
    Line line = failing(QStringLiteral("drop-end"));
    line.send(downloadStream(kFailureSteps));
    line.send(kStart);
    line.until(60000);
    EXPECT_EQ(decodeMessages(line.all).size(), 5);
    EXPECT_FALSE(line.all.endsWith(kEnd));
    EXPECT_EQ(line.sim.running(), InstrumentSimulator::RunKind::None);
}

TEST(SimulatorFailures, disconnectAfterSomeMessages)
{
    Line line = failing(QStringLiteral("disconnect-after=3"));
    line.send(downloadStream({{1, 600, 100, 30000, 1}}));
    line.send(kStart);
    line.until(2000);
    EXPECT_FALSE(line.sim.disconnectRequested());
    line.until(3000);
    EXPECT_TRUE(line.sim.disconnectRequested());
    EXPECT_FALSE(line.sim.hasPendingOutput());
    EXPECT_EQ(decodeMessages(line.all).size(), 3);
    line.send(kSendData);
    EXPECT_EQ(line.until(100000), QByteArray());
}

TEST(SimulatorFailures, quietAfterSomeMessagesForAWhileOrForTheRest)
{
    struct Case {
        const char *mode;
        QList<qint64> seconds; // of the messages that reach the line
    };
    const Case cases[] = {
        {"quiet-after=3:4", {1, 2, 3, 8, 9, 10}},
        {"quiet-after=3", {1, 2, 3}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        Line line = failing(QString::fromLatin1(c.mode));
        line.send(downloadStream({{1, 10, 100, 30000, 1}}));
        line.send(kStart);
        line.until(20000);
        QList<qint64> seconds;
        for (const auto &m : decodeMessages(line.all))
            seconds << m[1];
        EXPECT_EQ(seconds, c.seconds);
        EXPECT_TRUE(line.all.endsWith(kEnd)) << "the run went on to its end inside the instrument";
        EXPECT_FALSE(line.sim.disconnectRequested());
    }
}

TEST(SimulatorFailures, endlessUploadNeverPausesUntilTheNextByte)
{
    Line line = failing(QStringLiteral("endless-upload"));
    line.send(downloadStream({{1, 90, 100, 30000, 1}}));
    line.send(kStart);
    line.until(91000);
    line.all.clear();
    line.send(kSendData);
    qsizetype before = line.all.size();
    for (qint64 t = 91000; t <= 92000; t += 100) {
        line.until(t + 100);
        EXPECT_GT(line.all.size(), before) << "more at " << t;
        before = line.all.size();
    }
    EXPECT_FALSE(line.all.contains('\x02'));
    EXPECT_GT(line.all.size(), 7800) << "longer than any reply of a full memory";
    line.send(kStop);
    line.until(100000);
    EXPECT_EQ(line.all.size(), before) << "the next byte ends it";
}

TEST(SimulatorFailures, cutUploadLeavesTheLastRecordShortBeforeTheEndByte)
{
    Line normal;
    Line cut = failing(QStringLiteral("cut-upload"));
    for (Line *l : {&normal, &cut}) {
        l->send(downloadStream({{1, 60, 100, 30000, 1}}));
        l->send(kStart);
        l->until(61000);
        l->all.clear();
        l->send(kSendData);
        l->until(62000);
    }
    EXPECT_EQ(normal.all, QByteArray("1,30,100,511,0,30000,1,1,60,100,511,0,30000,1,\x02"));
    EXPECT_EQ(cut.all, QByteArray("1,30,100,511,0,30000,1,1,60,100,\x02"));
}
