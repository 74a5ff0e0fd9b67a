#pragma once
// The "Direct Data Logging" window: the instrument at one constant speed, its readings on a live chart
// and, on request, in a data file. Not modal: the main window stays usable. The work is done by
// DirectLogSession; this window shows its button states and forwards the events.
//
// From the main window's DirectLog menu entry (one window at a time; a second click brings it forward):
//     frmDirectLog::showFrom(context, this);
// A status line under the settings says when no data has come for a while and how many lines wait for the
// data file. The window is a child of the main window and goes with it. Closing it in any way (Exit, the close box,
// the main window's exit, the end of the program) asks nothing; a running instrument is sent the stop
// byte first.
#include <QWidget>
#include <memory>

struct AppContext;
class ChartModel;
class ChartView;
class DirectLogSession;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmDirectLog : public QWidget {
    Q_OBJECT
public:
    static frmDirectLog *showFrom(AppContext &context, QWidget *mainWindow);

    explicit frmDirectLog(AppContext &context, QWidget *parent = nullptr);
    ~frmDirectLog() override;

    void cmdRun_Click();
    void cmdStop_Click();
    void cmdStartRecord_Click();
    void cmdStopRecord_Click();
    void Command1_Click(); // Print Chart
    void cmdExit_Click();
    void cmbSpeed_LostFocus();
    void cmbRate_Change();

    DirectLogSession &session() { return *session_; }
    ChartModel &chartModel() { return *chartModel_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void refresh();

    AppContext &context_;
    std::unique_ptr<ChartModel> chartModel_;
    std::unique_ptr<DirectLogSession> session_;
    ChartView *chart_ = nullptr;
    QComboBox *cmbSpeed_ = nullptr;
    QComboBox *cmbRate_ = nullptr;
    QLineEdit *txtFileName_ = nullptr;
    QPushButton *cmdRun_ = nullptr;
    QPushButton *cmdStop_ = nullptr;
    QPushButton *cmdStartRecord_ = nullptr;
    QPushButton *cmdStopRecord_ = nullptr;
    QPushButton *Command1_ = nullptr;
    QPushButton *cmdExit_ = nullptr;
    QLabel *lblStatus_ = nullptr;
    bool settingRate_ = false;
};
