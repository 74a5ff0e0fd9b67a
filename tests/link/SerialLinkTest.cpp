// The serial helper every instrument window uses: port selection, paced writes and their timing on the
// clock, reading until the line is quiet, failure on a missing or dying port, and the failure messages.
#include "link/SerialLink.h"
#include "link/LinkFailure.h"
#include "tests/link/LinkFixture.h"

namespace {

class SerialLinkTest : public LinkFixture {};

} // namespace

TEST(LinkFailure, EachCommandHasItsTitleAndText)
{
    struct Case {
        LinkCommand command;
        const char *title;
        QString text;
    };
    const Case cases[] = {
        {LinkCommand::SequenceDownload, "Comm port Error", portNotAvailableText},
        {LinkCommand::StopTest, "Comm port Error", portNotAvailableText},
        {LinkCommand::RealTimeStartStop, "Comm port Error", portNotAvailableText},
        {LinkCommand::StartTest, "Comm Port Error", portNotAvailableText},
        {LinkCommand::CalibrationStart, "Comm Port Error", portNotAvailableText},
        {LinkCommand::DirectLogRun, "Comm Port Error", portNotAvailableText},
        {LinkCommand::DirectLogSpeedOrStop, "Comport Error", portNotAvailableText},
        {LinkCommand::StoredTestUpload, "Comm Port Error",
         QStringLiteral("Fail to open comm port, please specify a correct comm port number.")},
    };
    for (const Case &c : cases) {
        const LinkFailure f = LinkFailure::forCommand(c.command);
        EXPECT_EQ(f.title, QString::fromLatin1(c.title)) << int(c.command);
        EXPECT_EQ(f.text, c.text) << int(c.command);
    }
}

TEST_F(SerialLinkTest, InitialCommport_SelectsDeviceOfCommPortNumber)
{
    struct Case {
        int comm;
        QString device;
    };
    const Case cases[] = {
        {1, QStringLiteral("/dev/k7-present")},
        {7, QStringLiteral("/dev/k7-missing")},
        {3, PortMap::defaultDevice(3)},
    };
    SerialLink link(ctx);
    for (const Case &c : cases) {
        state.CommPortNumber = c.comm;
        link.initialCommport();
        EXPECT_EQ(link.device(), c.device) << c.comm;
    }
    EXPECT_EQ(port().openCount, 0); // selecting never opens
}

TEST_F(SerialLinkTest, InitialCommport_ClosesAnOpenPortOnly)
{
    SerialLink link(ctx);
    link.initialCommport();
    EXPECT_EQ(port().closeCount, 0);
    ASSERT_TRUE(link.open());
    link.initialCommport();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(port().closeCount, 1);
    EXPECT_EQ(port().openedDevices, QStringList{QStringLiteral("/dev/k7-present")});
}

TEST_F(SerialLinkTest, OpenWithoutInitialCommport_UsesCommPortNumber)
{
    SerialLink link(ctx);
    ASSERT_TRUE(link.open());
    EXPECT_EQ(port().openedDevices, QStringList{QStringLiteral("/dev/k7-present")});
}

TEST_F(SerialLinkTest, SecondOpenOfTheSameLink_Fails)
{
    SerialLink link(ctx);
    link.initialCommport();
    ASSERT_TRUE(link.open());
    EXPECT_FALSE(link.open());
    EXPECT_TRUE(link.isOpen());
}

TEST_F(SerialLinkTest, MissingPort_OpenFailsAndNothingIsWritten)
{
    state.CommPortNumber = missingComm;
    SerialLink link(ctx);
    link.initialCommport();
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.write("\x05"));
    EXPECT_FALSE(link.writePaced({"01", ","}));
    EXPECT_TRUE(port().writes.isEmpty());
    EXPECT_TRUE(clock.waits.isEmpty());
}

TEST_F(SerialLinkTest, ReportFailure_ShowsTheCommandsMessageOnceAndClosesThePort)
{
    SerialLink link(ctx);
    ASSERT_TRUE(link.open());
    link.reportFailure(LinkCommand::StoredTestUpload);
    ASSERT_EQ(messageCount(), 1);
    const PromptRecord *m = prompts.lastMessage();
    EXPECT_EQ(m->title, QStringLiteral("Comm Port Error"));
    EXPECT_EQ(m->text, QStringLiteral("Fail to open comm port, please specify a correct comm port number."));
    EXPECT_EQ(m->buttons, MsgButtons::Ok);
    EXPECT_FALSE(link.isOpen());
}

TEST_F(SerialLinkTest, PacedWrite_EachPieceThenTheWaitOnTheClock)
{
    SerialLink link(ctx);
    ASSERT_TRUE(link.open());
    const double t0 = clock.now();
    ASSERT_TRUE(link.writePaced({"01", ",", "00060"}));
    ASSERT_EQ(port().writes.size(), 3);
    const QByteArray expected[] = {"01", ",", "00060"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(port().writes[i].bytes, expected[i]);
        EXPECT_NEAR(port().writes[i].at, t0 + 0.1 * i, 1e-9);
    }
    ASSERT_EQ(clock.waits.size(), 3);
    for (const auto &w : clock.waits) {
        EXPECT_DOUBLE_EQ(w.seconds, 0.1);
        EXPECT_FALSE(w.userInput); // Delay: repaint, no user input
    }
    EXPECT_NEAR(clock.now(), t0 + 0.3, 1e-9);
}

TEST_F(SerialLinkTest, PacedWrite_CallerChosenPauseWithEvents)
{
    SerialLink link(ctx);
    ASSERT_TRUE(link.open());
    ASSERT_TRUE(link.writePaced({"1", "2"}, 0.07, true));
    ASSERT_EQ(clock.waits.size(), 2);
    EXPECT_DOUBLE_EQ(clock.waits[0].seconds, 0.07);
    EXPECT_TRUE(clock.waits[0].userInput);
}

TEST_F(SerialLinkTest, ReadUntilQuiet_CollectsWhileBytesKeepComing)
{
    struct Piece {
        double after;
        QByteArray bytes;
    };
    struct Case {
        const char *name;
        QList<Piece> pieces;
        QByteArray reply;
        int waits;
    };
    const Case cases[] = {
        {"silence", {}, "", 1},
        {"whole reply at once", {{0.0, "1,30,120,150,0,30000,1,\x02"}}, "1,30,120,150,0,30000,1,\x02", 1},
        {"pieces closer than the quiet time",
         {{0.0, "1,3"}, {0.3, "0,1"}, {0.6, "20,"}, {0.9, "\x02"}},
         "1,30,120,\x02",
         4},
        {"a pause of 0.5 s ends the reply", {{0.0, "1,30,"}, {0.5, "120,\x02"}}, "1,30,", 1},
        {"first byte after the quiet time", {{0.5, "1,30,\x02"}}, "", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clock.waits.clear();
        SerialLink link(ctx);
        ASSERT_TRUE(link.open());
        const double t0 = clock.now();
        for (const Piece &p : c.pieces)
            port().feed(p.bytes, t0 + p.after);
        const auto reply = link.readUntilQuiet();
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ(*reply, c.reply);
        EXPECT_EQ(clock.waits.size(), c.waits);
        for (const auto &w : clock.waits) {
            EXPECT_DOUBLE_EQ(w.seconds, 0.4);
            EXPECT_FALSE(w.userInput);
        }
    }
}

TEST_F(SerialLinkTest, LineLostDuringRead_NoReplyPortClosedAndQuietAfterwards)
{
    SerialLink link(ctx);
    ASSERT_TRUE(link.open());
    port().feed("1,30,");
    port().failNow();
    EXPECT_FALSE(link.readUntilQuiet().has_value());
    EXPECT_TRUE(link.hasFailed());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(port().closeCount, 1);
    // Later ticks see a closed, failed line and do nothing.
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(link.readAvailable().isEmpty());
    EXPECT_FALSE(link.write("\x06"));
    EXPECT_EQ(port().closeCount, 1);
}

TEST_F(SerialLinkTest, TickRead_TakesWhatHasArrivedSoFar)
{
    SerialLink link(ctx);
    ASSERT_TRUE(link.open());
    const double t0 = clock.now();
    port().feed("1,30,77,250,12,30000,1\x1a", t0 + 0.5);
    port().feed("1,31,", t0 + 1.5);
    EXPECT_TRUE(link.readAvailable().isEmpty());
    clock.advance(1.0);
    EXPECT_EQ(link.bytesAvailable(), 23);
    EXPECT_EQ(link.readAvailable(), QByteArray("1,30,77,250,12,30000,1\x1a"));
    clock.advance(1.0);
    EXPECT_EQ(link.readAvailable(), QByteArray("1,31,"));
    EXPECT_FALSE(link.hasFailed());
}

TEST_F(SerialLinkTest, LineLostDuringPacedWrite_StopsAtTheFailedPiece)
{
    dieAfterWrites = 2;
    SerialLink link(ctx);
    ASSERT_TRUE(link.open());
    EXPECT_FALSE(link.writePaced({"01", ",", "00060", ","}));
    EXPECT_EQ(port().writes.size(), 2);
    EXPECT_EQ(clock.waits.size(), 2);
    EXPECT_TRUE(link.hasFailed());
    EXPECT_FALSE(link.isOpen());
}

TEST_F(SerialLinkTest, NoPortFactory_NothingOpens)
{
    ctx.makePort = nullptr;
    SerialLink link(ctx);
    link.initialCommport();
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.write("x"));
    EXPECT_EQ(link.bytesAvailable(), 0);
}
