#include "realtime/MessageFramer.h"

#include "realtime/RealTimeProtocol.h"

void MessageFramer::append(const QByteArray &bytes)
{
    buffer_ += bytes;
    trimUnterminatedTail();
}

void MessageFramer::trimUnterminatedTail()
{
    // Complete messages are never dropped: only the part after the last end byte is limited.
    const qsizetype lastEnd = buffer_.lastIndexOf(RealTimeProtocol::EndOfMessage);
    const qsizetype tailStart = lastEnd + 1;
    const qsizetype tail = buffer_.size() - tailStart;
    if (tail <= maxPending_)
        return;
    const qsizetype drop = tail - maxPending_;
    buffer_.remove(tailStart, drop);
    discarded_ += drop;
}

std::optional<QByteArray> MessageFramer::next()
{
    const qsizetype end = buffer_.indexOf(RealTimeProtocol::EndOfMessage);
    if (end < 0)
        return std::nullopt;
    QByteArray message = buffer_.left(end + 1);
    buffer_.remove(0, end + 1);
    return message;
}

bool MessageFramer::holdsOnlyEndOfTest() const
{
    return buffer_.size() == 1 && buffer_.at(0) == RealTimeProtocol::EndOfTest;
}

void MessageFramer::clear()
{
    buffer_.clear();
    discarded_ = 0;
}
