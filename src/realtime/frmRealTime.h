#pragma once
// The real-time test screen ("Real Time Test"): readout panel, step grid of the running sequence, live
// chart, save-rate and averaging frames, status bar and the Save Result As / Start / Stop / Return and
// chart buttons. The work is done by RealTimeSession; this window forwards its clicks and shows the
// session's texts.
//
// The main window opens it through open() (which applies the real-time guard, hides the main window and
// shows it again when this screen is left), or creates it itself and connects returned().
#include "realtime/RealTimeReadouts.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

struct AppContext;
class ChartModel;
class ChartView;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTableWidget;
class RealTimeSession;

class frmRealTime : public QWidget {
    Q_OBJECT
public:
    // cmdRealTime of the main window: when a sequence was sent in this run of the program, hides
    // mainWindow, shows a new real-time screen and shows mainWindow again when the screen is left; otherwise
    // shows the guard's message. Returns the screen (deleted when it closes) or nullptr.
    static frmRealTime *open(AppContext &context, QWidget *mainWindow);

    explicit frmRealTime(AppContext &context, QWidget *parent = nullptr);
    ~frmRealTime() override;

    RealTimeSession &session() { return *session_; }
    ChartModel &chartModel() { return *chartModel_; }
    int saveInterval() const { return saveInterval_; }

    // Shows the naming dialog modally and returns whether it was confirmed, with the stored test's name.
    // Tests replace it; by default it runs frmRealRelated.
    std::function<bool(QString *testName)> askTestName;

signals:
    // The screen was left (Return or its close box while no run is in progress).
    void returned();

public slots:
    void cmdSaveAs_Click();
    void cmdStart_Click();
    void cmdStop_Click();
    void cmdReturn_Click();
    void cmdShowAll_Click();
    void cmdShow3Min_Click();
    void cmdPrintChart_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void fillStepGrid();
    void refresh();
    bool runNamingDialog(QString *testName);

    AppContext &context_;
    std::unique_ptr<ChartModel> chartModel_;
    std::unique_ptr<RealTimeSession> session_;
    ChartView *chartView_ = nullptr;
    std::array<QLabel *, RealTimeReadouts::Count> captions_{};
    std::array<QLabel *, RealTimeReadouts::Count> values_{};
    QLabel *lblSequenceName_ = nullptr;
    QTableWidget *grid_ = nullptr;
    QStatusBar *statusBar_ = nullptr;
    QLabel *statusPanel_ = nullptr;
    QLabel *elapsedPanel_ = nullptr;
    QLabel *discardedPanel_ = nullptr;
    QLabel *waitingPanel_ = nullptr;
    QLabel *lblAverage_ = nullptr;
    QLineEdit *txtAverage_ = nullptr;
    QLabel *lblAverage2_ = nullptr;
    int saveInterval_ = 10;
    bool averaging_ = false;
};
