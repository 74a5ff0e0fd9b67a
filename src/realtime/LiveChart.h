#pragma once
// The live chart of a real-time run, without any widget: fills a ChartModel (drawn by a ChartView) with
// four series against the time of each reading, and keeps the moving time window.
//
// The point store holds 1500 readings per series. When the next reading would land on slot 1499 every
// series moves left by 200 slots, so the chart always holds the latest 1299 to 1499 readings (stored
// TestResult rows are not affected). The time window is 20 minutes wide; once a reading is later than its
// right edge the window moves on by 30 seconds. "Show All" switches the time axis to all held points,
// "Show Last 3 Minutes" to the 3 minutes ending at the newest reading; either lasts until the next build.
// The direct-logging screen keeps a smaller store and a shorter window with the same rules (the second
// constructor).
#include <QDateTime>

class ChartModel;
struct RealTimeReadouts;

class LiveChart {
public:
    static constexpr int ChartPoints = 1500;
    static constexpr int ShiftPoints = 200;
    static constexpr int Series = 4; // 0 shear stress, 1 viscosity, 2 temperature, 3 dial reading
    // Model y axes: stress on the left, viscosity on the right of the same plot, then temperature and dial.
    static constexpr int StressAxis = 0, ViscosityAxis = 1, TemperatureAxis = 2, DialAxis = 3;
    // Chart x values are milliseconds (ChartModel::chartTime).
    static constexpr double XWindow = 20 * 60 * 1000.0;
    static constexpr double XScrollStep = 30 * 1000.0;
    static constexpr double LastMinutesWindow = 3 * 60 * 1000.0;

    enum class View { Window, All, LastMinutes };

    explicit LiveChart(ChartModel &model);
    // Another store size (points per series; the shift happens at the slot before the last) and window
    // width (milliseconds).
    LiveChart(ChartModel &model, int chartPoints, double xWindow);

    // Initial_chart: an empty chart with its titles, series, colours and axes, the window starting now.
    void build(const QDateTime &now);
    // The run has started: the window becomes [start, start + 20 min] (in the 20-minute view).
    void startAt(const QDateTime &start);

    // Writes one reading into every series at x = now and moves the window on when now is past it.
    void addReading(const QDateTime &now, const RealTimeReadouts &readouts);
    // The same with the four plotted values given directly.
    void addPoint(const QDateTime &now, double stress, double viscosity, double temperature, double dial);

    void showAll();
    void showLastMinutes();

    int chartPoints() const { return chartPoints_; }
    double xWindow() const { return xWindow_; }
    View view() const { return view_; }
    int pointIndex() const { return pointIndex_; }
    double startTime() const { return startTime_; }
    double xAxisMin() const { return xAxisMin_; }
    double xAxisMax() const { return xAxisMax_; }
    // Time of the newest reading held, or 0 when none.
    double newestTime() const { return newest_; }

private:
    void applyXRange();

    ChartModel &model_;
    int chartPoints_ = ChartPoints;
    double xWindow_ = XWindow;
    int pointIndex_ = 1;
    double startTime_ = 0;
    double xAxisMin_ = 0;
    double xAxisMax_ = 0;
    double newest_ = 0;
    View view_ = View::Window;
};
