#include "realtime/RealTimeSession.h"

#include "common/AppContext.h"
#include "common/ProgramInfo.h"
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
#include "store/RecoveredTests.h"
#include "store/RecoveryFile.h"

#include <QDir>
#include <QSqlRecord>
#include <QTimer>

#include <cstdio>

RealTimeSession::RealTimeSession(AppContext &context, ChartModel &chart, QObject *parent)
    : QObject(parent), context_(context), liveChart_(chart), link_(std::make_unique<SerialLink>(context))
{
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(TickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &RealTimeSession::tick);
}

RealTimeSession::~RealTimeSession()
{
    // The program ends during a run: what the database still refuses goes into a recovery file. Nobody is
    // asked anything any more; the file's place is written to the error output.
    if (running_) {
        timer_->stop();
        running_ = false;
        finishRecording(false);
    }
}

qint64 RealTimeSession::storedCount() const
{
    return writer_ ? writer_->written() : storedBefore_;
}

qsizetype RealTimeSession::waitingCount() const
{
    return writer_ ? writer_->waiting() : 0;
}

QString RealTimeSession::waitingText() const
{
    const qsizetype n = waitingCount();
    if (n == 0)
        return {};
    if (writer_ && writer_->reasonKind() == StoreError::Kind::Lost)
        return (n == 1 ? QStringLiteral("1 reading waiting") : QStringLiteral("%1 readings waiting").arg(n))
            + QStringLiteral(": the connection to the database server was lost; reconnecting");
    return n == 1 ? QStringLiteral("1 reading waiting for the database")
                  : QStringLiteral("%1 readings waiting for the database").arg(n);
}

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
    QString stepsError;
    if (!SequenceSteps::load(context_.database->connection(), sequenceName_, state.isSI(), state.RateFactor, &steps_,
                             &stepsError))
        context_.prompts->message(QStringLiteral("The steps of the sequence %1 could not be read from the database: "
                                                 "%2\n\nWithout them no reading of a run is stored.")
                                      .arg(sequenceName_, stepsError),
                                  storageFailedTitle(), MsgButtons::Ok, MsgIcon::Critical);
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
    // The test must still be stored (another program may have deleted it since it was named); the writer
    // claims it before the instrument is started.
    auto writer = std::make_unique<TestResultWriter>(context_.database->path(), testId_, testName_);
    if (writer->begin() == TestResultWriter::State::TestGone) {
        named_ = false;
        emit displayChanged();
        prompts.message(QStringLiteral("The test %1 is no longer in the database: it was deleted after it was "
                                       "named. Name the test again with 'Save Result As'.")
                            .arg(testName_),
                        storageFailedTitle(), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    info_ = TestLibrary(context_.database->connection()).findById(int(testId_)).value_or(RelatedInfoRecord());
    info_.testId = int(testId_);
    info_.testName = testName_;

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
    writer_ = std::move(writer);
    // The run computes with the factors it starts with; naming the next test meanwhile does not change them.
    factors_ = RunFactors::fromState(state);
    noticeShown_ = false;
    recoveryFile_.clear();
    lastDataAt_ = context_.clock->now();
    lastDataTime_ = now();
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
    bool dataCame = false;
    while (const auto message = framer_.next()) {
        const RealTimeReading reading = RealTimeReading::decode(*message);
        if (reading.isValid()) {
            dataCame = true;
            if (rates_.shouldRecord(reading))
                writer_->append(RecordedPoint::from(reading, testId_, factors_));
            const RealTimeReadouts r = RealTimeReadouts::compute(reading, factors_);
            for (int i = 1; i < RealTimeReadouts::Count; ++i)
                readouts_[size_t(i)] = r.texts[size_t(i)];
            liveChart_.addReading(when, r);
        }
        ++elapsedCount_;
        elapsed_ = ElapsedTime::text(elapsedCount_);
    }
    const TestResultWriter::State stored = writer_->flush();
    if (stored == TestResultWriter::State::TestGone) {
        testGone();
        return;
    }
    afterFlush(int(stored));
    if (link_->hasFailed()) {
        abortRun(QStringLiteral("The connection to the K7100 was lost, so the test was stopped.\n\n"
                                "Every reading received before has been kept."),
                 lineLostTitle());
        return;
    }
    watchLine(dataCame);
    emit displayChanged();
}

void RealTimeSession::afterFlush(int state)
{
    if (state == int(TestResultWriter::State::Written)) {
        noticeShown_ = false; // a later stoppage is told again
        return;
    }
    if (noticeShown_)
        return;
    noticeShown_ = true;
    // Not modal: the run must go on reading and storing while the operator reads it.
    context_.prompts->notify(QStringLiteral("The readings of the test %1 cannot be stored in the database at the "
                                            "moment: %2.\n\nThe test goes on. The readings wait in memory, in "
                                            "order, and are stored as soon as the database accepts them; the "
                                            "status bar shows how many are waiting.")
                                 .arg(testName_, writer_->reason()),
                             storageFailedTitle(), MsgIcon::Exclamation);
}

void RealTimeSession::watchLine(bool dataCame)
{
    const double t = context_.clock->now();
    if (dataCame) {
        lastDataAt_ = t;
        lastDataTime_ = now();
        status_ = inProgressText();
    } else if (t - lastDataAt_ >= NoDataSeconds) {
        status_ = noDataText(lastDataTime_);
    }
}

QString RealTimeSession::noDataText(const QDateTime &since)
{
    return QStringLiteral("No data from the K7100 since %1").arg(since.toString(QStringLiteral("hh:mm:ss")));
}

void RealTimeSession::testGone()
{
    // Someone deleted the test despite its claim. The instrument is stopped; what had not been written yet
    // becomes a test of its own instead of rows under an id that may soon name another test.
    const TestPoints waiting = writer_->waitingPoints();
    if (link_->isOpen())
        (void)link_->writeByte(RealTimeProtocol::StopTest);
    endRun(stoppedText());
    QString kept;
    if (!waiting.isEmpty()) {
        RecoveredTest test{info_, QStringLiteral("the test was deleted while it was being recorded"), waiting};
        const RecoveredTests::Outcome outcome = RecoveredTests::storeAsNew(context_.database->connection(), test);
        if (outcome.ok()) {
            Database::checkpoint(context_.database->connection());
            kept = QStringLiteral(" The %1 readings not yet stored were kept as the test %2.")
                       .arg(outcome.added)
                       .arg(outcome.testName);
        } else {
            kept = QLatin1Char(' ') + writeRecoveryFile(test);
        }
    }
    storedBefore_ = writer_->written();
    writer_.reset();
    context_.prompts->message(QStringLiteral("The test %1 was deleted from the database by another program while it "
                                             "was being recorded, so the run was stopped.%2")
                                  .arg(testName_, kept),
                              storageFailedTitle(), MsgButtons::Ok, MsgIcon::Critical);
}

QString RealTimeSession::writeRecoveryFile(const RecoveredTest &test)
{
    QString error;
    recoveryFile_ = RecoveryFile::write(test, RecoveryFile::foldersFor(context_.database->path()), now(), &error);
    if (recoveryFile_.isEmpty())
        return QStringLiteral("The %1 readings could not be written to a recovery file either (%2).")
            .arg(test.points.size())
            .arg(error);
    return QStringLiteral("The %1 readings were saved in the file\n%2\nUse \"Import Recovered Test...\" in the main "
                          "window's File menu to store them once the database accepts them again.")
        .arg(test.points.size())
        .arg(QDir::toNativeSeparators(recoveryFile_));
}

void RealTimeSession::finishRecording(bool tell)
{
    if (!writer_)
        return;
    const TestResultWriter::State state = writer_->finish(*context_.clock, FinalAttempts);
    if (state == TestResultWriter::State::TestGone) {
        testGone();
        return;
    }
    storedBefore_ = writer_->written();
    if (state == TestResultWriter::State::Written) {
        writer_.reset();
        return;
    }
    RecoveredTest test{info_, writer_->reason(), writer_->waitingPoints()};
    const QString where = writeRecoveryFile(test);
    const QString text = QStringLiteral("%1 readings of the test %2 could not be stored in the database: %3.\n\n%4")
                             .arg(test.points.size())
                             .arg(testName_, writer_->reason(), where);
    writer_.reset();
    if (tell)
        context_.prompts->message(text, storageFailedTitle(), MsgButtons::Ok, MsgIcon::Critical);
    else
        std::fprintf(stderr, "%s: %s\n", qPrintable(ProgramInfo::name()), qPrintable(text));
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
    finishRecording(true);
    context_.prompts->message(finishedText(), QStringLiteral("Message"), MsgButtons::Ok, MsgIcon::Information);
}

void RealTimeSession::abortRun(const QString &text, const QString &title)
{
    // As Stop: tell the instrument to stop (when the line still works) and end the run. The timer is off
    // before the message is up, so no tick runs while the operator reads it.
    if (link_->isOpen())
        (void)link_->writeByte(RealTimeProtocol::StopTest);
    endRun(stoppedText());
    finishRecording(true);
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
    if (running_) {
        endRun(stoppedText());
        finishRecording(true);
    }
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
