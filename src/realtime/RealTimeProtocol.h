#pragma once
// The single control bytes of the real-time data stream. The calibration check and the direct-logging
// screen use the same bytes, so they are named once here.
#include <QByteArray>

namespace RealTimeProtocol {

constexpr char StartStreaming = 5; // to the instrument: begin sending one reading a second
constexpr char StopTest = 6;       // to the instrument: stop (sent whatever the state)
constexpr char EndOfTest = 8;      // from the instrument: the downloaded sequence has finished
constexpr char EndOfMessage = 26;  // from the instrument: ends one data message

inline QByteArray startByte()
{
    return QByteArray(1, StartStreaming);
}
inline QByteArray stopByte()
{
    return QByteArray(1, StopTest);
}

} // namespace RealTimeProtocol
