#pragma once
// A simulated instrument with everything it has said so far, driven on simulated time by the tests.
#include "sim/InstrumentSimulator.h"
#include "tests/sim/SimTestHelpers.h"

namespace simtest {

inline const QByteArray kStart(1, char(5));
inline const QByteArray kStop(1, char(6));
inline const QByteArray kUploadRequest(1, char(8));
inline const QByteArray kSendData(1, char(1));
inline const QByteArray kEnd(1, char(8));

// Exact readings: no noise, the sample at each step's temperature from the first second.
inline SimulatorOptions exactOptions()
{
    SimulatorOptions o;
    o.heaterTimeConstant = 0.0;
    return o;
}

// The instrument plus everything it has said so far.
struct Line {
    explicit Line(const SimulatorOptions &o = exactOptions()) : sim(o) {}
    void send(const QByteArray &bytes)
    {
        sim.receive(bytes);
        collect();
    }
    // Output that fell due up to ms.
    QByteArray until(qint64 ms)
    {
        sim.advanceTo(ms);
        return collect();
    }
    QByteArray collect()
    {
        QByteArray b = sim.takeOutput();
        all += b;
        return b;
    }
    InstrumentSimulator sim;
    QByteArray all;
};

} // namespace simtest
