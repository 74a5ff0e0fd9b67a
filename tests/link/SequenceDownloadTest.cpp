// Sending a stored sequence: the bytes the instrument receives, their pacing on the clock, the progress
// shown, SequenceSent only after a whole stream, and the message on a missing or dying port.
#include "link/SequenceDownload.h"
#include "tests/link/SequenceFixture.h"

#include <QSqlQuery>

namespace {

class SequenceDownloadTest : public SequenceFixture {};

const QByteArray twoStepBytes("\x03"
                              "01,00060,120,30000,111"
                              "02,00600,150,00300,111"
                              "99");
const QList<Step> twoSteps = {{1, 60, 120, 300}, {2, 600, 150, 3}};

} // namespace

TEST_F(SequenceDownloadTest, TwoStepExample_SentWholeThenSequenceSent)
{
    addSequence(1, "Example", twoSteps);
    ASSERT_FALSE(state.SequenceSent);
    EXPECT_TRUE(send("Example"));
    EXPECT_EQ(port().written(), twoStepBytes);
    EXPECT_TRUE(state.SequenceSent);
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(port().openedDevices, QStringList{"/dev/k7-present"});
    EXPECT_EQ(messageCount(), 0);
}

TEST_F(SequenceDownloadTest, StoredStepsAreSent)
{
    struct Case {
        const char *name;
        QList<Step> steps;
        int unitSystem;
        int rotorBob;
        QByteArray sent;
    };
    const Case cases[] = {
        {"no steps",
         {},
         UnitsEI,
         1,
         "\x03"
         "99"},
        {"half rpm and 600 rpm",
         {{1, 60, 120, 0.5}, {2, 60, 120, 600}},
         UnitsEI,
         1,
         "\x03"
         "01,00060,120,00050,111"
         "02,00060,120,60000,111"
         "99"},
        {"metric screen sends the stored Fahrenheit",
         {{1, 60, 212, 300}},
         UnitsSI,
         1,
         "\x03"
         "01,00060,212,30000,111"
         "99"},
        {"metric screen, a temperature that does not survive a round trip",
         {{1, 60, 100.5, 300}},
         UnitsSI,
         1,
         "\x03"
         "01,00060,101,30000,111"
         "99"},
        {"rotor-bob of the screen in every step", twoSteps, UnitsEI, 3,
         "\x03"
         "01,00060,120,30000,311"
         "02,00600,150,00300,311"
         "99"},
        {"steps in step order whatever the row order", {{2, 600, 150, 3}, {1, 60, 120, 300}}, UnitsEI, 1, twoStepBytes},
    };
    int id = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QStringLiteral("Seq %1").arg(id);
        addSequence(id++, name, c.steps);
        state.UnitSystem = c.unitSystem;
        state.SequenceSent = false;
        EXPECT_TRUE(send(name, c.rotorBob));
        EXPECT_EQ(port().written(), c.sent);
        EXPECT_TRUE(state.SequenceSent);
    }
}

TEST_F(SequenceDownloadTest, SequenceFoundByNameIgnoringCaseAndQuotes)
{
    const QString name = QStringLiteral("Mud's \"hot\" run");
    addSequence(1, "Other", {{1, 30, 80, 100}});
    addSequence(2, name, twoSteps);
    EXPECT_TRUE(send(name.toUpper()));
    EXPECT_EQ(port().written(), twoStepBytes);
}

TEST_F(SequenceDownloadTest, EveryPieceFollowedByATenthOfASecond)
{
    addSequence(1, "Example", twoSteps);
    const double t0 = clock.now();
    ASSERT_TRUE(send("Example"));
    const auto &writes = port().writes;
    ASSERT_EQ(writes.size(), 1 + 2 * 10 + 1);
    EXPECT_EQ(writes.first().bytes, QByteArray("\x03"));
    EXPECT_NEAR(writes.first().at, t0, 1e-9);
    // After byte 3 one pause, then each piece one pause after the one before.
    for (int i = 1; i < writes.size(); ++i)
        EXPECT_NEAR(writes[i].at, t0 + 0.1 * i, 1e-9) << i;
    EXPECT_EQ(writes.last().bytes, QByteArray("99"));
    // No wait after "99": one step takes a second, the whole stream n seconds plus 0.1.
    EXPECT_NEAR(clock.now(), t0 + 2.1, 1e-9);
    for (const auto &w : clock.waits) {
        EXPECT_DOUBLE_EQ(w.seconds, 0.1);
        EXPECT_FALSE(w.userInput);
    }
}

TEST_F(SequenceDownloadTest, ProgressAndStatusTexts)
{
    addSequence(1, "Example", twoSteps);
    const double t0 = clock.now();
    ASSERT_TRUE(send("Example"));
    const QList<ProgressEvent> expected = {
        {"status", "Sending Setup Steps ..."},      {"show", {}, 2}, {"set", {}, 1}, {"set", {}, 2}, {"hide", {}},
        {"status", "Finished sending test steps."},
    };
    EXPECT_EQ(progress.events, expected);
    // Each step's bar position shows before that step's first piece goes out.
    ASSERT_EQ(progress.events.size(), expected.size());
    EXPECT_NEAR(progress.events[2].at, t0 + 0.1, 1e-9);
    EXPECT_NEAR(progress.events[3].at, t0 + 1.1, 1e-9);
}

TEST_F(SequenceDownloadTest, MissingPort_MessageAndSequenceSentStaysFalse)
{
    addSequence(1, "Example", twoSteps);
    state.CommPortNumber = missingComm;
    EXPECT_FALSE(send("Example"));
    ASSERT_EQ(messageCount(), 1);
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Comm port Error"));
    EXPECT_EQ(prompts.lastMessage()->text,
              QStringLiteral("Fail to open comm port, make sure comm port is available and working properly."));
    EXPECT_EQ(prompts.lastMessage()->buttons, MsgButtons::Ok);
    EXPECT_FALSE(state.SequenceSent);
    EXPECT_TRUE(port().writes.isEmpty());
    EXPECT_TRUE(progress.events.isEmpty());
}

TEST_F(SequenceDownloadTest, LineLostMidStream_ReportedOnceClosedAndNotMarkedSent)
{
    addSequence(1, "Example", twoSteps);
    dieAfterWrites = 6; // byte 3 and the first five pieces of step 1
    EXPECT_FALSE(send("Example"));
    EXPECT_EQ(messageCount(), 1);
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Comm port Error"));
    EXPECT_FALSE(state.SequenceSent);
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(port().written(),
              QByteArray("\x03"
                         "01,00060,120"));
    EXPECT_FALSE(progress.events.contains(ProgressEvent{"status", "Finished sending test steps."}));
    EXPECT_EQ(progress.events.last(), (ProgressEvent{"hide", {}}));
}

TEST_F(SequenceDownloadTest, FailureLeavesAnEarlierSendStanding)
{
    addSequence(1, "Example", twoSteps);
    state.SequenceSent = true;
    state.CommPortNumber = missingComm;
    EXPECT_FALSE(send("Example"));
    EXPECT_TRUE(state.SequenceSent);
}

TEST_F(SequenceDownloadTest, UnreadableSteps_MessageAndNothingSent)
{
    addSequence(1, "Example", twoSteps);
    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec("DROP TABLE SequenceSetup"));
    EXPECT_FALSE(send("Example"));
    EXPECT_EQ(messageCount(), 1);
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Comm port Error"));
    EXPECT_EQ(port().openCount, 0);
    EXPECT_FALSE(state.SequenceSent);
}
