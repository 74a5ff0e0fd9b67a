// The simulated instrument's answers on the line, byte for byte, on simulated time.
#include "sim/InstrumentSimulator.h"
#include "tests/sim/SimLine.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace simtest;

namespace {

const QList<SimStep> kTwoSteps{{1, 3, 120, 30000, 1}, {2, 2, 150, 300, 1}};

QList<SimStep> numberedSteps(int count, qint64 seconds = 30)
{
    QList<SimStep> steps;
    for (int i = 1; i <= count; ++i)
        steps.append({i, seconds, 60 + i, 100 * i, 1 + i % 6});
    return steps;
}

} // namespace

// --- sequence download -------------------------------------------------------------------------------

TEST(SimulatorDownload, keepsEveryStepExactlyAsSent)
{
    struct Case {
        const char *name;
        QByteArray stream;
        QList<SimStep> expected;
    };
    const QList<Case> cases{
        {"two steps",
         QByteArray("\x03"
                    "01,00060,120,30000,111"
                    "02,00600,150,00300,111"
                    "99"),
         {{1, 60, 120, 30000, 1}, {2, 600, 150, 300, 1}}},
        {"no steps",
         QByteArray("\x03"
                    "99"),
         {}},
        {"calibration check 100 cP",
         downloadStream({{1, 30, 55, 176, 1},
                         {2, 30, 55, 352, 1},
                         {3, 30, 55, 587, 1},
                         {4, 30, 55, 5874, 1},
                         {5, 30, 55, 46995, 1}}),
         {{1, 30, 55, 176, 1}, {2, 30, 55, 352, 1}, {3, 30, 55, 587, 1}, {4, 30, 55, 5874, 1}, {5, 30, 55, 46995, 1}}},
        {"time wider than five digits",
         QByteArray("\x03"
                    "01,123456,080,00050,311"
                    "99"),
         {{1, 123456, 80, 50, 3}}},
        {"temperature below zero",
         QByteArray("\x03"
                    "01,00010,-10,00300,211"
                    "99"),
         {{1, 10, -10, 300, 2}}},
        {"98 steps", downloadStream(numberedSteps(98)), numberedSteps(98)},
    };
    for (const Case &c : cases) {
        for (const bool paced : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (paced ? ", one byte per 100 ms" : ", one write"));
            Line line;
            if (paced) {
                qint64 t = 0;
                for (char b : c.stream) {
                    line.until(t += 100);
                    line.send(QByteArray(1, b));
                }
            } else {
                line.send(c.stream);
            }
            EXPECT_EQ(line.sim.steps(), c.expected);
            EXPECT_EQ(line.sim.downloadsReceived(), 1);
            EXPECT_EQ(line.sim.downloadsRejected(), 0);
            line.until(line.sim.now() + 10000);
            EXPECT_EQ(line.all, QByteArray()) << "a download gets no reply";
            EXPECT_EQ(line.sim.running(), InstrumentSimulator::RunKind::None);
        }
    }
}

TEST(SimulatorDownload, brokenStreamLeavesThePreviousSequence)
{
    struct Case {
        const char *name;
        QByteArray stream;
    };
    QByteArray tooMany = downloadStream(numberedSteps(98));
    tooMany.chop(2);
    tooMany += "01,00030,070,00300,111"
               "99";
    const QList<Case> cases{
        {"letter in the step time",
         QByteArray("\x03"
                    "01,000x0,120,30000,111"
                    "99")},
        {"step without its closing 11",
         QByteArray("\x03"
                    "01,00060,120,30000,1"
                    "02,00600,150,00300,111"
                    "99")},
        {"empty field",
         QByteArray("\x03"
                    "01,,120,30000,111"
                    "99")},
        {"cut short by the stop byte",
         QByteArray("\x03"
                    "01,00060,12"
                    "\x06")},
        {"more than 98 steps", tooMany},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Line line;
        line.send(downloadStream(kTwoSteps));
        line.send(c.stream);
        EXPECT_EQ(line.sim.steps(), kTwoSteps);
        EXPECT_EQ(line.sim.downloadsReceived(), 1);
        EXPECT_EQ(line.sim.downloadsRejected(), 1);
        EXPECT_FALSE(line.sim.lastRejection().isEmpty());
    }
}

TEST(SimulatorDownload, newDownloadBeginByteRestartsTheStream)
{
    Line line;
    line.send(QByteArray("\x03"
                         "01,00060,1"));
    line.send(downloadStream(kTwoSteps));
    EXPECT_EQ(line.sim.steps(), kTwoSteps);
    EXPECT_EQ(line.sim.downloadsRejected(), 1);
}

TEST(SimulatorDownload, startByteRightAfterTheEndMarkerRunsTheNewSteps)
{
    // The calibration check writes "99" and the start byte without a pause.
    Line line;
    line.send(kStop);
    line.send(downloadStream({{1, 30, 55, 176, 1}}) + kStart);
    EXPECT_EQ(line.sim.steps().size(), 1);
    EXPECT_EQ(line.sim.running(), InstrumentSimulator::RunKind::Sequence);
    const auto msgs = decodeMessages(line.until(30000));
    ASSERT_EQ(msgs.size(), 30);
    EXPECT_EQ(msgs[26][1], 27);
    EXPECT_EQ(msgs[26][3], 3) << "100 cP at 1.76 rpm gives 3 dyn/cm2";
}

// --- real-time stream -----------------------------------------------------------------------------------

TEST(SimulatorStream, oneMessagePerSecondFollowingTheStepsThenTheEndByte)
{
    Line line;
    line.send(downloadStream(kTwoSteps));
    line.send(kStart);
    EXPECT_EQ(line.until(999), QByteArray()) << "the first reading takes one simulated second";
    EXPECT_EQ(line.until(1000), QByteArray("1,1,120,511,0,30000,1\x1a"));
    line.until(5000);
    EXPECT_EQ(line.all,
              QByteArray("1,1,120,511,0,30000,1\x1a"
                         "1,2,120,511,0,30000,1\x1a"
                         "1,3,120,511,0,30000,1\x1a"
                         "2,1,150,5,0,300,1\x1a"
                         "2,2,150,5,0,300,1\x1a"
                         "\x08"));
    EXPECT_EQ(line.sim.running(), InstrumentSimulator::RunKind::None);
    EXPECT_EQ(line.until(600000), QByteArray()) << "nothing follows the end byte";
}

TEST(SimulatorStream, everyMessageDecodesAsAValidReading)
{
    Line line;
    line.send(downloadStream(numberedSteps(4, 20)));
    line.send(kStart);
    QByteArray rest;
    const auto msgs = decodeMessages(line.until(80000), &rest);
    ASSERT_EQ(msgs.size(), 80);
    EXPECT_EQ(rest, kEnd);
    for (int i = 0; i < msgs.size(); ++i) {
        SCOPED_TRACE(i);
        const auto &f = msgs[i];
        EXPECT_EQ(f[0], i / 20 + 1);
        EXPECT_EQ(f[1], i % 20 + 1);
        EXPECT_GE(f[2], 1);
        EXPECT_LE(f[3], 60000);
        EXPECT_EQ(f[5], 100 * f[0]);
        EXPECT_EQ(f[6], 1 + f[0] % 6);
    }
}

TEST(SimulatorStream, rateScalesTheSecondsToRealTime)
{
    struct Case {
        double rate;
        QList<qint64> due;
    };
    for (const Case &c : QList<Case>{{1.0, {1000, 2000, 3000}}, {20.0, {50, 100, 150}}, {3.0, {333, 667, 1000}}}) {
        SCOPED_TRACE(c.rate);
        SimulatorOptions o = exactOptions();
        o.rate = c.rate;
        Line line(o);
        line.send(downloadStream(kTwoSteps));
        line.send(kStart);
        for (int k = 0; k < c.due.size(); ++k) {
            EXPECT_EQ(line.until(c.due[k] - 1), QByteArray());
            EXPECT_EQ(decodeMessages(line.until(c.due[k])).size(), 1);
            if (k + 1 < c.due.size()) {
                EXPECT_EQ(line.sim.nextEventAt(), c.due[k + 1]);
            }
        }
    }
}

TEST(SimulatorStream, answersTheStartHandshakeWithinThreeSeconds)
{
    // The program waits for at least 5 bytes, no earlier than 3 clock seconds after the start byte.
    Line line;
    line.send(downloadStream(kTwoSteps));
    line.send(kStart);
    const QByteArray first = line.until(3000);
    ASSERT_GE(first.size(), 5);
    EXPECT_TRUE(first[0] >= '1' && first[0] <= '9') << "a message starts with the first digit of the step";
}

TEST(SimulatorStream, stopByteEndsTheRunWithoutEndByte)
{
    Line line;
    line.send(downloadStream({{1, 600, 120, 30000, 1}}));
    line.send(kStart);
    line.until(2500);
    line.send(kStop);
    line.until(700000);
    EXPECT_EQ(decodeMessages(line.all).size(), 2);
    EXPECT_FALSE(line.all.contains(kEnd));
    EXPECT_EQ(line.sim.running(), InstrumentSimulator::RunKind::None);

    Line idle;
    idle.send(kStop);
    EXPECT_EQ(idle.until(10000), QByteArray());
}

TEST(SimulatorStream, startDuringARunBeginsAgainAtTheFirstStep)
{
    Line line;
    line.send(downloadStream(kTwoSteps));
    line.send(kStart);
    line.until(4000);
    line.send(kStart);
    const auto msgs = decodeMessages(line.until(5000));
    ASSERT_EQ(msgs.size(), 1);
    EXPECT_EQ(msgs[0][0], 1);
    EXPECT_EQ(msgs[0][1], 1);
}

TEST(SimulatorStream, startWithNothingToRunSendsOnlyTheEndByte)
{
    for (const QByteArray &before : {QByteArray(),
                                     QByteArray("\x03"
                                                "99"),
                                     QByteArray("\x03"
                                                "01,00000,100,30000,111"
                                                "99")}) {
        SCOPED_TRACE(show(before).toStdString());
        Line line;
        line.send(before);
        line.send(kStart);
        line.until(60000);
        EXPECT_EQ(line.all, kEnd);
    }
}

TEST(SimulatorStream, shearStressFollowsTheRotorBobShearRate)
{
    struct Case {
        int rotorBob;
        qint64 speed;
        std::optional<double> custom;
        qint64 stress;
    };
    // Newtonian 100 cP: stress = rpm * 1.7023 * RateFactor (custom: rpm * factor).
    const QList<Case> cases{
        {1, 30000, {}, 511}, {2, 30000, {}, 1627}, {3, 60000, {}, 226},  {4, 60000, {}, 226},
        {5, 10000, {}, 85},  {6, 60000, {}, 161},  {1, 30000, 1.5, 450}, {1, 0, {}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "rotor-bob " << c.rotorBob << " speed " << c.speed);
        SimulatorOptions o = exactOptions();
        o.customRateFactor = c.custom;
        Line line(o);
        line.send(downloadStream({{1, 1, 80, c.speed, c.rotorBob}}));
        line.send(kStart);
        const auto msgs = decodeMessages(line.until(1000));
        ASSERT_EQ(msgs.size(), 1);
        EXPECT_EQ(msgs[0][3], c.stress);
        EXPECT_EQ(msgs[0][5], c.speed);
        EXPECT_EQ(msgs[0][6], c.rotorBob);
    }
}

TEST(SimulatorStream, gelReadingAfterARest)
{
    SimulatorOptions o = exactOptions();
    o.fluid.gel10s = 20.0;
    o.fluid.gel10m = 40.0;
    Line line(o);
    line.send(downloadStream({{1, 5, 77, 60000, 1}, {2, 10, 77, 0, 1}, {3, 4, 77, 300, 1}, {4, 2, 77, 300, 1}}));
    line.send(kStart);
    const auto msgs = decodeMessages(line.until(21000));
    ASSERT_EQ(msgs.size(), 21);
    EXPECT_EQ(msgs[4][3], 1021);
    EXPECT_EQ(msgs[4][4], 0) << "no gel without a rest";
    EXPECT_EQ(msgs[14][3], 0) << "standing rotor";
    EXPECT_EQ(msgs[14][1], 10);
    // 3 rpm after 10 s rest: 5.107 + 20 * exp(-t/5) for t = 0, 1, 2, 3 s of shearing.
    const QList<qint64> stress{25, 21, 19, 16};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(msgs[15 + i][3], stress[i]) << i;
        EXPECT_EQ(msgs[15 + i][4], 25) << "the gel field holds the step's peak";
    }
    EXPECT_EQ(msgs[19][4], 0) << "the next step did not follow a rest";
}

TEST(SimulatorStream, temperatureApproachesEachTarget)
{
    SimulatorOptions o = exactOptions();
    o.heaterTimeConstant = 60.0;
    o.ambientF = 77.0;
    o.fluid.tempCoefficient = 0.01;
    Line line(o);
    line.send(downloadStream({{1, 600, 150, 30000, 1}, {2, 600, 77, 30000, 1}}));
    line.send(kStart);
    const auto msgs = decodeMessages(line.until(1200000));
    ASSERT_EQ(msgs.size(), 1200);
    EXPECT_EQ(msgs[0][2], 78);
    EXPECT_EQ(msgs[59][2], 123) << "one time constant: 150 - 73/e";
    EXPECT_EQ(msgs[599][2], 150);
    EXPECT_EQ(msgs[1199][2], 77);
    for (int i = 1; i < 600; ++i)
        ASSERT_GE(msgs[i][2], msgs[i - 1][2]) << i;
    // Thinner when hot: 510.69 * exp(-0.01 * (150 - 77)).
    EXPECT_EQ(msgs[599][3], 246);
    EXPECT_EQ(msgs[1199][3], 511);
}

TEST(SimulatorStream, noiseIsReproducibleFromTheSeed)
{
    auto stream = [](quint64 seed, double noise) {
        SimulatorOptions o = exactOptions();
        o.noise = noise;
        o.seed = seed;
        Line line(o);
        line.send(downloadStream({{1, 2000, 80, 30000, 1}}));
        line.send(kStart);
        return decodeMessages(line.until(2000000));
    };
    const auto a = stream(7, 2.0);
    ASSERT_EQ(a.size(), 2000);
    EXPECT_EQ(stream(7, 2.0), a);
    EXPECT_NE(stream(8, 2.0), a);
    double sum = 0, sq = 0;
    for (const auto &f : a) {
        sum += double(f[3]) - 510.69;
        sq += (double(f[3]) - 510.69) * (double(f[3]) - 510.69);
    }
    const double mean = sum / a.size();
    const double sd = std::sqrt(sq / a.size() - mean * mean);
    EXPECT_NEAR(mean, 0.0, 0.2);
    EXPECT_NEAR(sd, 2.0, 0.2);
    for (const auto &f : stream(7, 0.0))
        ASSERT_EQ(f[3], 511);

    // A second run in the same session repeats the first.
    SimulatorOptions o = exactOptions();
    o.noise = 2.0;
    Line line(o);
    line.send(downloadStream({{1, 50, 80, 30000, 1}}));
    line.send(kStart);
    const QByteArray first = line.until(50000);
    line.send(kStart);
    EXPECT_EQ(line.until(100000), first);
}

// --- stand-alone memory and upload --------------------------------------------------------------------

TEST(SimulatorUpload, readingsOfAStandAloneRunComeBackAsRecords)
{
    Line line;
    line.send(downloadStream({{1, 65, 120, 30000, 1}, {2, 30, 150, 300, 1}}));
    line.send(kStart);
    line.until(95000);
    line.all.clear();

    line.send(kUploadRequest);
    EXPECT_EQ(line.until(96000), QByteArray()) << "standard rotor-bob: byte 8 gets no answer";
    line.send(kSendData);
    EXPECT_EQ(line.all,
              QByteArray("1,30,120,511,0,30000,1,"
                         "1,60,120,511,0,30000,1,"
                         "1,65,120,511,0,30000,1,"
                         "2,30,150,5,0,300,1,"
                         "\x02"));
    const auto records = decodeRecords(line.all);
    ASSERT_EQ(records.size(), line.sim.storedReadings().size());
    for (int i = 0; i < records.size(); ++i) {
        const SimReading &r = line.sim.storedReadings()[i];
        EXPECT_EQ(records[i],
                  (Fields{r.step, r.seconds, r.temperatureF, r.shearStress, r.gel, r.speedHundredths, r.rotorBob}));
    }
    // The instrument keeps its memory: the same test can be fetched again.
    line.all.clear();
    line.send(kSendData);
    EXPECT_EQ(decodeRecords(line.all).size(), 4);
}

TEST(SimulatorUpload, memoryHoldsAtMostItsCapacity)
{
    struct Case {
        int interval;
        int capacity;
        qint64 stepSeconds;
        int expected;
    };
    for (const Case &c :
         QList<Case>{{1, 101, 500, 101}, {1, 5, 500, 5}, {1, 101, 50, 50}, {30, 101, 3000, 100}, {10, 0, 100, 0}}) {
        SCOPED_TRACE(testing::Message() << "interval " << c.interval << " capacity " << c.capacity);
        SimulatorOptions o = exactOptions();
        o.storeInterval = c.interval;
        o.memoryCapacity = c.capacity;
        Line line(o);
        line.send(downloadStream({{1, c.stepSeconds, 100, 30000, 1}}));
        line.send(kStart);
        line.until(c.stepSeconds * 1000 + 1000);
        line.all.clear();
        line.send(kUploadRequest);
        line.send(kSendData);
        const auto records = decodeRecords(line.all);
        ASSERT_EQ(records.size(), c.expected);
        EXPECT_TRUE(line.all.endsWith('\x02'));
        EXPECT_EQ(line.all.count('\x02'), 1);
        for (int i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i][1], qint64(i + 1) * c.interval);
    }
}

TEST(SimulatorUpload, emptyMemoryAnswersTheEndByteAlone)
{
    Line line;
    line.send(kSendData);
    EXPECT_EQ(line.all, QByteArray("\x02"));
}

TEST(SimulatorUpload, aNewSequenceRunReplacesTheMemory)
{
    Line line;
    line.send(downloadStream({{1, 60, 100, 30000, 1}}));
    line.send(kStart);
    line.until(61000);
    line.send(downloadStream({{1, 30, 100, 60000, 1}}));
    line.send(kStart);
    line.until(100000);
    ASSERT_EQ(line.sim.storedReadings().size(), 1);
    EXPECT_EQ(line.sim.storedReadings()[0].speedHundredths, 60000);
}

TEST(SimulatorUpload, customRotorBobIsReportedOnTheUploadRequest)
{
    struct Case {
        std::optional<double> factor;
        QByteArray reply;
    };
    for (const Case &c : QList<Case>{{1.234, "1234\x02"}, {0.5, "0500\x02"}, {9.999, "9999\x02"}, {{}, ""}}) {
        SCOPED_TRACE(show(c.reply).toStdString());
        SimulatorOptions o = exactOptions();
        o.customRateFactor = c.factor;
        Line line(o);
        line.until(1000);
        line.send(kUploadRequest);
        EXPECT_EQ(line.until(1000 + InstrumentSimulator::kByte8GraceMs - 1), QByteArray())
            << "a run-speed command may still follow";
        EXPECT_EQ(line.until(1400), c.reply) << "inside the program's 0.4 s quiet time";
        line.send(kSendData);
        EXPECT_EQ(line.all, c.reply + "\x02");
    }
}

TEST(SimulatorUpload, uploadRequestAndDataRequestInOneWrite)
{
    SimulatorOptions o = exactOptions();
    o.customRateFactor = 1.234;
    Line line(o);
    line.send(kUploadRequest + kSendData);
    EXPECT_EQ(line.all, QByteArray("1234\x02\x02"));
}

// --- direct-logging run speed --------------------------------------------------------------------------

TEST(SimulatorRunSpeed, runsAtTheCommandedSpeedUntilStopped)
{
    SimulatorOptions o = exactOptions();
    o.customRateFactor = std::nullopt;
    Line line(o);
    line.send(downloadStream(kTwoSteps));
    line.send(QByteArray("\x08"
                         "1,60000,35,30000,1"));
    ASSERT_TRUE(line.sim.constantSpeedProgram().has_value());
    EXPECT_EQ(*line.sim.constantSpeedProgram(), (SimStep{1, 60000, 35, 30000, 1}));
    EXPECT_EQ(line.sim.steps(), kTwoSteps) << "the downloaded sequence stays";
    EXPECT_EQ(line.until(2000), QByteArray()) << "the run-speed command is no upload request";

    line.send(kStart);
    auto msgs = decodeMessages(line.until(102000));
    ASSERT_EQ(msgs.size(), 100);
    for (int i = 0; i < msgs.size(); ++i) {
        ASSERT_EQ(msgs[i][0], 1);
        ASSERT_EQ(msgs[i][1], i + 1);
        ASSERT_EQ(msgs[i][3], 511);
        ASSERT_EQ(msgs[i][5], 30000);
    }
    line.until(102500);
    line.send(QByteArray("\x08"
                         "1,60000,35,60000,1"));
    msgs = decodeMessages(line.until(104000));
    ASSERT_EQ(msgs.size(), 2);
    EXPECT_EQ(msgs[0][1], 101) << "the run goes on";
    EXPECT_EQ(msgs[0][5], 60000);
    EXPECT_EQ(msgs[0][3], 1021);
    line.send(kStop);
    EXPECT_EQ(line.until(200000), QByteArray());
    EXPECT_TRUE(line.sim.storedReadings().isEmpty()) << "direct logging is not a stored test";

    line.send(kStart);
    EXPECT_EQ(decodeMessages(line.until(201000)).value(0)[5], 60000) << "the run speed is still selected";
    line.send(kStop);
    line.send(downloadStream(kTwoSteps));
    line.send(kStart);
    EXPECT_EQ(decodeMessages(line.until(300000)).size(), 5) << "a download selects the sequence again";
}

TEST(SimulatorRunSpeed, commandArrivingInPiecesIsTakenWhole)
{
    Line line;
    line.until(1000);
    line.send(QByteArray("\x08"));
    line.until(1050);
    line.send(QByteArray("1,600"));
    line.until(1080);
    line.send(QByteArray("00,35,20000,"));
    line.until(1500);
    line.send(QByteArray("2"));
    ASSERT_TRUE(line.sim.constantSpeedProgram().has_value());
    EXPECT_EQ(*line.sim.constantSpeedProgram(), (SimStep{1, 60000, 35, 20000, 2}));
}

TEST(SimulatorRunSpeed, constantSpeedRunEndsAfterItsDuration)
{
    Line line;
    line.send(QByteArray("\x08"
                         "1,3,35,30000,1"));
    line.send(kStart);
    QByteArray rest;
    EXPECT_EQ(decodeMessages(line.until(10000), &rest).size(), 3);
    EXPECT_EQ(rest, kEnd);
}
