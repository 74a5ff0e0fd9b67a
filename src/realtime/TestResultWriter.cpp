#include "realtime/TestResultWriter.h"

#include "platform/Clock.h"
#include "realtime/RecordedPoint.h"
#include "store/Database.h"
#include "store/DatabaseLocation.h"
#include "store/RecordingClaims.h"
#include "store/SqlDialect.h"
#include "store/StoredPoints.h"
#include "store/WriteTransaction.h"

#include <QSqlError>
#include <QSqlQuery>

TestResultWriter::TestResultWriter(QString databasePath, qint64 testId, QString testName)
    : path_(std::move(databasePath)), testId_(testId), testName_(std::move(testName))
{}

TestResultWriter::~TestResultWriter()
{
    release();
}

bool TestResultWriter::ensureOpen()
{
    if (connection_.isOpen())
        return true;
    if (failedOpen_.isValid() && failedOpen_.elapsed() < ReconnectIntervalMs)
        return false; // the reason of the last attempt stands
    QString error;
    if (connection_.open(path_, TickBusyTimeoutMs, Connection::Mode::ReadWrite, &error)) {
        failedOpen_.invalidate();
        return true;
    }
    failedOpen_.start();
    reasonKind_ = DatabaseLocation::isServer(path_) ? StoreError::Kind::Lost : StoreError::Kind::Io;
    reason_ = StoreError::plainWords(reasonKind_) + QStringLiteral(" (") + error.trimmed() + QLatin1Char(')');
    return false;
}

void TestResultWriter::failedWith(const QSqlError &error)
{
    reasonKind_ = StoreError::kindOf(error);
    reason_ = StoreError::describe(error);
    // A broken connection to a server does not come back by itself: a later flush opens a new one.
    if (reasonKind_ == StoreError::Kind::Lost)
        connection_.close();
}

bool TestResultWriter::settleUnknownCommit(const QSqlDatabase &db)
{
    if (unknownCommit_ == 0)
        return true;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT count(*) FROM TestResult WHERE TestId = ?"));
    q.addBindValue(testId_);
    if (!q.exec() || !q.next()) {
        failedWith(q.lastError());
        return false;
    }
    const qint64 rows = q.value(0).toLongLong();
    if (storedRows_ >= 0 && rows == storedRows_ + unknownCommit_) {
        // The server had taken them: they are written, not waiting.
        written_ += unknownCommit_;
        waiting_.remove(0, unknownCommit_);
    }
    storedRows_ = rows;
    unknownCommit_ = 0;
    return true;
}

TestResultWriter::State TestResultWriter::begin()
{
    return write(true);
}

void TestResultWriter::append(const RecordedPoint &point)
{
    waiting_ << static_cast<const TestPoint &>(point);
}

TestResultWriter::State TestResultWriter::flush()
{
    const bool renewDue =
        claimRenewedAt_ < 0 || RecordingClaims::now() - claimRenewedAt_ >= RecordingClaims::HeartbeatSeconds;
    return write(renewDue);
}

TestResultWriter::State TestResultWriter::write(bool renewClaim)
{
    if (gone_)
        return State::TestGone;
    if (waiting_.isEmpty() && !renewClaim)
        return State::Written;
    if (!ensureOpen())
        return State::Waiting;
    const QSqlDatabase db = connection_.db();
    WriteTransaction transaction(db);
    if (!transaction.isOpen()) {
        failedWith(transaction.error());
        return waiting_.isEmpty() ? State::Written : State::Waiting;
    }
    QSqlError error;
    const std::optional<QString> stored = StoredPoints::testName(db, testId_, &error);
    if (error.isValid() && error.type() != QSqlError::NoError) {
        failedWith(error);
        return waiting_.isEmpty() ? State::Written : State::Waiting;
    }
    if (!stored || stored->compare(testName_, Qt::CaseInsensitive) != 0) {
        transaction.rollback();
        gone_ = true;
        return State::TestGone;
    }
    if (!settleUnknownCommit(db))
        return waiting_.isEmpty() ? State::Written : State::Waiting;
    if (storedRows_ < 0) {
        QSqlQuery count(db);
        count.prepare(QStringLiteral("SELECT count(*) FROM TestResult WHERE TestId = ?"));
        count.addBindValue(testId_);
        if (!count.exec() || !count.next()) {
            failedWith(count.lastError());
            return waiting_.isEmpty() ? State::Written : State::Waiting;
        }
        storedRows_ = count.value(0).toLongLong();
    }
    const qint64 now = RecordingClaims::now();
    if (!StoredPoints::insert(db, testId_, waiting_, &error)
        || (renewClaim && !RecordingClaims::renew(db, testId_, RecordingClaims::thisProgram(), now, &error))) {
        transaction.fail(error);
        failedWith(error);
        return waiting_.isEmpty() ? State::Written : State::Waiting;
    }
    if (!transaction.commit()) {
        if (StoreError::kindOf(transaction.error()) == StoreError::Kind::Lost)
            unknownCommit_ = waiting_.size();
        failedWith(transaction.error());
        return waiting_.isEmpty() ? State::Written : State::Waiting;
    }
    storedRows_ += waiting_.size();
    written_ += waiting_.size();
    waiting_.clear();
    if (renewClaim)
        claimRenewedAt_ = now;
    reasonKind_ = StoreError::Kind::None;
    reason_.clear();
    return State::Written;
}

TestResultWriter::State TestResultWriter::finish(Clock &clock, int attempts)
{
    State state = State::Written;
    if (ensureOpen()) {
        QSqlQuery q(connection_.db());
        q.exec(SqlDialect::of(connection_.db()).busyTimeout(FinalBusyTimeoutMs));
    }
    for (int i = 0; i < attempts; ++i) {
        state = write(false);
        if (state != State::Waiting)
            break;
        if (i + 1 < attempts)
            Delay(clock, 1.0);
    }
    release();
    if (connection_.isOpen())
        Database::checkpoint(connection_.db());
    return state;
}

void TestResultWriter::release()
{
    if (claimRenewedAt_ < 0 || !connection_.isOpen())
        return;
    // A claim that cannot be given up now (database busy) goes stale on its own.
    RecordingClaims::release(connection_.db(), testId_, RecordingClaims::thisProgram());
    claimRenewedAt_ = -1;
}
