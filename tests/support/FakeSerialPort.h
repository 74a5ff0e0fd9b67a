#pragma once
// In-memory serial port for unit tests. Records every write with the clock time it happened at;
// incoming bytes are queued by the test, optionally to appear only from a given clock time on, or
// produced by a responder that sees each write (a tiny scripted instrument).
#include "platform/SerialPort.h"

#include <QList>
#include <QStringList>
#include <functional>

class Clock;

class FakeSerialPort : public SerialPort {
public:
    explicit FakeSerialPort(Clock *clock = nullptr) : clock_(clock) {}

    // Devices that open; anything else fails like a missing port. Empty list: every device opens.
    QStringList existingDevices;

    struct Written {
        double at;
        QByteArray bytes;
    };
    QList<Written> writes;
    QStringList openedDevices;
    int openCount = 0;
    int closeCount = 0;

    QByteArray written() const; // all writes joined

    // Queue incoming bytes, visible once the clock reaches `at` (immediately by default).
    void feed(const QByteArray &bytes, double at = -1);
    // Called on every write; may call feed() to answer.
    std::function<void(const QByteArray &)> responder;
    // Makes the open port fail on the next read (device pulled out).
    void failNow(const QString &why = QStringLiteral("Device removed"));

    bool open(const QString &device) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    bool hasFailed() const override { return failed_; }
    QString errorString() const override { return error_; }

private:
    double now() const;
    Clock *clock_;
    bool open_ = false;
    bool failed_ = false;
    bool failPending_ = false;
    QString error_;
    struct Pending {
        double at;
        QByteArray bytes;
    };
    QList<Pending> incoming_;
};
