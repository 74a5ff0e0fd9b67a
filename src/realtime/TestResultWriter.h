#pragma once
// Stores the readings of a running test. Readings wait in memory, in the order they were taken, until the
// database takes them: flush() writes every waiting reading in one transaction and is called by every
// tick. A database that is busy (another program holds it), full or failing leaves them waiting, and a
// later flush writes them; a tick never waits longer than TickBusyTimeoutMs for the file. With the
// database's write-ahead log and full synchronisation a reading is on disk once a flush has written it.
//
// A connection to a database server that is lost (the server restarted, the network failed) is closed and
// opened again by a later flush, at most once every ReconnectIntervalMs while the server cannot be reached;
// the readings wait meanwhile. When the connection broke during a commit, the rows of the test are counted
// after reconnecting, so that readings the server did take are not stored twice.
//
// The writer has a connection of its own to the file. While it records it claims the test, so that other
// programs on the database do not delete it, and each transaction first makes sure the test is still
// stored under its name: a test deleted meanwhile (by a tool that ignores claims) is reported as TestGone
// and none of its readings are written under an id that is no longer its own.
#include "store/Connection.h"
#include "store/StoreError.h"
#include "store/TestPoint.h"

#include <QElapsedTimer>
#include <QString>

class Clock;
struct RecordedPoint;

class TestResultWriter {
public:
    static constexpr int TickBusyTimeoutMs = 100;
    static constexpr int FinalBusyTimeoutMs = 1000;
    static constexpr int ReconnectIntervalMs = 2000;

    enum class State {
        Written, // nothing waits
        Waiting, // readings wait for the database (reason() says why)
        TestGone // the test is no longer stored under its id and name
    };

    TestResultWriter(QString databasePath, qint64 testId, QString testName);
    ~TestResultWriter();
    TestResultWriter(const TestResultWriter &) = delete;
    TestResultWriter &operator=(const TestResultWriter &) = delete;

    // Opens the connection and claims the test. Waiting when the database cannot be used just now (the
    // claim is made by a later flush).
    State begin();

    // The reading waits in memory until the next flush.
    void append(const RecordedPoint &point);
    // Writes every waiting reading, and renews the claim when it is due.
    State flush();
    // The end of the run: up to `attempts` flushes one second apart on the clock, each waiting up to
    // FinalBusyTimeoutMs for the file; then the claim is given up and the log checkpointed into the file.
    State finish(Clock &clock, int attempts = 3);

    qsizetype waiting() const { return waiting_.size(); }
    const TestPoints &waitingPoints() const { return waiting_; }
    qint64 written() const { return written_; }
    StoreError::Kind reasonKind() const { return reasonKind_; }
    // Plain words (and the engine's text) for why readings wait; empty when nothing failed.
    QString reason() const { return reason_; }

    qint64 testId() const { return testId_; }
    QString testName() const { return testName_; }
    QSqlDatabase connection() const { return connection_.db(); }

private:
    State write(bool renewClaim);
    bool ensureOpen();
    bool settleUnknownCommit(const QSqlDatabase &db);
    void failedWith(const QSqlError &error);
    void release();

    QString path_;
    qint64 testId_;
    QString testName_;
    Connection connection_;
    TestPoints waiting_;
    qint64 written_ = 0;
    qint64 storedRows_ = -1;      // rows of the test in the database after the last commit; -1 until counted
    qsizetype unknownCommit_ = 0; // readings of a commit whose answer the lost connection took with it
    QElapsedTimer failedOpen_;    // since the last attempt to open that failed
    qint64 claimRenewedAt_ = -1;  // wall-clock seconds; -1 until claimed
    bool gone_ = false;
    StoreError::Kind reasonKind_ = StoreError::Kind::None;
    QString reason_;
};
