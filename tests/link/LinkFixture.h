#pragma once
// A program context for the link tests: state, scripted prompts, a virtual clock, a port map with
// "Comm 1" = "/dev/k7-present" as the only existing device, and fake ports that the test can reach
// even after the code under test has dropped them.
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/VirtualClock.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <vector>

// One real-time data message of the instrument: the fields separated by commas, then the end byte 26.
inline QByteArray realTimeMessage(std::initializer_list<qint64> fields)
{
    QByteArray m;
    for (qint64 f : fields) {
        if (!m.isEmpty())
            m += ',';
        m += QByteArray::number(f);
    }
    return m + char(26);
}

// A fake port whose line dies after a given number of successful writes: the next write fails and
// the port closes, as a pulled USB adapter does.
class DyingPort : public FakeSerialPort {
public:
    DyingPort(Clock *clock, int writesBeforeDeath) : FakeSerialPort(clock), left_(writesBeforeDeath) {}
    bool write(const QByteArray &bytes) override
    {
        if (!isOpen())
            return false;
        if (left_-- <= 0) {
            dead_ = true;
            close();
            return false;
        }
        return FakeSerialPort::write(bytes);
    }
    bool hasFailed() const override { return dead_ || FakeSerialPort::hasFailed(); }
    QString errorString() const override
    {
        return dead_ ? QStringLiteral("Device removed") : FakeSerialPort::errorString();
    }

private:
    int left_;
    bool dead_ = false;
};

// What the code under test owns: forwards to a fake the fixture keeps, so a test can inspect a port
// after the command that used it has finished and dropped it.
class PortProxy : public SerialPort {
public:
    explicit PortProxy(FakeSerialPort &fake) : fake_(fake) {}
    bool open(const QString &device) override { return fake_.open(device); }
    void close() override { fake_.close(); }
    bool isOpen() const override { return fake_.isOpen(); }
    bool write(const QByteArray &bytes) override { return fake_.write(bytes); }
    qint64 bytesAvailable() override { return fake_.bytesAvailable(); }
    QByteArray readAll() override { return fake_.readAll(); }
    bool hasFailed() const override { return fake_.hasFailed(); }
    QString errorString() const override { return fake_.errorString(); }

private:
    FakeSerialPort &fake_;
};

// What the user is told when the port cannot be opened.
inline const QString portNotAvailableText =
    QStringLiteral("Fail to open comm port, make sure comm port is available and working properly.");

class LinkFixture : public ::testing::Test {
protected:
    static constexpr int presentComm = 1;
    static constexpr int missingComm = 7;

    LinkFixture()
    {
        ports.parse(QStringLiteral("1 = /dev/k7-present\n7 = /dev/k7-missing\n"));
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.ports = &ports;
        ctx.makePort = [this] {
            std::unique_ptr<FakeSerialPort> port;
            if (dieAfterWrites >= 0)
                port = std::make_unique<DyingPort>(&clock, dieAfterWrites);
            else
                port = std::make_unique<FakeSerialPort>(&clock);
            port->existingDevices = {QStringLiteral("/dev/k7-present")};
            if (configurePort)
                configurePort(*port);
            auto proxy = std::make_unique<PortProxy>(*port);
            made.push_back(std::move(port));
            return std::unique_ptr<SerialPort>(std::move(proxy));
        };
        state.CommPortNumber = presentComm;
    }

    // The port most recently handed out (the one the code under test uses).
    FakeSerialPort &port()
    {
        EXPECT_FALSE(made.empty());
        return *made.back();
    }

    int messageCount() const { return int(prompts.messageTexts().size()); }

    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    PortMap ports;
    AppContext ctx;
    std::vector<std::unique_ptr<FakeSerialPort>> made; // every port handed out, oldest first
    std::function<void(FakeSerialPort &)> configurePort;
    int dieAfterWrites = -1; // >= 0: new ports are DyingPorts
};
