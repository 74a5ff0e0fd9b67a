#include "calcheck/CalibrationSession.h"

#include "common/AppContext.h"
#include "common/ProgramInfo.h"
#include "common/ProgramState.h"
#include "common/RotorBobTable.h"
#include "link/DownloadStream.h"
#include "link/SerialLink.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "realtime/RealTimeProtocol.h"
#include "realtime/RealTimeReading.h"

#include <QTimer>

CalibrationSession::CalibrationSession(AppContext &context, QObject *parent)
    : QObject(parent), context_(context), link_(std::make_unique<SerialLink>(context))
{
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(TickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &CalibrationSession::tick);
}

CalibrationSession::~CalibrationSession() = default;

void CalibrationSession::load()
{
    timer_->stop();
    link_->initialCommport();
}

void CalibrationSession::start(const QString &viscosityText)
{
    Prompts &prompts = *context_.prompts;
    const std::optional<double> viscosity = CalibrationPlan::viscosityFrom(viscosityText);
    if (!viscosity) {
        prompts.message(outOfRangeText(), ProgramInfo::name(), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (starting_ || running_) {
        // The port belongs to the check under way: say so, and leave that check alone.
        const LinkFailure failure = LinkFailure::forCommand(LinkCommand::CalibrationStart);
        prompts.message(failure.text, failure.title, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }

    starting_ = true;
    leaveRequested_ = false;
    link_->initialCommport();
    if (!link_->open()) {
        starting_ = false;
        link_->reportFailure(LinkCommand::CalibrationStart);
        return;
    }
    const CalibrationPlan plan = CalibrationPlan::forViscosity(*viscosity);
    table_.reset(plan, context_.clock->currentDateTime());
    emit displayChanged();

    const bool sent = download(plan);
    starting_ = false;
    if (leaveRequested_)
        return; // Return during the download: the window is going, nothing more to say
    if (!sent) {
        link_->reportFailure(LinkCommand::CalibrationStart);
        emit displayChanged();
        return;
    }
    status_ = inProgressStatus();
    framer_.clear();
    timer_->start();
    running_ = true;
    emit displayChanged();
}

bool CalibrationSession::waitAndCheck(double seconds)
{
    DelayWithEvents(*context_.clock, seconds);
    return !leaveRequested_ && link_->isOpen() && !link_->hasFailed();
}

bool CalibrationSession::download(const CalibrationPlan &plan)
{
    // Whatever the instrument runs is stopped first, then the check's steps replace its sequence.
    if (!link_->writeByte(RealTimeProtocol::StopTest) || !waitAndCheck(StopSettleSeconds))
        return false;
    if (!link_->writeByte(DownloadStream::startByte) || !waitAndCheck(PieceSeconds))
        return false;
    const int rotorBob = RotorBobTable::instrumentCode(*context_.state);
    for (const DownloadStep &step : plan.steps()) {
        if (!link_->writePaced(DownloadStream::stepItems(step, rotorBob), PieceSeconds, true) || leaveRequested_)
            return false;
    }
    // The end of the download and the start byte go out back to back.
    return link_->write(DownloadStream::endMarker()) && link_->writeByte(RealTimeProtocol::StartStreaming);
}

void CalibrationSession::tick()
{
    // Another command is exchanging bytes with the instrument: this turn is left to the next tick.
    if (!running_ || context_.clock->commandWaiting())
        return;
    if (framer_.holdsOnlyEndOfTest()) {
        endOfCheck();
        return;
    }
    framer_.append(link_->readAvailable());
    while (const auto message = framer_.next())
        table_.take(RealTimeReading::decode(*message));
    if (link_->hasFailed()) {
        lineLost();
        return;
    }
    emit displayChanged();
}

void CalibrationSession::endOfCheck()
{
    timer_->stop();
    link_->close();
    running_ = false;
    status_ = finishedStatus();
    emit displayChanged();
    context_.prompts->message(finishedText(), QStringLiteral("Message"), MsgButtons::Ok, MsgIcon::Information);
}

void CalibrationSession::lineLost()
{
    timer_->stop();
    link_->close();
    running_ = false;
    status_ = lineLostStatus();
    emit displayChanged();
    const LinkFailure failure = LinkFailure::forCommand(LinkCommand::CalibrationStart);
    context_.prompts->message(lineLostText(), failure.title, MsgButtons::Ok, MsgIcon::Critical);
}

void CalibrationSession::leave()
{
    leaveRequested_ = true;
    timer_->stop();
    link_->close();
    running_ = false;
    framer_.clear();
}
