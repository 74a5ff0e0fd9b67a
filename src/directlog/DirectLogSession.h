#pragma once
// Everything the direct-logging screen does, without its widgets: the run-speed command, the entry
// checks, Run with its guards and start handshake, the once-a-second tick (framing, decoding, chart,
// data file), Stop, Start/Stop Recording, Exit and the end byte. Messages go through the context's
// Prompts; the window shows the button states and forwards its events, and redraws on displayChanged.
//
// The port is open from Run until Stop, Exit or the end of the run. A speed chosen during a run goes to
// the instrument on that open port (the rotor changes speed at once). Lines the data file refuses (disk
// full, its folder gone) wait in memory in order and are written as soon as the file takes them; the run
// and the recording go on, the status says how many wait and one notice says why. Lines still waiting
// when the run ends are tried again and then saved in a file of their own beside the data file.
//
// When no valid message has come for NoDataSeconds during a run, the status says since when; the run
// goes on.
#include "directlog/DirectLogDataFile.h"
#include "realtime/LiveChart.h"
#include "realtime/MessageFramer.h"
#include "realtime/RunFactors.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>

struct AppContext;
class ChartModel;
class QTimer;
class SerialLink;

class DirectLogSession : public QObject {
    Q_OBJECT
public:
    static constexpr int TickMilliseconds = 1000;
    static constexpr int ChartPoints = 1000;
    static constexpr double XWindow = 3 * 60 * 1000.0; // chart milliseconds

    static QString notSetUpText()
    {
        return QStringLiteral("You must go to the Setup screen before to run a real time test.");
    }
    static QString noFileNameText() { return QStringLiteral("Please first input Data File Name."); }
    static QString noResponseText() { return QStringLiteral("No response from K7100, please check connection."); }
    static QString finishedText() { return QStringLiteral("Test is finished."); }
    static QString dataFileTitle() { return QStringLiteral("Data File Error"); }
    static constexpr double NoDataSeconds = 10.0;
    static constexpr int FinalAttempts = 3;

    struct Buttons {
        bool run = true;
        bool stop = false;
        bool startRecord = false;
        bool stopRecord = false;
        bool operator==(const Buttons &) const = default;
    };

    DirectLogSession(AppContext &context, ChartModel &chart, QObject *parent = nullptr);
    ~DirectLogSession() override;

    // Screen load: idle buttons, the empty chart, and the default speed sent to the instrument.
    void load();

    // cmbSpeed lost the focus with this text. A refused text is told, the speed goes back to 300; the
    // speed is then sent. Returns the text the list must show.
    QString speedEntered(const QString &text);
    // cmbRate's text changed. A refused text is told and the rate goes back to 1. Returns the text the
    // list must show.
    QString rateEntered(const QString &text);

    void run(const QString &fileName);
    void tick();
    void stop();
    void startRecording();
    void stopRecording();
    // cmdExit, the close box and the end of the program: a running instrument is told to stop (byte 6)
    // before the port closes. Nothing is asked; lines that still wait are saved and, with `tell`, the
    // operator is told where (else the error output is).
    void exit(bool tell = true);

    bool isRunning() const { return running_; }
    bool isRecording() const { return recording_; }
    Buttons buttons() const { return buttons_; }
    double speed() const { return speed_; }
    double rate() const { return rate_; }
    const DirectLogDataFile &dataFile() const { return dataFile_; }
    qint64 recordedLines() const { return recordedLines_; }
    // The line watch and the waiting lines, for the status line ("" when there is nothing to say).
    QString statusText() const;
    // The file the waiting lines were saved in when the last run ended ("" when none was needed).
    QString recoveryFile() const { return recoveryFile_; }
    LiveChart &liveChart() { return liveChart_; }
    QTimer *timer() const { return timer_; }
    const MessageFramer &framer() const { return framer_; }

signals:
    void displayChanged();

private:
    void sendRunSpeed();
    void buildChart();
    void setRunningButtons();
    bool replaceExistingFile(const QString &path);
    void fileRefused(const QString &reason);
    void lineLost();
    void endRun(bool tell = true);
    void finishFile(bool tell);

    AppContext &context_;
    ChartModel &chart_;
    LiveChart liveChart_;
    std::unique_ptr<SerialLink> link_;
    QTimer *timer_ = nullptr;
    MessageFramer framer_;
    RunFactors factors_;
    DirectLogDataFile dataFile_;
    Buttons buttons_;
    double speed_ = 300;
    double rate_ = 1;
    bool running_ = false;
    bool recording_ = false;
    qint64 recordedLines_ = 0;
    bool noticeShown_ = false;
    QString fileReason_;
    double lastDataAt_ = 0;
    QDateTime lastDataTime_;
    QString recoveryFile_;
};
