#pragma once
// The main window: every command of the program as a button, a menu entry or a toolbar button, the open
// test's chart area and results grid, the clock in the status bar, the exit confirmation and the
// reaction to being activated again after another screen. The commands that belong to other parts of the
// program are handlers here that call into those parts; this class owns no test data itself.
#include "common/ProgramInfo.h"

#include <QMainWindow>

#include <functional>

struct AppContext;
class ProportionalResizer;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;
class QToolBar;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    static QString caption() { return ProgramInfo::name() + QStringLiteral("  version ") + ProgramInfo::version(); }

    explicit frmMain(AppContext &context, QWidget *parent = nullptr);
    ~frmMain() override;

    // Where the chart view goes (an empty widget with a layout), and the results grid.
    QWidget *chartArea() const { return chartArea_; }
    QTableView *resultsGrid() const { return MSFlexGrid1_; }
    QComboBox *chartTypeList() const { return cmbChartType_; }
    // Status bar panels by key: "Time" (the clock) and "Status".
    QLabel *statusPanel(const QString &key) const;

    // The X and Y scale options ("Normal" and "Log" of each).
    QRadioButton *xNormalOption() const { return Option1_; }
    QRadioButton *xLogOption() const { return Option2_; }
    QRadioButton *yNormalOption() const { return Option3_; }
    QRadioButton *yLogOption() const { return Option4_; }
    // "Show Model Curves": the fitted rheology models drawn over the readings.
    QCheckBox *modelCurvesOption() const { return chkModelCurves_; }

    // The "Related Information" button is usable only while a test is open or was just retrieved.
    void setRelatedInfoEnabled(bool enabled);

    // Buttons.
    void cmdOpen_Click();
    void cmdRetrieve_Click();
    void cmdStartTest_Click();
    void cmdStopTest_Click();
    void cmdRealTime_Click();
    void cmdSetup_Click();
    void cmdCalicheck_Click();
    void cmdExport_Click();
    void cmdBrief_Click();
    void cmdReport_Click();
    void cmdOverlap_Click();
    void cmdRheology_Click();
    void cmdPrintChart_Click();
    void RelatedInfo_Click();
    void cmdExit_Click();

    // Menu entries.
    void MenuFileOpen_Click();
    void MenuFileRetrieve_Click();
    void menureport_Click();
    void MenuFilePdf_Click();
    void MenuFileRheology_Click();
    void MenuFilePrint_Click();
    void MenuSetup_Click();
    void menureset_Click();
    void MenuFileExit_Click();
    void DirectLog_Click();
    void MenuHelpAbout_Click();

    // Toolbar: the button's key chooses the command ("Open", "Retrieve", "Print", "Report").
    void Toolbar1_ButtonClick(const QString &key);

    // Chart controls.
    void cmbChartType_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void chkModelCurves_Click(bool shown);

    // Lifecycle.
    void Form_Activate();
    enum class CloseReason { UserClose, Other };
    // True when the window may close: the user's close box asks first, every other reason closes at once.
    bool Form_QueryUnload(CloseReason reason);
    // Ends the program: every other window closes without its own checks, then this one.
    void endProgram();
    bool isEnding() const { return ending_; }

    void updateClock();

signals:
    // The program is ending (connect to the application's quit).
    void programEnded();

    // The commands that belong to other subsystems: the program's wiring (MainController) or a test
    // connects to them. A command nobody connected to does nothing.
    void openRequested();
    void retrieveRequested();
    void startTestRequested();
    void stopTestRequested();
    void realTimeRequested();
    void setupRequested();
    void caliCheckRequested();
    void exportDetailRequested();
    void exportBriefRequested();
    void textReportRequested();
    void overlapRequested();
    void rheologyRequested();
    void pdfReportRequested();
    void printChartRequested();
    void relatedInfoRequested();
    void directLogRequested();
    void chartTypeSelected(int type);
    void xScaleChosen(bool logarithmic);
    void yScaleChosen(bool logarithmic);
    void modelCurvesChosen(bool shown);
    // Emitted on activation when the units were changed on the setup screen (grid header, grid and chart
    // of the open test must be reloaded). The window itself then clears UnitsChanged.
    void unitsChangedOnActivation();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void placeControls();
    bool confirmExit();
    void beginEnding();
    QPushButton *addButton(const char *name, const QString &caption, const QString &toolTip);

    AppContext &ctx_;
    QWidget *form_ = nullptr;
    ProportionalResizer *resizer_ = nullptr;
    bool ending_ = false;

    QWidget *chartArea_ = nullptr;
    QTableView *MSFlexGrid1_ = nullptr;
    QLabel *lblChartType_ = nullptr;
    QComboBox *cmbChartType_ = nullptr;
    QGroupBox *Frame1_ = nullptr;
    QGroupBox *Frame2_ = nullptr;
    QRadioButton *Option1_ = nullptr;
    QRadioButton *Option2_ = nullptr;
    QRadioButton *Option3_ = nullptr;
    QRadioButton *Option4_ = nullptr;
    QCheckBox *chkModelCurves_ = nullptr;
    QList<QPushButton *> buttons_;
    QPushButton *RelatedInfo_ = nullptr;
    QToolBar *Toolbar1_ = nullptr;
    QLabel *timePanel_ = nullptr;
    QLabel *statusPanel_ = nullptr;
    QTimer *clockTimer_ = nullptr;
};
