// Stand-alone start and stop (one control byte each on a port opened for the command), the failure
// message of every main-window and setup-screen port command on a port that does not exist, and the
// real-time guard.
#include "link/StandAloneTest.h"
#include "tests/link/SequenceFixture.h"

#include <functional>

namespace {

class StandAloneTestTest : public SequenceFixture {};

} // namespace

TEST_F(StandAloneTestTest, StartAndStop_OneByteOnAPortOpenedForTheCommand)
{
    struct Case {
        const char *name;
        bool (*command)(AppContext &);
        QByteArray byte;
        bool sequenceSent;
    };
    const Case cases[] = {
        {"start without a sequence sent", &StandAloneTest::start, "\x05", false},
        {"start after a sequence was sent", &StandAloneTest::start, "\x05", true},
        {"stop", &StandAloneTest::stop, "\x06", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        state.SequenceSent = c.sequenceSent;
        EXPECT_TRUE(c.command(ctx));
        EXPECT_EQ(port().written(), c.byte);
        EXPECT_EQ(port().openedDevices, QStringList{"/dev/k7-present"});
        EXPECT_EQ(port().openCount, 1);
        EXPECT_EQ(port().closeCount, 1);
        EXPECT_FALSE(port().isOpen());
        EXPECT_EQ(state.SequenceSent, c.sequenceSent);
    }
    EXPECT_EQ(messageCount(), 0);
}

TEST_F(StandAloneTestTest, PortThatDoesNotExist_EachCommandShowsItsMessage)
{
    addSequence(1, "Example", {{1, 60, 120, 300}});
    struct Case {
        const char *name;
        std::function<bool()> command;
        const char *title;
    };
    const Case cases[] = {
        {"send sequence", [&] { return SequenceDownload::send(ctx, "Example", 1, progress); }, "Comm port Error"},
        {"start test", [&] { return StandAloneTest::start(ctx); }, "Comm Port Error"},
        {"stop test", [&] { return StandAloneTest::stop(ctx); }, "Comm port Error"},
    };
    state.CommPortNumber = missingComm;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        EXPECT_FALSE(c.command());
        ASSERT_EQ(messageCount(), 1);
        EXPECT_EQ(prompts.lastMessage()->title, QString::fromLatin1(c.title));
        EXPECT_EQ(prompts.lastMessage()->text, portNotAvailableText);
        EXPECT_EQ(prompts.lastMessage()->buttons, MsgButtons::Ok);
        EXPECT_TRUE(port().writes.isEmpty());
        EXPECT_FALSE(port().isOpen());
    }
    EXPECT_FALSE(state.SequenceSent);
}

TEST_F(StandAloneTestTest, LineLostWhileStopping_ReportedOnceAndClosed)
{
    dieAfterWrites = 0;
    EXPECT_FALSE(StandAloneTest::stop(ctx));
    EXPECT_EQ(messageCount(), 1);
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Comm port Error"));
    EXPECT_FALSE(port().isOpen());
}

TEST_F(StandAloneTestTest, RealTimeGuard)
{
    const QString refused = QStringLiteral(
        "You must go to the Setup screen and send the sequence to the K7100 in order to run a real time test.");
    struct Case {
        const char *name;
        bool sequenceSent;
        bool allowed;
    };
    const Case cases[] = {
        {"sequence sent in this run", true, true},
        {"nothing sent yet", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        state.SequenceSent = c.sequenceSent;
        EXPECT_EQ(StandAloneTest::realTimeAllowed(ctx), c.allowed);
        if (c.allowed) {
            EXPECT_EQ(messageCount(), 0);
        } else {
            ASSERT_EQ(messageCount(), 1);
            EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Operation Error"));
            EXPECT_EQ(prompts.lastMessage()->text, refused);
            EXPECT_EQ(prompts.lastMessage()->buttons, MsgButtons::Ok);
        }
    }
}

TEST_F(StandAloneTestTest, RealTimeGuardAfterAFailedDownload_Refuses)
{
    addSequence(1, "Example", {{1, 60, 120, 300}});
    dieAfterWrites = 3;
    ASSERT_FALSE(SequenceDownload::send(ctx, "Example", 1, progress));
    prompts.clear();
    EXPECT_FALSE(StandAloneTest::realTimeAllowed(ctx));
    ASSERT_EQ(messageCount(), 1);
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Operation Error"));
}
