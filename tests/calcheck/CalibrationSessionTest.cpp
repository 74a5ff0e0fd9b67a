// The calibration check's Start, tick, end and Return on a fake port and a virtual clock.
#include "common/RotorBobTable.h"
#include "tests/calcheck/CalCheckFixture.h"

#include <QTimer>

using calcheck::reading;

namespace {

class CalibrationSessionTest : public CalCheckFixture {
protected:
    // Runs `action` once, the first time the clock passes `at` (a click while Start waits with events).
    void onceAt(double at, std::function<void()> action)
    {
        auto done = std::make_shared<bool>(false);
        clock.onAdvance([=](double now) {
            if (!*done && now >= at) {
                *done = true;
                action();
            }
        });
    }

    const QString portText =
        QStringLiteral("Fail to open comm port, make sure comm port is available and working properly.");
};

} // namespace

TEST_F(CalibrationSessionTest, StartStopsDownloadsTheStepsAndStartsStreaming)
{
    state.RotorBob = 1;
    const double t0 = clock.now();
    startWith(QStringLiteral("100"));

    EXPECT_TRUE(prompts.records.isEmpty());
    ASSERT_TRUE(session.isRunning());
    EXPECT_TRUE(session.timer()->isActive());
    EXPECT_EQ(session.timer()->interval(), 1000);
    EXPECT_TRUE(port().isOpen());
    EXPECT_EQ(session.statusText(), QStringLiteral("Auto Calibration Check In Progress... "));

    QByteArray expected("\x06\x03");
    const char *speeds[] = {"00176", "00352", "00587", "05874", "46995"};
    for (int i = 0; i < 5; ++i)
        expected += QByteArray("0") + QByteArray::number(i + 1) + ",00030,055," + speeds[i] + ",111";
    expected += "99\x05";
    EXPECT_EQ(port().written(), expected);

    // Byte 6, 2 s; byte 3, 0.07 s; each of the 50 step items, 0.07 s; then "99" and byte 5 together.
    const auto &w = port().writes;
    ASSERT_EQ(w.size(), 2 + 50 + 2);
    EXPECT_DOUBLE_EQ(w[0].at, t0);
    EXPECT_DOUBLE_EQ(w[1].at, t0 + 2.0);
    EXPECT_NEAR(w[2].at, t0 + 2.07, 1e-9);
    EXPECT_NEAR(w[51].at, t0 + 2.07 + 49 * 0.07, 1e-9);
    EXPECT_EQ(w[52].bytes, QByteArray("99"));
    EXPECT_EQ(w[53].bytes, QByteArray("\x05"));
    EXPECT_DOUBLE_EQ(w[52].at, w[53].at);
    EXPECT_NEAR(w[52].at, t0 + 2.07 + 50 * 0.07, 1e-9);
    // Every wait lets the window work.
    ASSERT_EQ(clock.waits.size(), 52);
    for (const auto &wait : clock.waits)
        EXPECT_TRUE(wait.userInput);
    EXPECT_FALSE(state.SequenceSent);
}

// The instrument is told the rotor-bob chosen on the setup screen, also after a custom test was opened
// (which leaves its factor x 1000 in RotorBob, a number no step of the download can carry).
TEST_F(CalibrationSessionTest, EveryStepCarriesTheSelectedRotorBobAndOnlyTheTargetsUpTo600Rpm)
{
    RotorBobTable::select(2, state); // R3-B1
    state.RotorBob = 12341;          // what opening a test stored with the custom factor 12.341 leaves
    state.CustomRB = true;
    startWith(QStringLiteral("50"));
    const QByteArray w = port().written();
    EXPECT_EQ(w.count(",311"), 4); // rotor-bob 3, then the "11" that closes a step
    EXPECT_TRUE(w.contains("04,00030,055,11749,311"));
    for (const auto &piece : port().writes)
        EXPECT_NE(piece.bytes, QByteArray("05"));
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(session.table().rows()[size_t(r)].run, r < 4);
}

// Before the setup screen chose a rotor-bob (RotorBob is still 0 from the start), the steps carry R1-B1's
// code, the geometry the check's speeds are worked out for, not a code no rotor-bob has.
TEST_F(CalibrationSessionTest, BeforeAnyRotorBobWasChosenTheStepsCarryR1B1)
{
    ASSERT_EQ(state.RotorBob, 0);
    ASSERT_EQ(state.InstrumentRotorBob, 0);
    startWith(QStringLiteral("50"));
    // Each step's rotor-bob code is the piece written just before the "11" that closes it.
    QList<QByteArray> codes;
    const auto &writes = port().writes;
    for (qsizetype i = 1; i < writes.size(); ++i)
        if (writes[i].bytes == "11")
            codes << writes[i - 1].bytes;
    EXPECT_EQ(codes, (QList<QByteArray>{"1", "1", "1", "1"}));
}

TEST_F(CalibrationSessionTest, RefusedViscositySendsNothing)
{
    for (const char *text : {"0.5", "5001", "abc", ""}) {
        prompts.clear();
        startWith(QString::fromLatin1(text));
        ASSERT_EQ(prompts.records.size(), 1) << text;
        EXPECT_EQ(prompts.records[0].text, QStringLiteral("Viscosity measurement out of range.")) << text;
        EXPECT_EQ(prompts.records[0].title, QStringLiteral("K7100DAQ"));
        EXPECT_EQ(prompts.records[0].buttons, MsgButtons::Ok);
        EXPECT_FALSE(session.isRunning());
    }
    EXPECT_EQ(port().openCount, 0);
    EXPECT_TRUE(port().writes.isEmpty());
}

TEST_F(CalibrationSessionTest, PortThatCannotBeOpenedIsToldOnce)
{
    state.CommPortNumber = missingComm;
    startWith(QStringLiteral("100"));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Comm Port Error"));
    EXPECT_EQ(prompts.records[0].text, portText);
    EXPECT_FALSE(session.isRunning());
    EXPECT_FALSE(session.timer()->isActive());
}

TEST_F(CalibrationSessionTest, LineDyingDuringTheDownloadStopsItThere)
{
    dieAfterWrites = 6;
    CalibrationSession dying(ctx);
    dying.load();
    dying.start(QStringLiteral("100"));
    ASSERT_EQ(prompts.messageTexts(), QStringList{portText});
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Comm Port Error"));
    EXPECT_FALSE(dying.isRunning());
    EXPECT_FALSE(dying.timer()->isActive());
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(port().writes.size(), 6);
}

TEST_F(CalibrationSessionTest, TickFillsTheRowsFromSeconds27And28)
{
    startWith(QStringLiteral("100"));
    // Several messages in one tick, the last one split across two ticks.
    const QByteArray last = reading(2, 28, 6);
    port().feed(reading(1, 26, 9) + reading(1, 27, 2) + reading(1, 28, 3) + reading(2, 27, 5) + last.left(4));
    session.tick();
    EXPECT_EQ(session.table().rows()[0].error, QStringLiteral("0.0"));
    EXPECT_EQ(session.table().rows()[0].percentError, QStringLiteral("0.0"));
    EXPECT_EQ(session.table().rows()[1].error, QStringLiteral("-1.0"));
    EXPECT_EQ(session.table().rows()[1].percentError, QStringLiteral("16.7"));

    port().feed(last.mid(4) + reading(4, 28, 98) + reading(4, 29, 150));
    session.tick();
    EXPECT_EQ(session.table().rows()[1].error, QStringLiteral("0.0"));
    EXPECT_EQ(session.table().rows()[3].error, QStringLiteral("-2.0"));
    EXPECT_EQ(session.table().rows()[3].percentError, QStringLiteral("2.0"));
    EXPECT_EQ(session.table().rows()[2].error, QStringLiteral("N/A"));
    EXPECT_EQ(session.table().rows()[4].error, QStringLiteral("N/A"));
    EXPECT_TRUE(session.isRunning());
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(CalibrationSessionTest, EndByteAfterTheLastMessageEndsTheCheckOnTheNextTick)
{
    startWith(QStringLiteral("100"));
    port().feed(reading(5, 28, 801) + reading(5, 29, 800) + reading(5, 30, 800) + QByteArray(1, 8));
    session.tick();
    EXPECT_TRUE(session.isRunning());
    EXPECT_EQ(session.table().rows()[4].error, QStringLiteral("1.0"));
    session.tick();
    EXPECT_FALSE(session.isRunning());
    EXPECT_FALSE(session.timer()->isActive());
    EXPECT_FALSE(port().isOpen());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("Auto Calibration Check is Finished."));
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Message"));
    EXPECT_EQ(session.statusText(), QStringLiteral("Auto Calibration Check is Finished. "));
    // The table stays for the operator to read and export.
    EXPECT_EQ(session.table().rows()[4].error, QStringLiteral("1.0"));
}

TEST_F(CalibrationSessionTest, EndByteFollowedByMoreBytesDoesNotEndTheCheck)
{
    startWith(QStringLiteral("100"));
    port().feed(QByteArray(1, 8) + "1,2");
    session.tick();
    session.tick();
    EXPECT_TRUE(session.isRunning());
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(CalibrationSessionTest, ReturnDuringTheDownloadStopsItQuietly)
{
    session.load();
    const double t0 = clock.now();
    onceAt(t0 + 1.0, [this] { session.leave(); }); // during the 2-second wait after byte 6
    session.start(QStringLiteral("100"));
    EXPECT_EQ(port().written(), QByteArray("\x06"));
    EXPECT_FALSE(port().isOpen());
    EXPECT_FALSE(session.isRunning());
    EXPECT_FALSE(session.isStarting());
    EXPECT_FALSE(session.timer()->isActive());
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(CalibrationSessionTest, ReturnWhileRunningClosesThePortAndSendsNothing)
{
    startWith(QStringLiteral("100"));
    const qsizetype sent = port().writes.size();
    session.leave();
    EXPECT_FALSE(port().isOpen());
    EXPECT_FALSE(session.isRunning());
    EXPECT_FALSE(session.timer()->isActive());
    EXPECT_EQ(port().writes.size(), sent);
    port().feed(reading(1, 28, 3));
    session.tick();
    EXPECT_EQ(session.table().rows()[0].error, QStringLiteral("N/A"));
}

TEST_F(CalibrationSessionTest, SecondStartIsRefusedWithThePortMessageAndTheFirstGoesOn)
{
    session.load();
    onceAt(clock.now() + 1.0, [this] { session.start(QStringLiteral("50")); }); // clicked during the download
    session.start(QStringLiteral("100"));
    ASSERT_EQ(prompts.messageTexts(), QStringList{portText});
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Comm Port Error"));
    EXPECT_TRUE(session.isRunning());
    EXPECT_EQ(port().written().count('\x03'), 1);
    EXPECT_EQ(session.table().plan().StepCount, 5);

    // And once running.
    const qsizetype sent = port().writes.size();
    session.start(QStringLiteral("100"));
    EXPECT_EQ(prompts.messageTexts().size(), 2);
    EXPECT_TRUE(session.isRunning());
    EXPECT_TRUE(port().isOpen());
    EXPECT_EQ(port().writes.size(), sent);
}

TEST_F(CalibrationSessionTest, LostLineEndsTheCheckWithOneMessageAndKeepsTheRows)
{
    startWith(QStringLiteral("100"));
    port().feed(reading(1, 28, 3));
    session.tick();
    port().failNow();
    session.tick();
    EXPECT_FALSE(session.isRunning());
    EXPECT_FALSE(session.timer()->isActive());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Comm Port Error"));
    EXPECT_EQ(session.table().rows()[0].error, QStringLiteral("0.0"));
}

TEST_F(CalibrationSessionTest, ANewCheckClearsTheTable)
{
    startWith(QStringLiteral("100"));
    port().feed(reading(1, 28, 4) + QByteArray(1, 8));
    session.tick();
    session.tick();
    ASSERT_FALSE(session.isRunning());
    ASSERT_EQ(session.table().rows()[0].error, QStringLiteral("1.0"));
    session.start(QStringLiteral("100"));
    EXPECT_TRUE(session.isRunning());
    EXPECT_EQ(session.table().rows()[0].error, QStringLiteral("N/A"));
    EXPECT_EQ(session.statusText(), QStringLiteral("Auto Calibration Check In Progress... "));
}
