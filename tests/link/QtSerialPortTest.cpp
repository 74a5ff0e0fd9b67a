// The real serial port class over a pseudo-terminal pair: what the program writes reaches the far end,
// what the far end sends is seen without any event loop turning, and a far end that goes away leaves
// the port failed and closed instead of erroring on every poll.
#include "platform/QtSerialPort.h"
#include "tests/link/PtyPair.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Polls bytesAvailable() (no event loop) until `count` bytes wait or two seconds pass; the pty hands
// bytes over asynchronously, so one immediate poll may be too early.
qint64 waitForBytes(QtSerialPort &port, qint64 count)
{
    const QDeadlineTimer deadline(2000);
    qint64 n = 0;
    while ((n = port.bytesAvailable()) < count && !deadline.hasExpired())
        QThread::usleep(2000);
    return n;
}

class QtSerialPortOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isValid());
        ASSERT_TRUE(port.open(pty.slavePath())) << port.errorString().toStdString();
    }
    PtyPair pty;
    QtSerialPort port;
};

} // namespace

TEST_F(QtSerialPortOverPty, OpenPort_IsOpenAndNotFailed)
{
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(port.hasFailed());
    EXPECT_EQ(port.bytesAvailable(), 0);
    EXPECT_TRUE(port.readAll().isEmpty());
}

TEST_F(QtSerialPortOverPty, WrittenBytes_ReachThePeerWithoutEventLoop)
{
    const QByteArray stream = QByteArray("\x03") + "01,00060,120,30000,111" + QByteArray("\x1a\x00\xff", 3);
    ASSERT_TRUE(port.write(stream));
    EXPECT_EQ(pty.receive(stream.size()), stream);
}

TEST_F(QtSerialPortOverPty, LastByteBeforeClose_IsNotLost)
{
    ASSERT_TRUE(port.write(QByteArray(1, '\x05')));
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(pty.receive(1), QByteArray(1, '\x05'));
}

TEST_F(QtSerialPortOverPty, PeerBytes_AreSeenByPollingAlone)
{
    const QByteArray message("1,30,77,250,12,30000,1\x1a");
    ASSERT_TRUE(pty.send(message));
    EXPECT_EQ(waitForBytes(port, message.size()), message.size());
    EXPECT_EQ(port.readAll(), message);
    EXPECT_EQ(port.bytesAvailable(), 0);
    EXPECT_FALSE(port.hasFailed());
}

TEST_F(QtSerialPortOverPty, ReplyInPieces_IsReadWhole)
{
    ASSERT_TRUE(pty.send("1,30,"));
    ASSERT_EQ(waitForBytes(port, 5), 5);
    ASSERT_TRUE(pty.send("120\x02"));
    ASSERT_EQ(waitForBytes(port, 9), 9);
    EXPECT_EQ(port.readAll(), QByteArray("1,30,120\x02"));
}

TEST_F(QtSerialPortOverPty, PeerCloses_PortFailsAndClosesOnce)
{
    pty.closeMaster();
    // The hang-up is noticed on the next poll; after that every call is a cheap no-op.
    const QDeadlineTimer deadline(2000);
    while (!port.hasFailed() && !deadline.hasExpired()) {
        port.bytesAvailable();
        QThread::usleep(2000);
    }
    EXPECT_TRUE(port.hasFailed());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.errorString().isEmpty());
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(port.bytesAvailable(), 0);
        EXPECT_TRUE(port.readAll().isEmpty());
    }
    EXPECT_FALSE(port.write("x"));
    EXPECT_TRUE(port.hasFailed());
}

TEST_F(QtSerialPortOverPty, WriteAfterPeerClosed_FailsAndCloses)
{
    pty.closeMaster();
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i)
        ok = port.write("99");
    EXPECT_FALSE(ok);
    EXPECT_TRUE(port.hasFailed());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(QtSerialPortOverPty, ReopenAfterClose_StartsClean)
{
    port.close();
    ASSERT_TRUE(port.open(pty.slavePath()));
    EXPECT_FALSE(port.hasFailed());
    ASSERT_TRUE(port.write("\x06"));
    EXPECT_EQ(pty.receive(1), QByteArray("\x06"));
}

TEST(QtSerialPort, MissingDevice_DoesNotOpen)
{
    QtSerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("/dev/k7100-no-such-port")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.hasFailed());
    EXPECT_FALSE(port.errorString().isEmpty());
    EXPECT_FALSE(port.write("x"));
    EXPECT_EQ(port.bytesAvailable(), 0);
}

TEST(QtSerialPort, SecondOpen_IsRefused)
{
    PtyPair pty;
    ASSERT_TRUE(pty.isValid());
    QtSerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath()));
    EXPECT_FALSE(port.open(pty.slavePath()));
    EXPECT_TRUE(port.isOpen());
}

TEST(QtSerialPort, ErrorPolicy)
{
    struct Case {
        QSerialPort::SerialPortError error;
        bool fatal;
    };
    const Case cases[] = {
        {QSerialPort::NoError, false},
        {QSerialPort::TimeoutError, false},
        {QSerialPort::UnsupportedOperationError, false},
        {QSerialPort::NotOpenError, false},
        {QSerialPort::OpenError, false},
        {QSerialPort::ResourceError, true},
        {QSerialPort::ReadError, true},
        {QSerialPort::WriteError, true},
        {QSerialPort::DeviceNotFoundError, true},
        {QSerialPort::PermissionError, true},
        {QSerialPort::UnknownError, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QtSerialPort::isFatal(c.error), c.fatal) << int(c.error);
}
