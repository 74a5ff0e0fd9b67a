#pragma once
// A program context for the link tests: state, scripted prompts, a virtual clock, a port map with
// "Comm 1" = "/dev/k7-present" as the only existing device, and fake ports that the test can reach.
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/VirtualClock.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

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
    QString errorString() const override { return dead_ ? QStringLiteral("Device removed") : FakeSerialPort::errorString(); }

private:
    int left_;
    bool dead_ = false;
};

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
            made.push_back(port.get());
            return std::unique_ptr<SerialPort>(std::move(port));
        };
        state.CommPortNumber = presentComm;
    }

    // The port most recently handed out (the one the code under test uses).
    FakeSerialPort &port()
    {
        EXPECT_FALSE(made.empty());
        return *made.back();
    }

    int messageCount() const
    {
        return int(prompts.messageTexts().size());
    }

    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    PortMap ports;
    AppContext ctx;
    std::vector<FakeSerialPort *> made;
    std::function<void(FakeSerialPort &)> configurePort;
    int dieAfterWrites = -1;   // >= 0: new ports are DyingPorts
};
