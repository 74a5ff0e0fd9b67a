#include "platform/QtSerialPort.h"

#include <QDeadlineTimer>

namespace {
// Upper bound on how many driver reads one poll makes, so a peer that never stops sending cannot
// keep a poll going forever.
constexpr int maxReadsPerPoll = 64;
// How long closing waits for bytes still queued in Qt's buffer to reach the driver.
constexpr int closeDrainMs = 1000;
} // namespace

QtSerialPort::QtSerialPort()
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError e) { onError(e); });
}

QtSerialPort::~QtSerialPort()
{
    close();
}

bool QtSerialPort::isFatal(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:              // a poll found nothing
    case QSerialPort::UnsupportedOperationError: // modem lines of a pseudo-terminal
    case QSerialPort::NotOpenError:              // a call on a closed port; nothing to close
    case QSerialPort::OpenError:                 // open() reports it itself
        return false;
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::WriteError:
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
    case QSerialPort::UnknownError: return true;
    }
    return true;
}

bool QtSerialPort::open(const QString &device)
{
    if (port_.isOpen()) {
        error_ = QStringLiteral("Port already open");
        return false;
    }
    failed_ = false;
    error_.clear();
    port_.clearError();

    // 19200,n,8,1 and nothing else: flow control off, modem lines and buffers left as the driver has them.
    port_.setPortName(device);
    port_.setBaudRate(QSerialPort::Baud19200);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);

    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = port_.errorString();
        port_.clearError();
        return false;
    }
    // Settings a pseudo-terminal refuses leave a harmless error behind; start clean.
    if (!isFatal(port_.error()))
        port_.clearError();
    return true;
}

void QtSerialPort::close()
{
    if (!port_.isOpen())
        return;
    // A command writes its last byte and closes at once: hand what Qt still holds to the driver first.
    if (!failed_) {
        const QDeadlineTimer deadline(closeDrainMs);
        while (port_.isOpen() && port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
            if (!port_.waitForBytesWritten(int(deadline.remainingTime())))
                break;
        }
    }
    closeDriver();
}

void QtSerialPort::closeDriver()
{
    // Closing a hung-up device reports errors of its own (restoring its settings fails); they must not
    // re-enter close through onError.
    closing_ = true;
    if (port_.isOpen())
        port_.close();
    port_.clearError();
    closing_ = false;
}

bool QtSerialPort::isOpen() const
{
    return port_.isOpen();
}

bool QtSerialPort::write(const QByteArray &bytes)
{
    if (!port_.isOpen())
        return false;
    if (port_.write(bytes) != bytes.size()) {
        fail(port_.errorString());
        return false;
    }
    pushPendingWrites();
    return port_.isOpen();
}

qint64 QtSerialPort::bytesAvailable()
{
    poll();
    return port_.isOpen() ? port_.bytesAvailable() : 0;
}

QByteArray QtSerialPort::readAll()
{
    poll();
    return port_.isOpen() ? port_.readAll() : QByteArray();
}

void QtSerialPort::pushPendingWrites()
{
    // Qt sends queued bytes from its event loop; commands that block the interface thread need them
    // out now. A zero wait only writes what the driver accepts at once; the rest goes on the next poll.
    for (int i = 0; i < maxReadsPerPoll && port_.isOpen() && port_.bytesToWrite() > 0; ++i) {
        if (!port_.waitForBytesWritten(0))
            break;
    }
    if (port_.isOpen() && port_.error() == QSerialPort::TimeoutError)
        port_.clearError();
}

void QtSerialPort::poll()
{
    if (!port_.isOpen())
        return;
    pushPendingWrites();
    for (int i = 0; i < maxReadsPerPoll && port_.isOpen(); ++i) {
        if (!port_.waitForReadyRead(0))
            break;
    }
    if (port_.isOpen() && port_.error() == QSerialPort::TimeoutError)
        port_.clearError();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    if (closing_ || !port_.isOpen() || !isFatal(error))
        return;
    // The driver's own text often carries a stale system message; lead with what actually happened.
    QString what;
    switch (error) {
    case QSerialPort::ReadError: what = QStringLiteral("Reading from the serial line failed"); break;
    case QSerialPort::WriteError: what = QStringLiteral("Writing to the serial line failed"); break;
    case QSerialPort::ResourceError: what = QStringLiteral("The serial device was removed"); break;
    default: what = QStringLiteral("The serial line failed"); break;
    }
    fail(QStringLiteral("%1 (%2)").arg(what, port_.errorString()));
}

void QtSerialPort::fail(const QString &why)
{
    failed_ = true;
    error_ = why;
    closeDriver();
}
