#pragma once
// Everything the real-time screen does, without its widgets: loading the running sequence's steps, the
// Start command with its start byte and handshake, the once-a-second tick (framing, decoding, storing,
// readouts, live chart, elapsed time, end of test), Stop, and the guard on leaving the screen. Messages go
// through the context's Prompts; the window only shows the texts kept here after each call
// (displayChanged) and forwards its clicks.
//
// A stored reading is on disk when tick() returns. A reading that cannot be stored stops the run the way
// Stop does and tells the operator once; every point stored before it stays.
#include "realtime/LiveChart.h"
#include "realtime/MessageFramer.h"
#include "realtime/RealTimeReadouts.h"
#include "realtime/RecordRates.h"
#include "realtime/RunFactors.h"
#include "realtime/SequenceSteps.h"

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
    qint64 storedCount() const { return storedCount_; }
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
    qint64 storedCount_ = 0;
    QString status_ = QStringLiteral("Status");
    QString elapsed_ = QStringLiteral("Elapsed Time:");
};
