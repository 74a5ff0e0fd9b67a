#include "link/SerialLink.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/Clock.h"
#include "platform/PortMap.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"

SerialLink::SerialLink(AppContext &context) : context_(context)
{
    if (context_.makePort)
        port_ = context_.makePort();
}

SerialLink::~SerialLink()
{
    close();
}

void SerialLink::initialCommport()
{
    close();
    const int number = context_.state ? context_.state->CommPortNumber : 1;
    device_ = context_.ports ? context_.ports->device(number) : PortMap::defaultDevice(number);
}

bool SerialLink::open()
{
    if (!port_)
        return false;
    if (device_.isEmpty())
        initialCommport();
    return port_->open(device_);
}

void SerialLink::close()
{
    if (port_ && port_->isOpen())
        port_->close();
}

bool SerialLink::isOpen() const
{
    return port_ && port_->isOpen();
}

bool SerialLink::write(const QByteArray &bytes)
{
    if (!isOpen())
        return false;
    return port_->write(bytes) && !port_->hasFailed();
}

bool SerialLink::writePaced(const QList<QByteArray> &pieces, double pause, bool userInput)
{
    for (const QByteArray &piece : pieces) {
        if (!write(piece))
            return false;
        if (userInput)
            DelayWithEvents(*context_.clock, pause);
        else
            Delay(*context_.clock, pause);
        // The wait may have let the driver report a lost line.
        if (hasFailed())
            return false;
    }
    return true;
}

std::optional<QByteArray> SerialLink::readUntilQuiet(double quiet, qsizetype limit)
{
    QByteArray reply;
    do {
        reply += readAvailable();
        if (hasFailed())
            return std::nullopt;
        if (limit > 0 && reply.size() > limit)
            return reply;
        Delay(*context_.clock, quiet);
    } while (bytesAvailable() != 0);
    if (hasFailed())
        return std::nullopt;
    return reply;
}

QByteArray SerialLink::readAvailable()
{
    if (!isOpen())
        return {};
    const QByteArray in = port_->readAll();
    return port_->hasFailed() ? QByteArray() : in;
}

qint64 SerialLink::bytesAvailable()
{
    return isOpen() ? port_->bytesAvailable() : 0;
}

bool SerialLink::hasFailed() const
{
    return port_ && port_->hasFailed();
}

QString SerialLink::errorString() const
{
    return port_ ? port_->errorString() : QStringLiteral("No serial port available");
}

void SerialLink::reportFailure(LinkCommand command)
{
    close();
    const LinkFailure failure = LinkFailure::forCommand(command);
    if (context_.prompts)
        context_.prompts->message(failure.text, failure.title, MsgButtons::Ok, MsgIcon::Critical);
}
