#pragma once
// The serial line to the instrument as the program uses it: open a device at 19200,n,8,1, write bytes,
// take everything waiting. Implementations: QtSerialPort (real devices and pseudo-terminals) and the
// in-memory fake of the tests.
#include <QByteArray>
#include <QString>

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the device with 19200 baud, no parity, 8 data bits, 1 stop bit. False (and errorString())
    // when the device does not exist or is in use.
    virtual bool open(const QString &device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Queues bytes for sending; returns false when the port is closed or has failed.
    virtual bool write(const QByteArray &bytes) = 0;

    // Number of bytes waiting, and everything waiting (empty when nothing waits). Both poll the driver.
    virtual qint64 bytesAvailable() = 0;
    virtual QByteArray readAll() = 0;

    // True once the open port failed (device removed, peer closed). The port is then closed.
    virtual bool hasFailed() const = 0;
    virtual QString errorString() const = 0;
};
