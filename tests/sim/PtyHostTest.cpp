// The simulator on a real pseudo-terminal, opened through the program's own serial port class: in-process
// (PtyHost), in its own thread (DemoInstrument) and as the k7100sim tool.
#include "sim/PtyHost.h"
#include "platform/QtSerialPort.h"
#include "sim/DemoInstrument.h"
#include "tests/sim/SimTestHelpers.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

using namespace simtest;

namespace {

// The k7100sim tool built with the tests (TestEnvironment puts its path in the environment).
QString simulatorPath()
{
    return qEnvironmentVariable("K7100SIM_PATH");
}

constexpr int kPatienceMs = 5000;
const QList<SimStep> kSteps{{1, 2, 120, 30000, 1}, {2, 1, 150, 300, 2}};

SimulatorOptions fastOptions()
{
    SimulatorOptions o;
    o.rate = 50.0;
    o.heaterTimeConstant = 0.0;
    return o;
}

// Reads with the event loop running (the host lives in this thread) until `done` holds for what came in.
QByteArray readUntil(QtSerialPort &port, const std::function<bool(const QByteArray &)> &done)
{
    QByteArray got;
    (void)QTest::qWaitFor( // the caller checks what came in
        [&] {
            got += port.readAll();
            return done(got);
        },
        kPatienceMs);
    return got;
}

bool endsWithEndByte(const QByteArray &b)
{
    return b.endsWith(char(8));
}

} // namespace

TEST(SimPty, hostKeepsTheDownloadAndStreamsTheRun)
{
    PtyHost host(fastOptions());
    QString error;
    ASSERT_TRUE(host.open(&error)) << error.toStdString();
    ASSERT_TRUE(QFileInfo::exists(host.devicePath()));

    QtSerialPort port;
    ASSERT_TRUE(port.open(host.devicePath())) << port.errorString().toStdString();
    ASSERT_TRUE(port.write(downloadStream(kSteps)));
    ASSERT_TRUE(port.write(QByteArray(1, char(5))));
    const QByteArray got = readUntil(port, endsWithEndByte);

    EXPECT_EQ(host.simulator().steps(), kSteps);
    QByteArray rest;
    const auto msgs = decodeMessages(got, &rest);
    ASSERT_EQ(msgs.size(), 3) << show(got).toStdString();
    EXPECT_EQ(msgs[0], (Fields{1, 1, 120, 511, 0, 30000, 1}));
    EXPECT_EQ(msgs[2], (Fields{2, 1, 150, 16, 0, 300, 2}));
    EXPECT_EQ(rest, QByteArray(1, char(8)));
    EXPECT_TRUE(host.listenerPresent());
    port.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !host.listenerPresent(); }, kPatienceMs));
}

TEST(SimPty, closedPortLosesTheStreamButTheStoredTestComesBack)
{
    SimulatorOptions o = fastOptions();
    o.storeInterval = 1;
    PtyHost host(o);
    ASSERT_TRUE(host.open());
    QSignalSpy lost(&host, &PtyHost::lost);

    // Stand-alone start: open, byte 5, close.
    QtSerialPort port;
    ASSERT_TRUE(port.open(host.devicePath()));
    ASSERT_TRUE(port.write(downloadStream({{1, 4, 100, 30000, 1}}) + char(5)));
    port.close();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return host.simulator().downloadsReceived() == 1
                && host.simulator().running() == InstrumentSimulator::RunKind::None;
        },
        kPatienceMs));
    EXPECT_GE(lost.count(), 1) << "the run's messages went to a closed port";

    // Retrieve: byte 8, then byte 1; nothing of the old stream may come first.
    ASSERT_TRUE(port.open(host.devicePath()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.listenerPresent(); }, kPatienceMs));
    ASSERT_TRUE(port.write(QByteArray(1, char(8))));
    ASSERT_TRUE(port.write(QByteArray(1, char(1))));
    const QByteArray reply = readUntil(port, [](const QByteArray &b) { return b.endsWith(char(2)); });
    EXPECT_EQ(reply,
              QByteArray("1,1,100,511,0,30000,1,1,2,100,511,0,30000,1,"
                         "1,3,100,511,0,30000,1,1,4,100,511,0,30000,1,\x02"));
}

TEST(SimPty, disconnectFailureBreaksTheProgramsPort)
{
    SimulatorOptions o = fastOptions();
    o.failures.add(QStringLiteral("disconnect-after=2"));
    PtyHost host(o);
    ASSERT_TRUE(host.open());
    QSignalSpy dropped(&host, &PtyHost::disconnected);
    QtSerialPort port;
    ASSERT_TRUE(port.open(host.devicePath()));
    ASSERT_TRUE(port.write(downloadStream({{1, 60, 100, 30000, 1}}) + char(5)));
    QByteArray got;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            got += port.readAll();
            return port.hasFailed();
        },
        kPatienceMs));
    EXPECT_EQ(dropped.count(), 1);
    EXPECT_FALSE(host.isOpen());
    EXPECT_LE(decodeMessages(got).size(), 2);
}

TEST(SimPty, demoInstrumentAnswersWhileTheCallerBlocks)
{
    DemoInstrument demo(fastOptions());
    QString error;
    ASSERT_TRUE(demo.start(&error)) << error.toStdString();
    ASSERT_FALSE(demo.devicePath().isEmpty());

    QtSerialPort port;
    ASSERT_TRUE(port.open(demo.devicePath()));
    ASSERT_TRUE(port.write(downloadStream(kSteps) + char(5)));
    // No event processing here, as in the program's start handshake: the simulator's own thread answers.
    QByteArray got;
    const QDeadlineTimer deadline(kPatienceMs);
    while (!endsWithEndByte(got) && !deadline.hasExpired()) {
        got += port.readAll();
        QThread::usleep(2000);
    }
    EXPECT_EQ(decodeMessages(got).size(), 3) << show(got).toStdString();
    EXPECT_TRUE(endsWithEndByte(got));
    port.close();
    demo.stop();
    EXPECT_TRUE(demo.devicePath().isEmpty());
}

TEST(SimPty, toolPrintsTheDeviceLinksItAndAnswers)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("k7100"));
    QProcess sim;
    sim.start(simulatorPath(),
              {QStringLiteral("--rate"), QStringLiteral("50"), QStringLiteral("--heater-tau"), QStringLiteral("0"),
               QStringLiteral("--link"), link});
    ASSERT_TRUE(sim.waitForStarted(kPatienceMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.canReadLine(); }, kPatienceMs))
        << sim.readAllStandardError().toStdString();
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    EXPECT_TRUE(device.startsWith(QStringLiteral("/dev/")));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), device);

    QtSerialPort port;
    ASSERT_TRUE(port.open(link));
    ASSERT_TRUE(port.write(downloadStream(kSteps) + char(5)));
    const QByteArray got = readUntil(port, endsWithEndByte);
    EXPECT_EQ(decodeMessages(got).size(), 3) << show(got).toStdString();
    port.close();

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(kPatienceMs));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the link goes with the simulator";
}

TEST(SimPty, toolHelpDocumentsTheOptions)
{
    QProcess sim;
    sim.start(simulatorPath(), {QStringLiteral("--help")});
    ASSERT_TRUE(sim.waitForFinished(kPatienceMs));
    EXPECT_EQ(sim.exitCode(), 0);
    const QString help = QString::fromLocal8Bit(sim.readAllStandardOutput());
    EXPECT_TRUE(help.contains(QStringLiteral("--custom-rb")));
    EXPECT_TRUE(help.contains(QStringLiteral("disconnect-after")));

    QProcess bad;
    bad.start(simulatorPath(), {QStringLiteral("--fluid"), QStringLiteral("ketchup")});
    ASSERT_TRUE(bad.waitForFinished(kPatienceMs));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("--fluid"));
}
