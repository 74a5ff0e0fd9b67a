#pragma once
// Everything the real-time screen does, without its widgets: loading the running sequence's steps, the
// Start command with its start byte and handshake, the once-a-second tick (framing, decoding, storing,
// readouts, live chart, elapsed time, end of test), Stop, and the guard on leaving the screen. Messages go
// through the context's Prompts; the window only shows the texts kept here after each call
// (displayChanged) and forwards its clicks.
//
// Every reading the record rates call for is kept: it is written to the database by the tick that
// received it, or, when the database does not take it (another program holds the file, the disk is full,
// a disk error), it waits in memory in order and goes with a later tick; the run is not stopped. The
// status bar shows how many wait, and one notice says why. When the run ends (end byte, Stop, lost line,
// the program ending) with readings still waiting, they are tried again, and what the database still
// refuses goes into a recovery file beside the database (File > Import Recovered Test... reads it back).
//
// While it records, the session claims its test in the database, so that other programs on the file do
// not delete it; a test that is deleted all the same (by a tool that ignores claims) stops the run, and its
// waiting readings are stored as a test of their own ("<name> (recovered)").
//
// Part of the line watch: when no valid message has come for NoDataSeconds during a run, the status says
// since when; the run goes on and the status returns when data comes again.
#include "realtime/LiveChart.h"
#include "realtime/MessageFramer.h"
#include "realtime/RealTimeReadouts.h"
#include "realtime/RecordRates.h"
#include "realtime/RunFactors.h"
#include "realtime/SequenceSteps.h"

#include "store/TestLibrary.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <array>
#include <memory>

struct AppContext;
class ChartModel;
class QTimer;
class SerialLink;
class TestResultWriter;
struct RecoveredTest;

class RealTimeSession : public QObject {
    Q_OBJECT
public:
    static constexpr int TickMilliseconds = 1000;

    // The texts the operator reads; also used by the tests.
    static QString notNamedText() { return QStringLiteral("Name this test by clicking the 'Save Result As' button."); }
    static QString notSentText()
    {
        return QStringLiteral("You must go to the Setup Screen and send the sequence to the K7100 before performing a "
                              "real time test.");
    }
    static QString noResponseText() { return QStringLiteral("No response from K7100, please check connection."); }
    static QString finishedText() { return QStringLiteral("Test is finished."); }
    static QString stoppedText() { return QStringLiteral("Test stop"); }
    static QString inProgressText() { return QStringLiteral("Test in progress ..."); }
    static QString leaveRefusedText() { return QStringLiteral("Please close the running test."); }
    static QString storageFailedTitle() { return QStringLiteral("Database Error"); }
    static QString lineLostTitle() { return QStringLiteral("Comm port Error"); }
    static constexpr double NoDataSeconds = 10.0;
    static QString noDataText(const QDateTime &since);
    // How often the end of a run tries the database again before the recovery file is written.
    static constexpr int FinalAttempts = 3;

    RealTimeSession(AppContext &context, ChartModel &chart, QObject *parent = nullptr);
    ~RealTimeSession() override;

    // Screen load: readout captions, the current sequence's steps and record rates, the empty chart.
    void load();

    // The outcome of Save Result As: named when the dialog was confirmed (RelatedOk), with its test name.
    void setNamed(bool confirmed, const QString &testName);

    void start();
    void tick();
    void stop();
    // Return or close: refused with a message while a run is in progress.
    bool mayLeave();

    LiveChart &liveChart() { return liveChart_; }
    QTimer *timer() const { return timer_; } // Timer1

    bool isRunning() const { return running_; }
    bool isNamed() const { return named_; }
    QString testName() const { return testName_; }
    qint64 testId() const { return testId_; }
    qint64 elapsedCount() const { return elapsedCount_; }
    // Readings written to the database, and readings waiting for it.
    qint64 storedCount() const;
    qsizetype waitingCount() const;
    // "" while nothing waits; else "12 readings waiting for the database".
    QString waitingText() const;
    // The recovery file written at the end of the last run ("" when none was needed).
    QString recoveryFile() const { return recoveryFile_; }
    // The writer of the running test (nullptr when no run); tests reach its connection through it.
    const TestResultWriter *writer() const { return writer_.get(); }
    QString statusText() const { return status_; }
    QString elapsedText() const { return elapsed_; }
    // "" until unreadable input had to be dropped; then how many bytes were.
    QString discardedText() const;
    const std::array<QString, RealTimeReadouts::Count> &captions() const { return captions_; }
    const std::array<QString, RealTimeReadouts::Count> &readouts() const { return readouts_; }
    const QList<SequenceStepRow> &steps() const { return steps_; }
    const RecordRates &recordRates() const { return rates_; }
    QString sequenceName() const { return sequenceName_; }
    const MessageFramer &framer() const { return framer_; }

signals:
    // Status texts, readouts, elapsed time, running or named state changed.
    void displayChanged();

private:
    QDateTime now() const;
    void loadCaptions();
    void endRun(const QString &status);
    void endOfTest();
    void abortRun(const QString &text, const QString &title);
    void afterFlush(int state);
    void testGone();
    // Ends the recording of a run that has ended: the last tries, then a recovery file for what is left.
    void finishRecording(bool tell);
    void watchLine(bool dataCame);
    // Writes the recovery file; returns the sentence telling where (or that it failed).
    QString writeRecoveryFile(const RecoveredTest &test);

    AppContext &context_;
    LiveChart liveChart_;
    std::unique_ptr<SerialLink> link_;
    std::unique_ptr<TestResultWriter> writer_;
    QTimer *timer_ = nullptr;
    MessageFramer framer_;
    RecordRates rates_;
    RunFactors factors_;
    QList<SequenceStepRow> steps_;
    QString sequenceName_;
    std::array<QString, RealTimeReadouts::Count> captions_;
    std::array<QString, RealTimeReadouts::Count> readouts_;
    bool running_ = false;
    bool named_ = false;
    QString testName_;
    qint64 testId_ = 0;
    qint64 elapsedCount_ = 0;
    qint64 storedBefore_ = 0; // written by the last run, once its writer is gone
    RelatedInfoRecord info_;  // the running test, for a recovery file
    bool noticeShown_ = false;
    double lastDataAt_ = 0;
    QDateTime lastDataTime_;
    QString recoveryFile_;
    QString status_ = QStringLiteral("Status");
    QString elapsed_ = QStringLiteral("Elapsed Time:");
};
