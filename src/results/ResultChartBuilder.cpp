#include "results/ResultChartBuilder.h"

#include "results/ChartPlotPoints.h"
#include "results/ChartTypes.h"

#include <algorithm>

ResultChartBuilder::ResultChartBuilder(ChartModel &model) : model_(model) {}

ChartColor ResultChartBuilder::seriesColor(int series)
{
    // Series 0 is light blue; overlays take strong colours that stay apart from it and from each other.
    static const ChartColor overlays[] = {
        {255, 0, 0}, {0, 160, 0}, {200, 0, 200}, {128, 128, 0}, {0, 160, 160}, {255, 128, 0}, {90, 90, 90},
    };
    if (series <= 0)
        return {0, 0, 255};
    return overlays[size_t(series - 1) % std::size(overlays)];
}

void ResultChartBuilder::applyLabels(int type, bool si)
{
    model_.setXLabel(ChartTypes::xLabel(type, si));
    model_.setYLabel(ChartTypes::yLabel(type, si));
    model_.setTitle(ChartTypes::title(type));
}

void ResultChartBuilder::reset(bool si)
{
    chartType_ = 0;
    seriesCount_ = 1;
    pointCount_ = NotDrawnCapacity;
    drawn_ = false;
    model_.reset();
    model_.setSize(1, NotDrawnCapacity);
    model_.setSeriesLabel(0, QStringLiteral("Shear Stress"));
    model_.setSeriesColor(0, seriesColor(0));
    applyLabels(0, si);
    model_.setSubtitle(QString());
    model_.setXScale(AxisScale::Linear);
    model_.setYScale(AxisScale::Linear);
    model_.setPlottingMethod(PlottingMethod::Lines);
}

void ResultChartBuilder::drawOpenTest(int type, const ResultTable &rows, bool si)
{
    drawPlotted(type, ChartPlotPoints::plotted(ChartTypes::clamp(type), rows), si);
}

void ResultChartBuilder::drawPlotted(int type, QList<QPointF> plotted, bool si)
{
    type = ChartTypes::clamp(type);
    applyLabels(type, si);
    const int n = int(plotted.size());
    seriesCount_ = 1;
    pointCount_ = n;
    drawn_ = true;
    chartType_ = type;
    model_.setSize(1, n);
    model_.setSeriesPoints(0, plotted);
}

QList<QPointF> ResultChartBuilder::overlayPoints(int type, const ResultTable &rows, int capacity)
{
    type = ChartTypes::clamp(type);
    QList<QPointF> points = ChartPlotPoints::pointsFor(type, rows);
    // The chart holds no more points per series than the open test has; only those are sorted.
    if (ChartTypes::info(type).sortedByX)
        ChartPlotPoints::exchangeSortByX(points, std::min(int(points.size()), capacity));
    return points;
}

ResultChartBuilder::Overlay ResultChartBuilder::addOverlay(const ResultTable &rows)
{
    return addOverlayPoints(drawn_ ? overlayPoints(chartType_, rows, pointCount_) : QList<QPointF>());
}

ResultChartBuilder::Overlay ResultChartBuilder::addOverlayPoints(QList<QPointF> points)
{
    Overlay out;
    if (!drawn_)
        return out;
    ++seriesCount_;
    out.series = seriesCount_ - 1;
    model_.setSeriesCount(seriesCount_);
    model_.setSeriesColor(out.series, seriesColor(out.series));
    out.pointsRead = int(points.size());
    if (points.size() > pointCount_)
        points.resize(pointCount_);
    out.pointsDrawn = int(points.size());
    out.overCapacity = out.pointsRead > pointCount_;
    model_.setSeriesPoints(out.series, points);
    return out;
}
