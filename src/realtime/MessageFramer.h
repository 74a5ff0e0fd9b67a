#pragma once
// Cuts the instrument's real-time stream into data messages. Bytes are appended as they are read from the
// port; every message ends with the byte 26 and is handed out whole, end byte included, in arrival order.
// What follows the last end byte waits for the next append. Shared by the real-time screen, the
// calibration check and the direct-logging screen.
//
// Typical tick:
//     if (framer.holdsOnlyEndOfTest()) { ...the instrument finished...; return; }
//     framer.append(port.readAll());
//     while (auto message = framer.next()) { RealTimeReading r = RealTimeReading::decode(*message); ... }
#include <QByteArray>
#include <optional>

class MessageFramer {
public:
    // Unterminated input kept at most (the newest bytes win). An instrument that never sends an end byte
    // (wrong baud rate, another device on the line) would otherwise grow the buffer for ever.
    static constexpr qsizetype MaxPendingBytes = 4096;

    explicit MessageFramer(qsizetype maxPending = MaxPendingBytes) : maxPending_(maxPending) {}

    // Adds received bytes. Complete messages become available through next(); of the unterminated rest only
    // the last maxPending bytes are kept and the dropped ones are counted in discardedBytes().
    void append(const QByteArray &bytes);

    // The oldest complete message (up to and including its end byte), or nothing when none is complete.
    std::optional<QByteArray> next();

    // True when what is left over is exactly the single end-of-test byte 8: the instrument finished after
    // its last message and sent nothing else. Checked before new input is appended.
    bool holdsOnlyEndOfTest() const;

    // Bytes received and not yet handed out (the unterminated tail and any complete messages not taken).
    const QByteArray &pending() const { return buffer_; }

    qint64 discardedBytes() const { return discarded_; }

    // Forgets the buffered bytes (start of a run, Stop); the discarded count starts again too.
    void clear();

private:
    void trimUnterminatedTail();

    QByteArray buffer_;
    qsizetype maxPending_;
    qint64 discarded_ = 0;
};
