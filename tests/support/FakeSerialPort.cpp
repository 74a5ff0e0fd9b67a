#include "tests/support/FakeSerialPort.h"

#include "platform/Clock.h"

double FakeSerialPort::now() const
{
    return clock_ ? clock_->now() : 0.0;
}

QByteArray FakeSerialPort::written() const
{
    QByteArray all;
    for (const auto &w : writes)
        all += w.bytes;
    return all;
}

void FakeSerialPort::feed(const QByteArray &bytes, double at)
{
    incoming_.append({at < 0 ? -1e300 : at, bytes});
}

void FakeSerialPort::failNow(const QString &why)
{
    failPending_ = true;
    error_ = why;
}

bool FakeSerialPort::open(const QString &device)
{
    if (open_) {
        error_ = QStringLiteral("Port already open");
        return false;
    }
    if (!existingDevices.isEmpty() && !existingDevices.contains(device)) {
        error_ = QStringLiteral("No such file or directory");
        return false;
    }
    open_ = true;
    failed_ = false;
    ++openCount;
    openedDevices << device;
    return true;
}

void FakeSerialPort::close()
{
    if (open_)
        ++closeCount;
    open_ = false;
}

bool FakeSerialPort::write(const QByteArray &bytes)
{
    if (!open_)
        return false;
    writes.append({now(), bytes});
    if (responder)
        responder(bytes);
    return true;
}

qint64 FakeSerialPort::bytesAvailable()
{
    if (!open_)
        return 0;
    qint64 n = 0;
    for (const auto &p : incoming_)
        if (p.at <= now())
            n += p.bytes.size();
    return n;
}

QByteArray FakeSerialPort::readAll()
{
    if (!open_)
        return {};
    if (failPending_) {
        failPending_ = false;
        failed_ = true;
        close();
        return {};
    }
    QByteArray out;
    const double t = now();
    for (int i = 0; i < incoming_.size();) {
        if (incoming_[i].at <= t) {
            out += incoming_[i].bytes;
            incoming_.removeAt(i);
        } else {
            ++i;
        }
    }
    return out;
}
