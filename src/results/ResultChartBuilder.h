#pragma once
// Fills the main window's chart model with the open test in one of the ten chart types, and adds
// overlaid tests as further series. It owns the chart's bookkeeping: the series in use, the point capacity
// taken from the open test, and the chart type last drawn. Widget-free: it reads result rows and writes
// the ChartModel; the caller shows any message.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h needs size_t

#include "platform/ChartModel.h"

#include <QString>

class ResultChartBuilder {
public:
    explicit ResultChartBuilder(ChartModel &model);

    ChartModel &model() const { return model_; }

    // Initial_Chart_Stress_Rate: chart type 0, one series labelled "Shear Stress" in light blue, the shear
    // stress / shear rate titles in the given units, empty subtitle, linear axes, straight lines; the open
    // test is not drawn any more (overlays are gone).
    void reset(bool si);

    // Draws the open test as chart type `type` (0..9) into series 0: the point capacity becomes the row
    // count, sorted types are sorted by x. Sets the chart type. Meant for a freshly reset chart.
    void drawOpenTest(int type, const ResultTable &rows, bool si);
    // The same with the points already made by ChartPlotPoints::plotted(type, rows) (on a worker thread).
    void drawPlotted(int type, QList<QPointF> plotted, bool si);

    struct Overlay {
        int series = -1;           // the series the overlaid test went into
        int pointsRead = 0;        // rows of the overlaid test
        int pointsDrawn = 0;       // of them, the ones the capacity took
        bool overCapacity = false; // more rows than the open test: the caller shows the message
    };
    // Adds an overlaid test as one more series in the current chart type (with its own elapsed-time
    // offsets on the time charts), cut at the open test's point capacity and sorted like the open test.
    // Nothing happens (series -1) while the open test is not drawn.
    Overlay addOverlay(const ResultTable &rows);
    // The same with the points already made by overlayPoints() for the chart type and capacity shown.
    Overlay addOverlayPoints(QList<QPointF> points);
    // An overlaid test's points in chart type `type`, in row order, with the first `capacity` of them
    // sorted when the type is sorted (the chart takes no more than that). Free of the chart, so it can run
    // on a worker thread.
    static QList<QPointF> overlayPoints(int type, const ResultTable &rows, int capacity);

    bool isDrawn() const { return drawn_; }
    int chartType() const { return chartType_; }
    int seriesCount() const { return seriesCount_; }
    // The open test's row count once drawn; 9999 while not drawn.
    int pointCount() const { return drawn_ ? pointCount_ : NotDrawnCapacity; }

    static constexpr int NotDrawnCapacity = 9999;
    // Colour of series 0 and of the overlays after it.
    static ChartColor seriesColor(int series);

private:
    void applyLabels(int type, bool si);

    ChartModel &model_;
    int chartType_ = 0;
    int seriesCount_ = 1;
    int pointCount_ = NotDrawnCapacity;
    // Kept apart from the capacity: an open test of exactly 9999 rows is drawn too.
    bool drawn_ = false;
};
