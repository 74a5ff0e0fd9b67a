#pragma once
// Turns result rows into the points of a chart type: the plotted columns as single-precision values,
// the elapsed time of the time charts, and the exchange sort that keeps a curve drawn left to right.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h needs size_t

#include <QList>
#include <QPointF>
#include <vector>

namespace ChartPlotPoints {

// Elapsed time of each row: its recorded time (seconds into its step) plus, for every change of step, the
// last recorded time before the change rounded to whole seconds (halves to the even neighbour). The
// offset starts at 0 with step 1 as the current step.
std::vector<double> elapsedTimes(const ResultTable &rows);

// The points of chart type `type` (see ChartTypes), one per row in row order, each value rounded to single
// precision as the chart keeps it. Not sorted.
QList<QPointF> pointsFor(int type, const ResultTable &rows);

// The points of chart type `type` as the chart draws them: pointsFor(), sorted by x for the sorted types.
QList<QPointF> plotted(int type, const ResultTable &rows);

// Leaves the first m points in the order of the classic exchange sort: for i = 1..m, for j = i..m, points
// i-1 and j-1 swap when x(j-1) < x(i-1). Equal x values are never swapped with each other directly, so the
// order of ties is not kept (2, 2, 1 ends as 1 and the two 2s reversed); a point whose x is NaN never
// moves. m is cut to the point count. The result is that of the exchange sort, tie order included, but
// worked out in O(m log m) instead of its O(m²) swaps, so a test of a million points sorts in a moment.
void exchangeSortByX(QList<QPointF> &points, int m);

} // namespace ChartPlotPoints
