#pragma once
// Wires the main window's commands to the subsystems that carry them out, and owns what the main window
// shows of the open test: its result rows and grid, its chart, its id for the reports, and the screens
// opened from it (setup, real-time, calibration check, direct logging).
#include "results/ResultGridModel.h"
#include "results/ResultQuery.h"

#include <QObject>
#include <QPointer>
#include <memory>

struct AppContext;
class frmMain;
class frmSetup;
class frmDirectLog;
class MainChartController;
class OpenTestCommand;
class ReportCommands;

class MainController : public QObject {
    Q_OBJECT
public:
    MainController(AppContext &context, frmMain &window);
    ~MainController() override;

    MainChartController &chart() { return *chart_; }
    ResultGridModel &grid() { return grid_; }
    // TestId of the open test (0 when none is open); the reports read it.
    int openTestId() const;
    frmSetup *setupScreen() const;
    QWidget *directLogScreen() const;

    // The commands (public so tests and the end-to-end run call them as the buttons do).
    void open();
    void retrieve();
    void relatedInfo();
    void realTime();
    void setup();
    void caliCheck();
    void directLog();
    void overlap();
    void rheology();
    void pdfReport();

private:
    void setStatus(const QString &text);
    // False, after telling the user, when no test is open.
    bool requireOpenTest();

    AppContext &ctx_;
    frmMain &main_;
    ResultQuery query_;
    ResultGridModel grid_;
    std::unique_ptr<MainChartController> chart_;
    std::unique_ptr<OpenTestCommand> openCommand_;
    std::unique_ptr<ReportCommands> reports_;
    QPointer<QWidget> setup_;     // frmSetup, made on first use and kept
    QPointer<QWidget> directLog_; // frmDirectLog while it is open
};
