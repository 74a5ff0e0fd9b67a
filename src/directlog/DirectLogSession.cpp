#include "directlog/DirectLogSession.h"

#include "common/AppContext.h"
#include "common/NumberText.h"
#include "common/ProgramInfo.h"
#include "common/ProgramState.h"
#include "common/RotorBobTable.h"
#include "directlog/DirectLogEntries.h"
#include "directlog/DirectLogValues.h"
#include "link/SerialLink.h"
#include "platform/ChartModel.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "realtime/RealTimeProtocol.h"
#include "realtime/RealTimeReading.h"
#include "realtime/StartHandshake.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

DirectLogSession::DirectLogSession(AppContext &context, ChartModel &chart, QObject *parent)
    : QObject(parent), context_(context), chart_(chart), liveChart_(chart, ChartPoints, XWindow),
      link_(std::make_unique<SerialLink>(context))
{
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(TickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &DirectLogSession::tick);
}

DirectLogSession::~DirectLogSession()
{
    exit(false);
}

QString DirectLogSession::statusText() const
{
    QStringList parts;
    if (running_ && context_.clock->now() - lastDataAt_ >= NoDataSeconds)
        parts << QStringLiteral("No data from the K7100 since %1")
                     .arg(lastDataTime_.toString(QStringLiteral("hh:mm:ss")));
    const qsizetype waiting = dataFile_.waitingLines();
    if (waiting > 0)
        parts << (waiting == 1 ? QStringLiteral("1 line waiting for the data file")
                               : QStringLiteral("%1 lines waiting for the data file").arg(waiting));
    return parts.join(QStringLiteral("; "));
}

void DirectLogSession::buildChart()
{
    liveChart_.build(context_.clock->currentDateTime());
    // This screen names the dial axis with a capital D.
    chart_.setYLabel(QStringLiteral("Dial Reading (Degree)"), LiveChart::DialAxis);
}

void DirectLogSession::load()
{
    timer_->stop();
    speed_ = DirectLogEntries::DefaultSpeed;
    rate_ = DirectLogEntries::DefaultRate;
    buttons_ = Buttons{};
    buildChart();
    emit displayChanged();
    sendRunSpeed();
}

void DirectLogSession::sendRunSpeed()
{
    const QByteArray command =
        DirectLogEntries::runSpeedCommand(speed_, RotorBobTable::instrumentCode(*context_.state));
    if (running_) {
        // The run keeps its port; the instrument changes speed at once.
        if (!link_->write(command))
            lineLost();
        return;
    }
    link_->initialCommport();
    if (!link_->open() || !link_->write(command)) {
        link_->reportFailure(LinkCommand::DirectLogSpeedOrStop);
        return;
    }
    link_->close();
}

QString DirectLogSession::speedEntered(const QString &text)
{
    QString shown = text;
    if (const std::optional<double> v = DirectLogEntries::speedFrom(text)) {
        speed_ = *v;
    } else {
        context_.prompts->message(DirectLogEntries::invalidSpeedText(), ProgramInfo::name(), MsgButtons::Ok,
                                  MsgIcon::Exclamation);
        speed_ = DirectLogEntries::DefaultSpeed;
        shown = DirectLogEntries::speedItems().first();
    }
    sendRunSpeed();
    return shown;
}

QString DirectLogSession::rateEntered(const QString &text)
{
    if (const std::optional<double> v = DirectLogEntries::rateFrom(text)) {
        rate_ = *v;
        return text;
    }
    context_.prompts->message(DirectLogEntries::invalidRateText(), ProgramInfo::name(), MsgButtons::Ok,
                              MsgIcon::Exclamation);
    rate_ = DirectLogEntries::DefaultRate;
    return DirectLogEntries::rateItems().first();
}

bool DirectLogSession::replaceExistingFile(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() == 0)
        return true; // nothing there (a folder in the way is reported when the file is created)
    // A file holding nothing but its header line has no readings to lose.
    if (file.open(QIODevice::ReadOnly)
        && file.readAll() == (DirectLogDataFile::header() + QStringLiteral("\r\n")).toLatin1())
        return true;
    // Run starts the file afresh: make sure an earlier recording is not wiped by a name typed again.
    return context_.prompts->message(QStringLiteral("The data file\n%1\nalready holds data. Run starts it again "
                                                    "and its present contents will be lost.\n\nReplace it?")
                                         .arg(QDir::toNativeSeparators(path)),
                                     QStringLiteral("Data File"), MsgButtons::YesNo, MsgIcon::Question)
        == MsgAnswer::Yes;
}

void DirectLogSession::run(const QString &fileName)
{
    if (running_)
        return;
    ProgramState &state = *context_.state;
    Prompts &prompts = *context_.prompts;
    if (state.RateFactor == 0) {
        prompts.message(notSetUpText(), QStringLiteral("Operation Error"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (fileName.trimmed().isEmpty()) {
        prompts.message(noFileNameText(), QStringLiteral("Operation Error"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const QString path = DirectLogDataFile::pathFor(context_.workDir, fileName);
    if (!replaceExistingFile(path))
        return;

    buildChart();
    link_->initialCommport();
    if (!link_->open() || !link_->writeByte(RealTimeProtocol::StartStreaming)) {
        link_->reportFailure(LinkCommand::DirectLogRun);
        return;
    }
    switch (StartHandshake::wait(*link_, *context_.clock)) {
    case StartHandshake::Result::Answered: break;
    case StartHandshake::Result::TimedOut:
        link_->close();
        prompts.message(noResponseText(), QStringLiteral("Communication Error"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    case StartHandshake::Result::PortFailed: link_->reportFailure(LinkCommand::DirectLogRun); return;
    }

    dataFile_ = DirectLogDataFile(path);
    recordedLines_ = 0;
    noticeShown_ = false;
    recoveryFile_.clear();
    QString reason;
    const bool created = dataFile_.start(&reason);

    factors_ = RunFactors::fromState(state);
    framer_.clear();
    liveChart_.startAt(context_.clock->currentDateTime());
    lastDataAt_ = context_.clock->now();
    lastDataTime_ = context_.clock->currentDateTime();
    running_ = true;
    timer_->start();
    setRunningButtons();
    emit displayChanged();
    if (!created)
        fileRefused(reason);
}

void DirectLogSession::setRunningButtons()
{
    // Recording left on by an earlier run goes on; the buttons say so.
    buttons_ = Buttons{false, true, !recording_, recording_};
}

void DirectLogSession::tick()
{
    // Another command is exchanging bytes with the instrument: this turn is left to the next tick.
    if (!running_ || context_.clock->commandWaiting())
        return;
    if (framer_.holdsOnlyEndOfTest()) {
        // The instrument ended its run; the buttons stay as they are until Stop.
        endRun();
        emit displayChanged();
        context_.prompts->message(finishedText(), QStringLiteral("Message"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    framer_.append(link_->readAvailable());
    QString reason;
    bool fileOk = dataFile_.flush(&reason); // lines that waited go first
    while (const auto message = framer_.next()) {
        const RealTimeReading reading = RealTimeReading::decode(*message);
        if (!reading.isValid())
            continue;
        const QDateTime t = context_.clock->currentDateTime();
        lastDataAt_ = context_.clock->now();
        lastDataTime_ = t;
        const DirectLogValues v = DirectLogValues::from(reading, factors_);
        liveChart_.addPoint(t, v.stress, v.viscosity, v.temperature, v.dial);
        if (recording_ && DirectLogEntries::shouldRecord(reading.secondsInStep(), rate_)) {
            const QString text = DirectLogDataFile::line(reading.secondsInStep(), t.time(), reading.shearStress(),
                                                         double(reading.speedHundredths()) / 100.0, v.viscosity);
            ++recordedLines_;
            fileOk = dataFile_.record(text, &reason) && fileOk;
        }
    }
    if (dataFile_.waitingLines() == 0 && fileOk)
        noticeShown_ = false; // a later stoppage is told again
    else if (!fileOk)
        fileRefused(reason);
    if (link_->hasFailed()) {
        lineLost();
        return;
    }
    emit displayChanged();
}

void DirectLogSession::fileRefused(const QString &reason)
{
    fileReason_ = reason;
    if (noticeShown_)
        return;
    noticeShown_ = true;
    emit displayChanged();
    // Not modal: the run goes on reading while the operator reads this.
    context_.prompts->notify(QStringLiteral("The data file\n%1\ncannot be written at the moment (%2).\n\nLogging "
                                            "and recording go on: the lines wait in memory, in order, and are "
                                            "written as soon as the file takes them. The status line shows how "
                                            "many are waiting.")
                                 .arg(QDir::toNativeSeparators(dataFile_.path()), reason),
                             dataFileTitle(), MsgIcon::Exclamation);
}

void DirectLogSession::endRun(bool tell)
{
    timer_->stop();
    framer_.clear();
    link_->close();
    running_ = false;
    finishFile(tell);
}

void DirectLogSession::finishFile(bool tell)
{
    QString reason = fileReason_;
    for (int i = 0; i < FinalAttempts && dataFile_.waitingLines() > 0; ++i) {
        if (i > 0)
            Delay(*context_.clock, 1.0);
        if (dataFile_.flush(&reason))
            return;
    }
    if (dataFile_.waitingLines() == 0)
        return;
    const qsizetype lines = dataFile_.waitingLines();
    QString error;
    recoveryFile_ = dataFile_.saveWaiting(context_.clock->currentDateTime(), &error);
    const QString where = recoveryFile_.isEmpty()
        ? QStringLiteral("They could not be saved in another file either (%1).").arg(error)
        : QStringLiteral("They were saved in the file\n%1").arg(QDir::toNativeSeparators(recoveryFile_));
    const QString text = QStringLiteral("%1 lines could not be written to the data file\n%2\n(%3).\n\n%4")
                             .arg(lines)
                             .arg(QDir::toNativeSeparators(dataFile_.path()), reason, where);
    if (tell)
        context_.prompts->message(text, dataFileTitle(), MsgButtons::Ok, MsgIcon::Critical);
    else
        std::fprintf(stderr, "%s: %s\n", qPrintable(ProgramInfo::name()), qPrintable(text));
}

void DirectLogSession::lineLost()
{
    endRun();
    buttons_ = Buttons{};
    emit displayChanged();
    context_.prompts->message(QStringLiteral("The connection to the K7100 was lost, so logging was stopped.\n\n"
                                             "Every line written to the data file before has been kept."),
                              LinkFailure::forCommand(LinkCommand::DirectLogRun).title, MsgButtons::Ok,
                              MsgIcon::Critical);
}

void DirectLogSession::stop()
{
    bool sent = true;
    if (!link_->isOpen()) {
        link_->initialCommport();
        sent = link_->open();
    }
    sent = sent && link_->writeByte(RealTimeProtocol::StopTest);
    endRun();
    buttons_ = Buttons{};
    emit displayChanged();
    if (!sent)
        link_->reportFailure(LinkCommand::DirectLogSpeedOrStop);
}

void DirectLogSession::startRecording()
{
    recording_ = true;
    buttons_ = Buttons{false, true, false, true};
    emit displayChanged();
}

void DirectLogSession::stopRecording()
{
    recording_ = false;
    buttons_ = Buttons{false, true, true, false};
    emit displayChanged();
}

void DirectLogSession::exit(bool tell)
{
    if (!running_)
        return;
    if (link_->isOpen())
        (void)link_->writeByte(RealTimeProtocol::StopTest);
    endRun(tell);
}
