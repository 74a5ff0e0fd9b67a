#pragma once
// The main window's chart: owns the chart model, its builder and the view placed in the window's chart
// area, and carries the chart commands: the chart-type list, the X/Y scale options, printing, the overlay
// command and the plotting method chosen on the setup screen. The main window hands it its controls
// once, tells it where the open test's rows are, and calls showOpenTest() whenever they are (re)loaded.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h needs size_t

#include "platform/ChartModel.h"
#include "results/OverlayCommand.h"
#include "results/ResultChartBuilder.h"
#include "results/ResultQuery.h"
#include "results/RheologyModels.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

struct AppContext;
class ChartView;
class QAbstractButton;
class QComboBox;
class QWidget;

// The main window's chart controls (any may be null). The controller keeps them showing the chart's state;
// with connectSignals it also reacts to them itself, otherwise the window's own handlers call
// selectChartType(), setXLog() and setYLog().
struct MainChartControls {
    QComboBox *cmbChartType = nullptr;
    QAbstractButton *xNormal = nullptr; // Option1
    QAbstractButton *xLog = nullptr;    // Option2
    QAbstractButton *yNormal = nullptr; // Option3
    QAbstractButton *yLog = nullptr;    // Option4
    bool connectSignals = true;
    // "Show Model Curves": usable while the open test is drawn in a chart type that takes the curves.
    QAbstractButton *modelCurves = nullptr;
};

class MainChartController : public QObject {
    Q_OBJECT
public:
    // Places the chart view in chartArea (adding a layout when it has none), fills the chart-type list and
    // connects the list and the scale options. The overlay asks with frmOverlapTestName and reads the rows
    // through ResultQuery::dosqloverlap on ctx.database (setOverlayHooks() replaces either).
    MainChartController(AppContext &ctx, QWidget *chartArea, const MainChartControls &controls,
                        QObject *parent = nullptr);
    ~MainChartController() override;

    ChartView *view() const;
    ChartModel &model() { return model_; }
    const ResultChartBuilder &builder() const { return builder_; }

    // Where the open test's result rows are read each time the chart is drawn (the results grid's rows,
    // as the grid loader left them, shared so a worker thread can sort them). Without a source the open
    // test has no rows.
    using RowSource = std::function<std::shared_ptr<const ResultTable>()>;
    void setOpenTestRows(RowSource source) { openRows_ = std::move(source); }
    // How the open test's rows were read; the overlay reads its test with the same stress factor.
    void setOpenTestConversion(std::function<ResultConversion()> conversion)
    {
        openConversion_ = std::move(conversion);
    }

    // Where the open test's rheology models come from when the model curves are drawn.
    void setRheologySource(std::function<RheologyModels()> source) { rheology_ = std::move(source); }

    // Draws the fitted model curves (RheologyCurves) over the open test on the charts that take them, now
    // and on every later drawing, or takes them away. Off at the start. Overlays stay.
    void setModelCurvesShown(bool shown);
    bool modelCurvesShown() const { return curvesShown_; }

    // Replaces the overlay's dialog and/or row reader (an unset function keeps the current one).
    void setOverlayHooks(const OverlayCommand::Hooks &hooks);

    // The open test (CurrentTestName) was opened, retrieved or reloaded in new units: draws chart type 0
    // with the test name as subtitle, selects entry 0 of the list and both "Normal" scales. With no test
    // open it only resets the chart.
    void showOpenTest();
    // Initial_Chart_Stress_Rate on its own: an empty, not-drawn chart.
    void resetChart();

    // cmbChartType's selection: with a test open, reset and draw type k (overlays go); with none, the list
    // goes back to entry 0.
    void selectChartType(int type);
    // Option1/Option2 and Option3/Option4.
    void setXLog(bool log);
    void setYLog(bool log);
    // Both "Normal" commands.
    void setScalesNormal();
    // cmdPrintChart, MenuFilePrint and the toolbar's "Print": prints the chart as shown. False when
    // cancelled or failed (the failure is reported).
    bool printChart();
    // cmdOverlap.
    OverlayCommand::Outcome overlap();
    // The setup screen's charting type: applies ProgramState::PlottingMethod (0..3) to the chart at once.
    void applyPlottingMethod();

private:
    void reset();
    void drawOpenTest(int type);
    void showScaleButtons();
    void applyModelCurves();

    AppContext &ctx_;
    ChartModel model_;
    ResultChartBuilder builder_;
    // The view belongs to the chart area's widget tree, which may be torn down before this object.
    QPointer<ChartView> view_;
    MainChartControls controls_;
    OverlayCommand::Hooks hooks_;
    RowSource openRows_;
    std::function<ResultConversion()> openConversion_;
    std::function<RheologyModels()> rheology_;
    bool curvesShown_ = false;
};
