#pragma once
// The serial line over Qt's QSerialPort: real RS-232 ports, USB adapters and pseudo-terminals.
// Owns one QSerialPort. Works with or without a running event loop: every query polls the driver
// itself, so a command that blocks the interface thread still sees the instrument's bytes.
// A port that breaks while open (adapter pulled out, the far end of a pseudo-terminal closed) is
// closed on the spot and reports hasFailed() until it is opened again; it never retries on its own.
#include "platform/SerialPort.h"

#include <QSerialPort>

class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    bool open(const QString &device) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    bool hasFailed() const override { return failed_; }
    QString errorString() const override { return error_; }

    // What a driver error means for an open port: true when the line is gone and the port must be
    // closed (device removed, peer closed, I/O failure). Time-outs of a poll and modem-line requests a
    // pseudo-terminal does not support are harmless.
    static bool isFatal(QSerialPort::SerialPortError error);

private:
    void onError(QSerialPort::SerialPortError error);
    void fail(const QString &why);
    void poll();
    void pushPendingWrites();
    void closeDriver();

    QSerialPort port_;
    bool failed_ = false;
    bool closing_ = false;
    QString error_;
};
