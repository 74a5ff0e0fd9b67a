#include "realtime/StartHandshake.h"

#include "link/SerialLink.h"
#include "platform/Clock.h"

#include <cmath>

StartHandshake::Result StartHandshake::wait(SerialLink &port, Clock &clock)
{
    const double began = clock.now();
    for (;;) {
        const double wholeSeconds = std::floor(clock.now() - began);
        if (wholeSeconds >= TimeoutWholeSeconds)
            return Result::TimedOut;
        if (wholeSeconds >= MinWholeSeconds && port.bytesAvailable() >= BytesNeeded)
            return Result::Answered;
        if (port.hasFailed() || !port.isOpen())
            return Result::PortFailed;
        Delay(clock, PollSeconds);
    }
}
