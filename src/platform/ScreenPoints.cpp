#include "platform/ScreenPoints.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

long long ScreenAxis::pixelOf(double value) const
{
    double from = lo;
    double to = hi;
    double v = value;
    if (logarithmic) {
        from = std::log(lo);
        to = std::log(hi);
        v = std::log(value);
    }
    const double span = to - from;
    const double position = span > 0 ? (v - from) / span * pixels : 0.0;
    // Far off-scale values (and NaN) share the pixels at the ends: they are not seen anyway.
    constexpr double limit = 1e15;
    if (!(position > -limit))
        return static_cast<long long>(-limit);
    if (!(position < limit))
        return static_cast<long long>(limit);
    return static_cast<long long>(std::floor(position));
}

namespace ScreenPoints {

QList<QPointF> forLine(const QList<QPointF> &points, const ScreenAxis &x)
{
    if (points.size() <= PointsPerColumn * std::max(1.0, x.pixels))
        return points;
    QList<QPointF> out;
    out.reserve(qsizetype(PointsPerColumn * x.pixels * 2));
    qsizetype first = 0;
    while (first < points.size()) {
        const long long column = x.pixelOf(points[first].x());
        qsizetype low = first;
        qsizetype high = first;
        qsizetype last = first + 1;
        for (; last < points.size() && x.pixelOf(points[last].x()) == column; ++last) {
            if (points[last].y() < points[low].y())
                low = last;
            if (points[last].y() > points[high].y())
                high = last;
        }
        --last;
        // first, low, high, last in index order, each once
        qsizetype kept[4] = {first, std::min(low, high), std::max(low, high), last};
        qsizetype previous = -1;
        for (const qsizetype k : kept) {
            if (k != previous)
                out.append(points[k]);
            previous = k;
        }
        first = last + 1;
    }
    return out;
}

QList<QPointF> forMarkers(const QList<QPointF> &points, const ScreenAxis &x, const ScreenAxis &y)
{
    if (points.size() <= PointsPerColumn * std::max(1.0, x.pixels))
        return points;
    struct PixelHash {
        size_t operator()(const std::pair<long long, long long> &p) const
        {
            return std::hash<long long>()(p.first * 1000003LL ^ p.second);
        }
    };
    std::unordered_set<std::pair<long long, long long>, PixelHash> taken;
    QList<QPointF> out;
    for (const QPointF &p : points) {
        if (taken.insert({x.pixelOf(p.x()), y.pixelOf(p.y())}).second)
            out.append(p);
    }
    return out;
}

} // namespace ScreenPoints
