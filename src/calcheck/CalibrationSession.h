#pragma once
// Everything the calibration check does, without its widgets: Start (viscosity rule, the temporary steps
// downloaded with the paced stream, the start byte), the once-a-second tick that fills the result table,
// the end of the check and Return. Messages go through the context's Prompts; the window shows the texts
// kept here whenever displayChanged is emitted and forwards its clicks.
//
// Start waits with DelayWithEvents, so the window stays usable during the download (about 2 s plus 0.7 s a
// step): Return then ends the download where it is, and a second Start is refused with the port message
// while the first one goes on. Nothing is stored; the instrument's downloaded sequence is replaced by the
// check's steps and not sent again afterwards.
#include "calcheck/CalibrationTable.h"
#include "realtime/MessageFramer.h"

#include <QObject>
#include <QString>
#include <memory>

struct AppContext;
class QTimer;
class SerialLink;

class CalibrationSession : public QObject {
    Q_OBJECT
public:
    static constexpr int TickMilliseconds = 1000;
    static constexpr double StopSettleSeconds = 2.0; // after byte 6, before the download
    static constexpr double PieceSeconds = 0.07;     // after each piece of the download

    static QString outOfRangeText() { return QStringLiteral("Viscosity measurement out of range."); }
    static QString initialStatus() { return QStringLiteral("CurStatus"); }
    static QString inProgressStatus() { return QStringLiteral("Auto Calibration Check In Progress... "); }
    static QString finishedText() { return QStringLiteral("Auto Calibration Check is Finished."); }
    static QString finishedStatus() { return QStringLiteral("Auto Calibration Check is Finished. "); }
    static QString lineLostText()
    {
        return QStringLiteral("The connection to the K7100 was lost, so the calibration check was stopped.\n\n"
                              "The rows measured before are still shown.");
    }
    static QString lineLostStatus() { return QStringLiteral("Auto Calibration Check stopped: connection lost. "); }

    explicit CalibrationSession(AppContext &context, QObject *parent = nullptr);
    ~CalibrationSession() override;

    // Window load: selects the port (closed until Start).
    void load();
    // cmdStart with the text of txtVisc.
    void start(const QString &viscosityText);
    // Timer1.
    void tick();
    // cmdReturn (and closing the window): discards a running check or download; the port closes, nothing
    // is sent, the instrument goes on with whatever it received.
    void leave();

    bool isStarting() const { return starting_; }
    bool isRunning() const { return running_; }
    QString statusText() const { return status_; }
    const CalibrationTable &table() const { return table_; }
    QTimer *timer() const { return timer_; }
    const MessageFramer &framer() const { return framer_; }

signals:
    // The table, the status text or the running state changed.
    void displayChanged();

private:
    bool download(const CalibrationPlan &plan);
    bool waitAndCheck(double seconds);
    void endOfCheck();
    void lineLost();

    AppContext &context_;
    std::unique_ptr<SerialLink> link_;
    QTimer *timer_ = nullptr;
    MessageFramer framer_;
    CalibrationTable table_;
    QString status_ = initialStatus();
    bool starting_ = false;
    bool running_ = false;
    bool leaveRequested_ = false;
};
