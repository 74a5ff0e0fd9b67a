#include "realtime/RealTimeSession.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "link/SerialLink.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "realtime/ElapsedTime.h"
#include "realtime/RealTimeProtocol.h"
#include "realtime/RealTimeReading.h"
#include "realtime/RecordedPoint.h"
#include "realtime/StartHandshake.h"
#include "realtime/TestResultWriter.h"
#include "store/Database.h"

#include <QSqlRecord>
#include <QTimer>

RealTimeSession::RealTimeSession(AppContext &context, ChartModel &chart, QObject *parent)
    : QObject(parent), context_(context), liveChart_(chart), link_(std::make_unique<SerialLink>(context))
{
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(TickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &RealTimeSession::tick);
}

RealTimeSession::~RealTimeSession() = default;

QDateTime RealTimeSession::now() const
{
    return context_.clock->currentDateTime();
}

QString RealTimeSession::discardedText() const
{
    const qint64 n = framer_.discardedBytes();
    return n > 0 ? QStringLiteral("Unreadable input discarded: %1 bytes").arg(n) : QString();
}

void RealTimeSession::loadCaptions()
{
    // Rows 1 to 7 are named after the stored columns; the rest have texts of their own. The column names
    // come from the table itself, so they are there on the first test of a new database too.
    captions_.fill(QString());
    const QSqlRecord columns = context_.database->connection().record(QStringLiteral("TestResult"));
    for (int i = 1; i <= 7 && i < columns.count(); ++i)
        captions_[size_t(i)] = columns.fieldName(i);
    captions_[0] = QStringLiteral("Test Name");
    captions_[2] = QStringLiteral("Curr.Step Time");
    captions_[7] = QStringLiteral("Dial Reading");
    captions_[8] = QStringLiteral("Viscosity");
}

void RealTimeSession::load()
{
    const ProgramState &state = *context_.state;
    running_ = false;
    loadCaptions();
    sequenceName_ = state.CurrentSequence;
    // The steps are read whatever TestResult holds: a new database still needs its record rates.
    SequenceSteps::load(context_.database->connection(), sequenceName_, state.isSI(), state.RateFactor, &steps_);
    rates_ = SequenceSteps::recordRates(steps_);
    liveChart_.build(now());
    named_ = false;
    framer_.clear();
    testName_.clear();
    emit displayChanged();
}

void RealTimeSession::setNamed(bool confirmed, const QString &testName)
{
    if (confirmed)
        testName_ = testName;
    named_ = confirmed;
    emit displayChanged();
}

void RealTimeSession::start()
{
    if (running_)
        return;
    ProgramState &state = *context_.state;
    Prompts &prompts = *context_.prompts;
    elapsedCount_ = 0;
    framer_.clear();
    if (!named_) {
        prompts.message(notNamedText(), QStringLiteral("Communication Error"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (!state.SequenceSent) {
        prompts.message(notSentText(), QStringLiteral("Operation Error"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (!state.RelatedOk)
        return;

    testId_ = state.NewTestId;
    readouts_[0] = testName_;
    liveChart_.build(now());
    link_->initialCommport();

    const QString statusBefore = status_;
    if (!link_->open() || !link_->writeByte(RealTimeProtocol::StartStreaming)) {
        link_->reportFailure(LinkCommand::RealTimeStartStop);
        emit displayChanged();
        return;
    }
    status_ = inProgressText();
    emit displayChanged();

    switch (StartHandshake::wait(*link_, *context_.clock)) {
    case StartHandshake::Result::Answered: break;
    case StartHandshake::Result::TimedOut:
        link_->close();
        status_ = statusBefore;
        emit displayChanged();
        prompts.message(noResponseText(), QStringLiteral("Communication Error"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    case StartHandshake::Result::PortFailed:
        status_ = statusBefore;
        link_->reportFailure(LinkCommand::RealTimeStartStop);
        emit displayChanged();
        return;
    }

    liveChart_.startAt(now());
    writer_ = std::make_unique<TestResultWriter>(context_.database->connection());
    // The run computes with the factors it starts with; naming the next test meanwhile does not change them.
    factors_ = RunFactors::fromState(state);
    storedCount_ = 0;
    elapsed_ = ElapsedTime::text(0);
    timer_->start();
    running_ = true;
    emit displayChanged();
}

void RealTimeSession::tick()
{
    // Another command is exchanging bytes with the instrument: this turn is left to the next tick.
    if (!running_ || context_.clock->commandWaiting())
        return;
    if (framer_.holdsOnlyEndOfTest()) {
        endOfTest();
        return;
    }
    framer_.append(link_->readAvailable());
    const QDateTime when = now();
    while (const auto message = framer_.next()) {
        const RealTimeReading reading = RealTimeReading::decode(*message);
        if (reading.isValid()) {
            if (rates_.shouldRecord(reading)) {
                if (!writer_->append(RecordedPoint::from(reading, testId_, factors_))) {
                    abortRun(QStringLiteral("The test was stopped because its readings could not be stored in the "
                                            "database:\n%1\n\nEvery reading stored before has been kept.")
                                 .arg(writer_->lastError()),
                             storageFailedTitle());
                    return;
                }
                ++storedCount_;
            }
            const RealTimeReadouts r = RealTimeReadouts::compute(reading, factors_);
            for (int i = 1; i < RealTimeReadouts::Count; ++i)
                readouts_[size_t(i)] = r.texts[size_t(i)];
            liveChart_.addReading(when, r);
        }
        ++elapsedCount_;
        elapsed_ = ElapsedTime::text(elapsedCount_);
    }
    if (link_->hasFailed()) {
        abortRun(QStringLiteral("The connection to the K7100 was lost, so the test was stopped.\n\n"
                                "Every reading stored before has been kept."),
                 lineLostTitle());
        return;
    }
    emit displayChanged();
}

void RealTimeSession::endRun(const QString &status)
{
    timer_->stop();
    framer_.clear();
    link_->close();
    running_ = false;
    named_ = false;
    status_ = status;
    emit displayChanged();
}

void RealTimeSession::endOfTest()
{
    // Nothing is sent: the instrument has finished on its own.
    endRun(finishedText());
    context_.prompts->message(finishedText(), QStringLiteral("Message"), MsgButtons::Ok, MsgIcon::Information);
}

void RealTimeSession::abortRun(const QString &text, const QString &title)
{
    // As Stop: tell the instrument to stop (when the line still works) and end the run. The timer is off
    // before the message is up, so no tick runs while the operator reads it.
    if (link_->isOpen())
        (void)link_->writeByte(RealTimeProtocol::StopTest);
    endRun(stoppedText());
    context_.prompts->message(text, title, MsgButtons::Ok, MsgIcon::Critical);
}

void RealTimeSession::stop()
{
    bool sent = true;
    if (!link_->isOpen()) {
        link_->initialCommport();
        sent = link_->open();
    }
    sent = sent && link_->writeByte(RealTimeProtocol::StopTest);
    if (running_)
        endRun(stoppedText());
    if (!sent)
        link_->reportFailure(LinkCommand::RealTimeStartStop);
}

bool RealTimeSession::mayLeave()
{
    if (!running_)
        return true;
    context_.prompts->message(leaveRefusedText(), QStringLiteral("Communication Error"), MsgButtons::Ok,
                              MsgIcon::Exclamation);
    return false;
}
