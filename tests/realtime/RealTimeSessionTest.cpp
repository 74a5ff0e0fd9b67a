// The real-time screen's logic against a fake port and a virtual clock: Start's guards and handshake,
// the tick (storing, readouts, elapsed time, end byte), Stop, leaving the screen, and a database that
// stops accepting points mid-run.
#include "realtime/RealTimeSession.h"

#include "tests/realtime/ControlBytes.h"
#include "tests/realtime/SessionFixture.h"

#include <QSqlQuery>
#include <QTimer>

namespace {

const QString commFailure =
    QStringLiteral("Fail to open comm port, make sure comm port is available and working properly.");

class SessionTest : public RealTimeSessionFixture {};

} // namespace

TEST_F(SessionTest, StartIsRefusedUntilNamedSentAndConfirmed)
{
    struct Case {
        const char *name;
        bool named;
        bool sent;
        bool relatedOk;
        const char *text;
        const char *title;
    };
    const Case cases[] = {
        {"not named", false, true, true, "Name this test by clicking the 'Save Result As' button.",
         "Communication Error"},
        {"no sequence sent", true, false, true,
         "You must go to the Setup Screen and send the sequence to the K7100 before performing a real time test.",
         "Operation Error"},
        {"naming dialog cancelled last", true, true, false, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        fx.prompts.clear();
        fx.port = nullptr;
        fx.state.SequenceSent = c.sent;
        session->setNamed(c.named, QStringLiteral("Run A"));
        fx.state.RelatedOk = c.relatedOk;
        session->start();
        EXPECT_FALSE(session->isRunning()) << c.name;
        EXPECT_EQ(fx.port, nullptr) << c.name << ": no port was made";
        if (c.text) {
            ASSERT_EQ(fx.prompts.records.size(), 1) << c.name;
            EXPECT_EQ(fx.prompts.records[0].text, QString::fromLatin1(c.text)) << c.name;
            EXPECT_EQ(fx.prompts.records[0].title, QString::fromLatin1(c.title)) << c.name;
        } else {
            EXPECT_TRUE(fx.prompts.records.isEmpty()) << c.name;
        }
    }
}

TEST_F(SessionTest, StartWithTheInstrumentAnswering_SendsTheStartByteAndRunsAfterThreeSeconds)
{
    name(7);
    const double t0 = fx.clock.now();
    session->start();
    EXPECT_TRUE(session->isRunning());
    EXPECT_TRUE(session->timer()->isActive());
    EXPECT_EQ(session->timer()->interval(), 1000);
    EXPECT_EQ(fx.port->written(), QByteArray(1, 5));
    EXPECT_GE(fx.clock.now() - t0, 3.0);
    EXPECT_LT(fx.clock.now() - t0, 3.2);
    EXPECT_EQ(session->statusText(), QStringLiteral("Test in progress ..."));
    EXPECT_EQ(session->readouts()[0], QStringLiteral("Run A"));
    EXPECT_EQ(session->testId(), 7);
    EXPECT_TRUE(fx.prompts.records.isEmpty());
    // A second Start while running does nothing.
    session->start();
    EXPECT_EQ(fx.port->written(), QByteArray(1, 5));
}

TEST_F(SessionTest, StartWithoutAnAnswer_TimesOutAfterAboutElevenSecondsAndClosesThePort)
{
    fx.onNewPort = nullptr; // an instrument that never answers
    session = std::make_unique<RealTimeSession>(fx.context, chart);
    session->load();
    name();
    const double t0 = fx.clock.now();
    session->start();
    EXPECT_FALSE(session->isRunning());
    EXPECT_GE(fx.clock.now() - t0, 11.0);
    EXPECT_LT(fx.clock.now() - t0, 11.2);
    EXPECT_FALSE(fx.port->isOpen());
    ASSERT_NE(fx.prompts.lastMessage(), nullptr);
    EXPECT_EQ(fx.prompts.lastMessage()->text, QStringLiteral("No response from K7100, please check connection."));
    EXPECT_EQ(fx.prompts.lastMessage()->title, QStringLiteral("Communication Error"));
    EXPECT_NE(session->statusText(), QStringLiteral("Test in progress ..."));
}

TEST_F(SessionTest, StartOnAPortThatCannotOpen_ShowsThePortMessageAndStaysIdle)
{
    fx.onNewPort = [](FakeSerialPort &port) { port.existingDevices = {QStringLiteral("/dev/none")}; };
    session = std::make_unique<RealTimeSession>(fx.context, chart);
    session->load();
    name();
    session->start();
    EXPECT_FALSE(session->isRunning());
    ASSERT_EQ(fx.prompts.records.size(), 1);
    EXPECT_EQ(fx.prompts.records[0].text, commFailure);
    EXPECT_EQ(fx.prompts.records[0].title, QStringLiteral("Comm port Error"));
}

TEST_F(SessionTest, TickStoresTheReadingsOnTheRecordRateAndShowsEveryValidOne)
{
    startRunning();
    struct Case {
        const char *name;
        QList<qint64> fields;
        bool stored;
        bool shown;
    };
    const Case cases[] = {
        {"rate 10 at 30 s", {1, 30, 77, 250, 12, 30000, 1}, true, true},
        {"rate 10 at 31 s", {1, 31, 78, 251, 12, 30000, 1}, false, true},
        {"rotor-bob code 0", {1, 40, 79, 252, 12, 30000, 0}, false, true},
        {"rotor-bob code 7", {1, 50, 80, 253, 12, 30000, 7}, false, true},
        {"step 2 rate 5 at 15 s", {2, 15, 81, 254, 13, 60000, 2}, true, true},
        {"step without a rate", {3, 20, 82, 255, 13, 60000, 2}, false, true},
        {"stress 60001 is ignored", {2, 20, 83, 60001, 13, 60000, 2}, false, false},
        {"seconds 0 is ignored", {2, 0, 84, 256, 13, 60000, 2}, false, false},
    };
    int stored = 0;
    qint64 elapsed = 1; // the first reading, which answered the start byte
    for (const Case &c : cases) {
        const QString before = session->readouts()[3];
        deliver(message(c.fields));
        ++elapsed;
        stored += c.stored;
        EXPECT_EQ(rows().size(), stored) << c.name;
        EXPECT_EQ(session->readouts()[3] == QString::number(c.fields[2]), c.shown) << c.name;
        if (!c.shown) {
            EXPECT_EQ(session->readouts()[3], before) << c.name;
        }
        EXPECT_EQ(session->elapsedCount(), elapsed) << c.name;
    }
    const QList<QList<double>> expected = {{1, 30, 77, 300, 250, 12, 1}, {2, 15, 81, 600, 254, 13, 2}};
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(session->elapsedText(), QStringLiteral("Elapsed Time: 00:00:09"));
    EXPECT_EQ(chart.writtenCount(0), 7);
}

TEST_F(SessionTest, TwoAndAHalfMessagesInOneTick_AreProcessedInOrderAndTheHalfCompletesNext)
{
    startRunning();
    const QByteArray a = message({1, 10, 77, 250, 12, 30000, 1});
    const QByteArray b = message({1, 20, 78, 260, 12, 30000, 1});
    const QByteArray c = message({1, 30, 79, 270, 12, 30000, 1});
    deliver(a + b + c.left(5));
    EXPECT_EQ(rows().size(), 2);
    EXPECT_EQ(session->readouts()[2], QStringLiteral("20"));
    EXPECT_EQ(session->elapsedCount(), 3);
    deliver(c.mid(5));
    EXPECT_EQ(rows().size(), 3);
    EXPECT_EQ(session->readouts()[2], QStringLiteral("30"));
    EXPECT_EQ(rows().at(2).at(1), 30.0);
}

TEST_F(SessionTest, ReadoutsAndRowsInCustomMode_UseTheFactorsTakenAtStart)
{
    fx.state.CustomRB = true;
    fx.state.CustomStressFactor = 1.5;
    fx.state.CustomRateFactor = 1.2345;
    startRunning();
    deliver(message({1, 30, 77, 250, 12, 30000, 1}));
    // Naming the next test during the run resets the custom choice; the running test keeps its factors.
    fx.state.CustomRB = false;
    deliver(message({1, 40, 77, 250, 12, 30000, 1}));
    const QList<QList<double>> expected = {{1, 30, 77, 300, 375, 18, 1234}, {1, 40, 77, 300, 375, 18, 1234}};
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(session->readouts()[5], QStringLiteral("375"));
    EXPECT_EQ(session->readouts()[8], QStringLiteral("101.26"));
}

TEST_F(SessionTest, EndByte_EndsTheRunOnlyWhenNothingFollowsIt)
{
    struct Case {
        const char *name;
        QByteArray tail;
        bool ends;
    };
    const Case cases[] = {
        {"alone", QByteArray(1, BS), true},
        {"followed by bytes", QByteArray(1, BS) + "1,", false},
    };
    for (const Case &c : cases) {
        SetUp();
        startRunning();
        const qsizetype rowsBefore = rows().size();
        deliver(message({1, 10, 77, 250, 12, 30000, 1}) + c.tail);
        EXPECT_TRUE(session->isRunning()) << c.name << ": the end byte is looked at on the next tick";
        fx.clock.advance(1.0);
        session->tick();
        EXPECT_EQ(!session->isRunning(), c.ends) << c.name;
        if (c.ends) {
            EXPECT_FALSE(session->timer()->isActive());
            EXPECT_FALSE(fx.port->isOpen());
            EXPECT_FALSE(session->isNamed());
            EXPECT_EQ(session->statusText(), QStringLiteral("Test is finished."));
            ASSERT_EQ(fx.prompts.records.size(), 1);
            EXPECT_EQ(fx.prompts.records[0].text, QStringLiteral("Test is finished."));
            EXPECT_EQ(fx.prompts.records[0].title, QStringLiteral("Message"));
            EXPECT_EQ(fx.port->written(), QByteArray(1, 5)) << "nothing is sent at the end";
        } else {
            EXPECT_TRUE(fx.prompts.records.isEmpty());
        }
        EXPECT_EQ(rows().size(), rowsBefore + 1) << c.name;
    }
}

TEST_F(SessionTest, StopDuringARun_SendsTheStopByteClosesThePortAndKeepsTheRows)
{
    startRunning();
    deliver(message({1, 10, 77, 250, 12, 30000, 1}) + "1,20,7");
    FakeSerialPort *port = fx.port;
    session->stop();
    EXPECT_FALSE(session->isRunning());
    EXPECT_FALSE(session->isNamed());
    EXPECT_FALSE(session->timer()->isActive());
    EXPECT_EQ(port->written(), QByteArray(1, 5) + QByteArray(1, 6));
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(session->framer().pending().isEmpty());
    EXPECT_EQ(session->statusText(), QStringLiteral("Test stop"));
    EXPECT_EQ(rows().size(), 1);
    EXPECT_TRUE(fx.prompts.records.isEmpty());
}

TEST_F(SessionTest, StopWithoutARun_SendsTheStopByteAndLeavesThePortOpen)
{
    const QString statusBefore = session->statusText();
    session->stop();
    ASSERT_NE(fx.port, nullptr);
    EXPECT_EQ(fx.port->written(), QByteArray(1, 6));
    EXPECT_TRUE(fx.port->isOpen());
    EXPECT_EQ(session->statusText(), statusBefore);
    EXPECT_TRUE(fx.prompts.records.isEmpty());
}

TEST_F(SessionTest, StopOnAPortThatCannotOpen_ShowsThePortMessage)
{
    fx.onNewPort = [](FakeSerialPort &port) { port.existingDevices = {QStringLiteral("/dev/none")}; };
    session = std::make_unique<RealTimeSession>(fx.context, chart);
    session->load();
    session->stop();
    ASSERT_EQ(fx.prompts.records.size(), 1);
    EXPECT_EQ(fx.prompts.records[0].text, commFailure);
    EXPECT_EQ(fx.prompts.records[0].title, QStringLiteral("Comm port Error"));
}

TEST_F(SessionTest, LeavingIsRefusedOnlyWhileRunning)
{
    EXPECT_TRUE(session->mayLeave());
    EXPECT_TRUE(fx.prompts.records.isEmpty());
    startRunning();
    EXPECT_FALSE(session->mayLeave());
    ASSERT_EQ(fx.prompts.records.size(), 1);
    EXPECT_EQ(fx.prompts.records[0].text, QStringLiteral("Please close the running test."));
    EXPECT_EQ(fx.prompts.records[0].title, QStringLiteral("Communication Error"));
    EXPECT_TRUE(session->isRunning());
}

TEST_F(SessionTest, LostLine_StopsTheRunWithOneMessage)
{
    startRunning();
    deliver(message({1, 10, 77, 250, 12, 30000, 1}));
    fx.port->failNow();
    deliver(QByteArray());
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(rows().size(), 1);
    ASSERT_EQ(fx.prompts.records.size(), 1);
    EXPECT_EQ(fx.prompts.records[0].title, QStringLiteral("Comm port Error"));
}

TEST_F(SessionTest, EndlessInputWithoutEndByte_IsCappedAndCountedForTheStatusBar)
{
    startRunning();
    EXPECT_TRUE(session->discardedText().isEmpty());
    deliver(QByteArray(3000, '1'));
    deliver(QByteArray(3000, '2'));
    EXPECT_EQ(session->framer().pending().size(), 4096);
    EXPECT_EQ(session->discardedText(), QStringLiteral("Unreadable input discarded: 1904 bytes"));
}

TEST_F(SessionTest, LoadSetsCaptionsAndStepsOnAnEmptyDatabase)
{
    ASSERT_EQ(fx.count(QStringLiteral("SELECT COUNT(*) FROM TestResult")), 0);
    const std::array<QString, 9> captions = {
        QStringLiteral("Test Name"),   QStringLiteral("StepNo"),       QStringLiteral("Curr.Step Time"),
        QStringLiteral("Temperature"), QStringLiteral("Speed"),        QStringLiteral("Shearstress"),
        QStringLiteral("Gel"),         QStringLiteral("Dial Reading"), QStringLiteral("Viscosity")};
    EXPECT_EQ(session->captions(), captions);
    EXPECT_EQ(session->steps().size(), 2);
    EXPECT_EQ(session->recordRates().rateFor(1), 10);
    EXPECT_EQ(session->recordRates().rateFor(2), 5);
    EXPECT_EQ(session->sequenceName(), QStringLiteral("Demo"));
    EXPECT_FALSE(session->isNamed());
}

// A real-time tick that comes while another command waits on the clock stores nothing then; the readings
// that arrived meanwhile are stored by the next tick, in order.
TEST_F(SessionTest, TickInsideAnotherCommandsWaitLeavesItsTurnAndTheNextStoresEverything)
{
    startRunning();
    fx.port->feed(message({1, 10, 70, 100, 0, 30000, 1}) + message({1, 20, 71, 110, 0, 30000, 1}));
    bool timerFires = true;
    fx.clock.onAdvance([&](double) {
        if (timerFires)
            session->tick();
    });
    Delay(fx.clock, 0.4);
    DelayWithEvents(fx.clock, 0.4);
    EXPECT_TRUE(rows().isEmpty());

    fx.clock.advance(1.0);
    timerFires = false;
    const QList<QList<double>> stored = rows();
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[0][1], 10);
    EXPECT_EQ(stored[1][1], 20);
}
