// The logging session on a fake port and a virtual clock: the run-speed command, Run with its guards and
// handshake, the tick (chart, data file, end byte), Stop, recording and Exit.
#include "directlog/DirectLogSession.h"
#include "platform/ChartModel.h"
#include "tests/directlog/DirectLogFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cmath>

using directlog::reading;
using Buttons = DirectLogSession::Buttons;

namespace {

const Buttons idle{true, false, false, false};
const Buttons displayOnly{false, true, true, false};
const Buttons recordingButtons{false, true, false, true};
const QString header = QStringLiteral("Accu_Time(Sec),Clock_Time,S_Stress(dyn/cm2),Speed(Rpm),Visc(cP)");
const QByteArray runSpeed300 = QByteArray(1, 8) + "1,60000,35,30000,1";

class DirectLogSessionTest : public DirectLogFixture {
protected:
    DirectLogSessionTest() { session.load(); }

    // Run with the given file; the instrument's first reading (second 1) is left for the first tick.
    void run(const QString &file = QStringLiteral("data.txt")) { session.run(file); }

    QString clockText() const { return clock.currentDateTime().toString(QStringLiteral("hh:mm:ss")); }

    ChartModel chart;
    DirectLogSession session{ctx, chart};
};

} // namespace

TEST_F(DirectLogSessionTest, LoadSendsTheRunSpeedAndLeavesOnlyRunUsable)
{
    EXPECT_EQ(port().written(), runSpeed300);
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(port().openCount, 1);
    EXPECT_EQ(session.buttons(), idle);
    EXPECT_FALSE(session.timer()->isActive());
    EXPECT_EQ(session.timer()->interval(), 1000);
    EXPECT_FALSE(session.isRecording());
    EXPECT_TRUE(prompts.records.isEmpty());

    EXPECT_EQ(chart.title(), QStringLiteral("Shear Stress ,Viscosity & Temperature Vs. Time"));
    EXPECT_EQ(chart.xLabel(), QStringLiteral("Time (S)"));
    EXPECT_EQ(chart.pointCapacity(), 1000);
    const char *series[] = {"Shear Stress", "Viscosity", "Temperature", "Dial Reading"};
    const char *axes[] = {"Shear Stress (dyn/cm2)", "Viscosity (Cp)", "Temperature (°F)", "Dial Reading (Degree)"};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(chart.seriesLabel(s), QString::fromLatin1(series[s]));
        EXPECT_EQ(chart.yLabel(chart.seriesYAxis(s)), QString::fromUtf8(axes[s]));
    }
    EXPECT_EQ(session.liveChart().pointIndex(), 1);
}

TEST_F(DirectLogSessionTest, RunSpeedThatCannotBeSentIsToldWithTheComportTitle)
{
    state.CommPortNumber = missingComm;
    session.load();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Comport Error"));
    EXPECT_EQ(prompts.records[0].text,
              QStringLiteral("Fail to open comm port, make sure comm port is available and working properly."));
}

TEST_F(DirectLogSessionTest, SpeedEntryIsCheckedThenSent)
{
    struct Case {
        const char *text;
        const char *shown;
        const char *sentSpeed;
        bool refused;
    };
    const Case cases[] = {
        {"650", "300", "30000", true},  {"0", "0", "0", false},       {"abc", "300", "30000", true},
        {"100", "100", "10000", false}, {"-3", "300", "30000", true}, {"3", "3", "300", false},
    };
    for (const Case &c : cases) {
        prompts.clear();
        port().writes.clear();
        EXPECT_EQ(session.speedEntered(QString::fromLatin1(c.text)), QString::fromLatin1(c.shown)) << c.text;
        EXPECT_EQ(port().written(), QByteArray(1, 8) + "1,60000,35," + c.sentSpeed + ",1") << c.text;
        EXPECT_FALSE(port().isOpen());
        if (c.refused) {
            ASSERT_EQ(prompts.records.size(), 1) << c.text;
            EXPECT_EQ(prompts.records[0].text, QStringLiteral("Invalid Speed Entry! Please Try Again."));
            EXPECT_EQ(prompts.records[0].buttons, MsgButtons::Ok);
        } else {
            EXPECT_TRUE(prompts.records.isEmpty()) << c.text;
        }
    }
}

TEST_F(DirectLogSessionTest, RateEntryIsChecked)
{
    struct Case {
        const char *text;
        const char *shown;
        double rate;
    };
    const Case cases[] = {{"5", "5", 5}, {"0.5", "1", 1}, {"10", "10", 10}, {"7000", "1", 1}, {"6000", "6000", 6000}};
    for (const Case &c : cases) {
        prompts.clear();
        EXPECT_EQ(session.rateEntered(QString::fromLatin1(c.text)), QString::fromLatin1(c.shown)) << c.text;
        EXPECT_EQ(session.rate(), c.rate) << c.text;
        const bool refused = QString::fromLatin1(c.text) != QString::fromLatin1(c.shown);
        EXPECT_EQ(prompts.messageTexts(),
                  refused ? QStringList{QStringLiteral("Invalid Record Rate Entry! Please Try Again.")} : QStringList{})
            << c.text;
    }
}

TEST_F(DirectLogSessionTest, RunIsRefusedWithoutRotorBobOrFileName)
{
    struct Case {
        float rateFactor;
        const char *file;
        const char *text;
    };
    const Case cases[] = {
        {0.0f, "data.txt", "You must go to the Setup screen before to run a real time test."},
        {1.0f, "", "Please first input Data File Name."},
        {1.0f, "   ", "Please first input Data File Name."},
    };
    for (const Case &c : cases) {
        prompts.clear();
        state.RateFactor = c.rateFactor;
        session.run(QString::fromLatin1(c.file));
        ASSERT_EQ(prompts.records.size(), 1) << c.text;
        EXPECT_EQ(prompts.records[0].text, QString::fromLatin1(c.text));
        EXPECT_EQ(prompts.records[0].title, QStringLiteral("Operation Error"));
        EXPECT_FALSE(session.isRunning());
    }
    EXPECT_EQ(port().written(), runSpeed300);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("data.txt"))));
}

TEST_F(DirectLogSessionTest, RunStartsTheStreamCreatesTheFileAndEnablesStopAndRecording)
{
    const double t0 = clock.now();
    run();
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(port().written(), runSpeed300 + QByteArray(1, 5));
    EXPECT_TRUE(port().isOpen());
    // The handshake waited for the instrument's first bytes, at least 3 s.
    EXPECT_GE(clock.now() - t0, 3.0);
    EXPECT_TRUE(session.isRunning());
    EXPECT_TRUE(session.timer()->isActive());
    EXPECT_EQ(session.buttons(), displayOnly);
    EXPECT_EQ(fileLines(QStringLiteral("data.txt")), QStringList{header});
    EXPECT_DOUBLE_EQ(session.liveChart().xAxisMin(), ChartModel::chartTime(clock.currentDateTime()));
    EXPECT_DOUBLE_EQ(session.liveChart().xAxisMax() - session.liveChart().xAxisMin(), 180000.0);
}

TEST_F(DirectLogSessionTest, SilentInstrumentTimesOut)
{
    instrumentAnswers = false;
    run();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("No response from K7100, please check connection."));
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Communication Error"));
    EXPECT_FALSE(port().isOpen());
    EXPECT_FALSE(session.isRunning());
    EXPECT_EQ(session.buttons(), idle);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("data.txt"))));
}

TEST_F(DirectLogSessionTest, RunOnAMissingPortIsToldWithTheRunTitle)
{
    state.CommPortNumber = missingComm;
    run();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Comm Port Error"));
    EXPECT_FALSE(session.isRunning());
    EXPECT_EQ(session.buttons(), idle);
}

TEST_F(DirectLogSessionTest, SeveralMessagesInOneTickAreAllPlotted)
{
    run();
    port().feed(reading(1, 250) + reading(2, 260) + realTimeMessage({1, 3, 80, 300, 0, 60000, 1})
                + realTimeMessage({1, 0, 80, 1, 0, 1, 1}) + "1,4,");
    session.tick();
    // Seconds 1, 2 and 3 are plotted; the invalid one (second 0) is not; the half message waits.
    EXPECT_EQ(session.liveChart().pointIndex(), 4);
    EXPECT_FLOAT_EQ(float(chart.yValue(0, 1)), 250.000001f);
    EXPECT_FLOAT_EQ(float(chart.yValue(0, 3)), 300.000001f);
    EXPECT_FLOAT_EQ(float(chart.yValue(1, 1)), 48.95337677f);
    EXPECT_FLOAT_EQ(float(chart.yValue(2, 3)), 80.0f);
    EXPECT_FLOAT_EQ(float(chart.yValue(3, 2)), float(260 / 5.11));
    EXPECT_DOUBLE_EQ(chart.xValue(0, 1), ChartModel::chartTime(clock.currentDateTime()));
    EXPECT_EQ(session.framer().pending(), QByteArray("1,4,"));
}

TEST_F(DirectLogSessionTest, RateFactorAndCustomFactorsShapeTheViscosity)
{
    state.RateFactor = 3.185f;
    state.RotorBob = 2;
    run();
    port().feed(realTimeMessage({1, 2, 77, 120, 0, 10000, 2}));
    session.tick();
    EXPECT_FLOAT_EQ(float(chart.yValue(1, 1)), 22.13276482f);

    session.stop();
    state.CustomRB = true;
    state.CustomStressFactor = 1.5;
    state.CustomRateFactor = 0.5;
    run();
    port().feed(reading(2, 250));
    session.tick();
    EXPECT_FLOAT_EQ(float(chart.yValue(0, 1)), float(250.000001 * 1.5));
    EXPECT_FLOAT_EQ(float(chart.yValue(1, 1)), 250.0f);
    EXPECT_FLOAT_EQ(float(chart.yValue(3, 1)), float(250 / 5.11)); // the dial reading is never scaled
}

TEST_F(DirectLogSessionTest, RecordingWritesTheReadingsOnTheRate)
{
    session.rateEntered(QStringLiteral("5"));
    run();
    session.startRecording();
    EXPECT_EQ(session.buttons(), recordingButtons);
    QStringList expected{header};
    for (qint64 second = 1; second <= 12; ++second) {
        clock.advance(1.0);
        port().feed(reading(second, 250 + second));
        session.tick();
        if (second % 5 == 0)
            expected << QStringLiteral(" %1 ,%2, %3 , 300 , ").arg(second).arg(clockText()).arg(250 + second);
    }
    const QStringList lines = fileLines(QStringLiteral("data.txt"));
    ASSERT_EQ(lines.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(lines[i].startsWith(expected[i])) << lines[i].toStdString() << " / " << expected[i].toStdString();
    EXPECT_EQ(session.recordedLines(), 2);
    EXPECT_EQ(session.liveChart().pointIndex(), 13);

    session.stopRecording();
    EXPECT_EQ(session.buttons(), displayOnly);
    port().feed(reading(15));
    session.tick();
    EXPECT_EQ(fileLines(QStringLiteral("data.txt")).size(), 3);
}

TEST_F(DirectLogSessionTest, RecordedLineHoldsThePlottedViscosity)
{
    run();
    session.startRecording();
    port().feed(reading(30, 250));
    session.tick();
    EXPECT_EQ(fileLines(QStringLiteral("data.txt")).value(1),
              QStringLiteral(" 30 ,%1, 250 , 300 , 48.95338 ").arg(clockText()));
}

TEST_F(DirectLogSessionTest, At999PointsTheSeriesMove200Left)
{
    run();
    QByteArray burst;
    for (qint64 k = 1; k <= 998; ++k)
        burst += reading(k, k);
    port().feed(burst);
    session.tick();
    ASSERT_EQ(session.liveChart().pointIndex(), 999);
    port().feed(reading(999, 999));
    session.tick();
    EXPECT_EQ(session.liveChart().pointIndex(), 800);
    EXPECT_FLOAT_EQ(float(chart.yValue(0, 799)), 999.000001f);
    EXPECT_FLOAT_EQ(float(chart.yValue(0, 798)), 998.000001f);
    EXPECT_FLOAT_EQ(float(chart.yValue(0, 0)), 200.000001f);
    EXPECT_FALSE(chart.point(0, 800).has_value());
    EXPECT_EQ(chart.writtenCount(0), 800);
}

TEST_F(DirectLogSessionTest, TimeWindowIs3MinutesAndMovesBy30Seconds)
{
    run();
    const double start = session.liveChart().xAxisMin();
    clock.advance(180.0);
    port().feed(reading(2));
    session.tick();
    EXPECT_DOUBLE_EQ(session.liveChart().xAxisMin(), start);
    clock.advance(1.0);
    port().feed(reading(3));
    session.tick();
    EXPECT_DOUBLE_EQ(session.liveChart().xAxisMin(), start + 30000.0);
    EXPECT_DOUBLE_EQ(session.liveChart().xAxisMax(), start + 210000.0);
    ASSERT_TRUE(chart.xRange().min.has_value());
    EXPECT_DOUBLE_EQ(*chart.xRange().min, start + 30000.0);
}

TEST_F(DirectLogSessionTest, EndByteAfterTheLastMessageEndsTheRun)
{
    run();
    session.startRecording();
    port().feed(reading(2) + QByteArray(1, 8));
    session.tick();
    EXPECT_TRUE(session.isRunning());
    session.tick();
    EXPECT_FALSE(session.isRunning());
    EXPECT_FALSE(session.timer()->isActive());
    EXPECT_FALSE(port().isOpen());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("Test is finished."));
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Message"));
    // The buttons stay as they were until Stop.
    EXPECT_EQ(session.buttons(), recordingButtons);
    EXPECT_EQ(port().written().right(1), QByteArray(1, 5)); // nothing sent at the end
}

TEST_F(DirectLogSessionTest, StopSendsByte6AndReturnsToIdle)
{
    run();
    session.stop();
    EXPECT_EQ(port().written().right(1), QByteArray(1, 6));
    EXPECT_FALSE(port().isOpen());
    EXPECT_FALSE(session.isRunning());
    EXPECT_FALSE(session.timer()->isActive());
    EXPECT_EQ(session.buttons(), idle);

    // Without a run the port is opened for the byte and closed again.
    const int opened = port().openCount;
    session.stop();
    EXPECT_EQ(port().openCount, opened + 1);
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(port().written().right(2), QByteArray("\x06\x06"));
    EXPECT_TRUE(prompts.records.isEmpty());

    state.CommPortNumber = missingComm;
    session.stop();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Comport Error"));
}

TEST_F(DirectLogSessionTest, ExitStopsARunningInstrumentAndNothingElse)
{
    session.exit();
    EXPECT_EQ(port().written(), runSpeed300);
    run();
    session.exit();
    EXPECT_EQ(port().written(), runSpeed300 + "\x05\x06");
    EXPECT_FALSE(port().isOpen());
    EXPECT_FALSE(session.timer()->isActive());
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(DirectLogSessionTest, SpeedChosenDuringARunGoesOutOnTheOpenPort)
{
    run();
    const int opened = port().openCount;
    session.speedEntered(QStringLiteral("600"));
    EXPECT_TRUE(port().isOpen());
    EXPECT_EQ(port().openCount, opened);
    EXPECT_EQ(port().written().right(19), QByteArray(1, 8) + "1,60000,35,60000,1");
    port().feed(reading(2));
    session.tick();
    EXPECT_EQ(session.liveChart().pointIndex(), 2);
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(DirectLogSessionTest, RecordingLeftOnGoesOnInTheNextRun)
{
    run();
    session.startRecording();
    session.stop();
    EXPECT_TRUE(session.isRecording());
    run(QStringLiteral("second.txt"));
    EXPECT_EQ(session.buttons(), recordingButtons);
    port().feed(reading(2));
    session.tick();
    EXPECT_EQ(fileLines(QStringLiteral("second.txt")).size(), 2);
}

TEST_F(DirectLogSessionTest, ExistingDataFileIsReplacedOnlyWhenTheOperatorSaysSo)
{
    QFile old(dir.file(QStringLiteral("data.txt")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier recording\r\n");
    old.close();

    prompts.messageAnswers = {MsgAnswer::No};
    run();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(prompts.records[0].text.contains(QDir::toNativeSeparators(dir.file(QStringLiteral("data.txt")))));
    EXPECT_FALSE(session.isRunning());
    EXPECT_EQ(port().written(), runSpeed300);
    EXPECT_EQ(fileLines(QStringLiteral("data.txt")), QStringList{QStringLiteral("earlier recording")});

    prompts.messageAnswers = {MsgAnswer::Yes};
    run();
    EXPECT_TRUE(session.isRunning());
    EXPECT_EQ(fileLines(QStringLiteral("data.txt")), QStringList{header});

    // A file with nothing but its header holds no data: no question.
    session.stop();
    prompts.clear();
    run();
    EXPECT_TRUE(session.isRunning());
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(DirectLogSessionTest, DataFileThatCannotBeCreated_HeaderAndLinesWaitUntilItCanBe)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("data.txt"))); // a folder in the way
    session.startRecording();
    run();
    EXPECT_TRUE(session.isRunning());
    EXPECT_TRUE(session.isRecording()) << "recording goes on";
    EXPECT_EQ(session.buttons(), recordingButtons);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::Notice);
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Data File Error"));
    EXPECT_TRUE(prompts.records[0].text.contains(QDir::toNativeSeparators(dir.file(QStringLiteral("data.txt")))));

    port().feed(reading(1) + reading(2));
    session.tick();
    EXPECT_EQ(session.liveChart().pointIndex(), 3);
    EXPECT_EQ(session.statusText(), QStringLiteral("2 lines waiting for the data file"));
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("data.txt")));
    port().feed(reading(3));
    session.tick();
    const QStringList lines = fileLines(QStringLiteral("data.txt"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], header);
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral(" %1 ,").arg(i))) << lines[i].toStdString();
    EXPECT_TRUE(session.statusText().isEmpty());
    EXPECT_EQ(prompts.records.size(), 1) << "told once";
}

TEST_F(DirectLogSessionTest, DataFileThatCannotBeAppendedTo_LinesWaitInOrderAndGoWhenItsFolderIsBack)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("logs")));
    run(QStringLiteral("logs/data.txt"));
    session.startRecording();
    port().feed(reading(1) + reading(2));
    session.tick();
    ASSERT_EQ(fileLines(QStringLiteral("logs/data.txt")).size(), 3);

    // The folder goes away for a while (a network drive drops, say).
    ASSERT_TRUE(QDir(dir.path()).rename(QStringLiteral("logs"), QStringLiteral("away")));
    for (int second = 3; second <= 6; ++second) {
        port().feed(reading(second));
        session.tick();
    }
    EXPECT_TRUE(session.isRecording());
    EXPECT_EQ(session.statusText(), QStringLiteral("4 lines waiting for the data file"));
    EXPECT_EQ(prompts.noticeTexts().size(), 1);
    ASSERT_TRUE(QDir(dir.path()).rename(QStringLiteral("away"), QStringLiteral("logs")));
    port().feed(reading(7));
    session.tick();
    const QStringList lines = fileLines(QStringLiteral("logs/data.txt"));
    ASSERT_EQ(lines.size(), 8);
    for (int i = 1; i <= 7; ++i)
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral(" %1 ,").arg(i))) << lines[i].toStdString();
    EXPECT_TRUE(session.statusText().isEmpty());
    EXPECT_TRUE(prompts.messageTexts().isEmpty());
}

TEST_F(DirectLogSessionTest, DiskFullUntilStop_WaitingLinesAreSavedBesideTheDataFile)
{
    run();
    session.startRecording();
    port().feed(reading(1));
    session.tick();
    // From now on the data file is a full disk (a link to /dev/full, which refuses every write).
    const QString path = dir.file(QStringLiteral("data.txt"));
    ASSERT_TRUE(QFile::rename(path, dir.file(QStringLiteral("kept.txt"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
    port().feed(reading(2) + reading(3));
    session.tick();
    EXPECT_EQ(session.statusText(), QStringLiteral("2 lines waiting for the data file"));
    ASSERT_EQ(prompts.noticeTexts().size(), 1);

    session.stop();
    EXPECT_EQ(session.buttons(), idle);
    const QString saved = session.recoveryFile();
    ASSERT_FALSE(saved.isEmpty());
    EXPECT_EQ(QFileInfo(saved).absolutePath(), QFileInfo(path).absolutePath());
    EXPECT_TRUE(QFileInfo(saved).fileName().startsWith(QStringLiteral("data recovered ")));
    const QStringList lines = fileLines(QFileInfo(saved).fileName());
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], header);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral(" 2 ,")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral(" 3 ,")));
    ASSERT_EQ(prompts.messageTexts().size(), 1);
    EXPECT_TRUE(prompts.messageTexts()[0].startsWith(QStringLiteral("2 lines could not be written to the data file")));
    EXPECT_TRUE(prompts.messageTexts()[0].contains(QDir::toNativeSeparators(saved)));
    EXPECT_EQ(fileLines(QStringLiteral("kept.txt")).size(), 2) << "what was written stays";
}

TEST_F(DirectLogSessionTest, SilentInstrument_StatusSaysSinceWhenAndTheRunGoesOn)
{
    run();
    clock.advance(1.0);
    port().feed(reading(1));
    session.tick();
    const QString last = clockText();
    for (int quiet = 1; quiet <= 11; ++quiet) {
        clock.advance(1.0);
        session.tick();
        EXPECT_EQ(session.statusText(),
                  quiet >= 10 ? QStringLiteral("No data from the K7100 since %1").arg(last) : QString())
            << quiet;
    }
    EXPECT_TRUE(session.isRunning());
    clock.advance(1.0);
    port().feed(reading(2));
    session.tick();
    EXPECT_TRUE(session.statusText().isEmpty());
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(DirectLogSessionTest, LostLineEndsTheRunWithOneMessage)
{
    run();
    session.startRecording();
    port().feed(reading(2));
    session.tick();
    port().failNow();
    session.tick();
    EXPECT_FALSE(session.isRunning());
    EXPECT_FALSE(session.timer()->isActive());
    EXPECT_EQ(session.buttons(), idle);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Comm Port Error"));
    EXPECT_EQ(fileLines(QStringLiteral("data.txt")).size(), 2);
}

// No serial handler runs inside another command's wait (a download's pacing, a retrieve's quiet time, the
// calibration check's waits): a tick that comes then leaves its turn, and the readings that arrived are
// plotted by the next tick, none lost. Outside such a wait the same tick reads at once.
TEST_F(DirectLogSessionTest, TickInsideAnotherCommandsWaitLeavesItsTurnAndLosesNothing)
{
    run();
    port().feed(reading(1, 250) + reading(2, 260));
    bool timerFires = true;
    int ticks = 0;
    // The logging window's timer firing while the clock moves on.
    clock.onAdvance([&](double) {
        if (!timerFires)
            return;
        ++ticks;
        session.tick();
    });
    Delay(clock, 0.1);
    DelayWithEvents(clock, 0.07);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(session.liveChart().pointIndex(), 1);
    EXPECT_GT(port().bytesAvailable(), 0);

    clock.advance(1.0); // no command waits: the tick reads both readings
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(session.liveChart().pointIndex(), 3);
    EXPECT_FLOAT_EQ(float(chart.yValue(0, 2)), 260.000001f);
    timerFires = false;
}
