#pragma once
// What of a long series a screen can show. A plot a thousand pixels wide cannot show more than a few
// points per pixel column, so a series of a million points is handed to the chart thinned out, in a way
// that leaves the picture as it was:
// - drawn as a line: of every run of consecutive points that fall into one pixel column, the first, the
//   lowest, the highest and the last are kept (in their order); the line through them covers the same
//   pixels as the line through all of them;
// - drawn as markers: one point per pixel, the first that falls on it.
// Printing and the exports use every point; this is only for the screen.
#include <QList>
#include <QPointF>

// Where the values of an axis fall on the screen: lo..hi over `pixels` pixels, linear or logarithmic.
struct ScreenAxis {
    double lo = 0;
    double hi = 1;
    bool logarithmic = false;
    double pixels = 1;

    // The pixel (column or row) a value falls into; values outside lo..hi fall outside 0..pixels.
    long long pixelOf(double value) const;
};

namespace ScreenPoints {

// A series with no more points than this per pixel column is handed over whole.
constexpr int PointsPerColumn = 4;

QList<QPointF> forLine(const QList<QPointF> &points, const ScreenAxis &x);
QList<QPointF> forMarkers(const QList<QPointF> &points, const ScreenAxis &x, const ScreenAxis &y);

} // namespace ScreenPoints
