// Thinning a long series for the screen: the pixels a line or the markers cover stay the same, the kept
// points keep their order, and a series the screen can show point for point is left whole.
#include "platform/ScreenPoints.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace {

// Per pixel column: the lowest and highest y, the first and last point of every run in the column.
struct ColumnPicture {
    std::map<long long, std::pair<double, double>> span;
    std::vector<std::pair<QPointF, QPointF>> runEnds; // first and last point of each run, in order
};

ColumnPicture lineOf(const QList<QPointF> &points, const ScreenAxis &x)
{
    ColumnPicture p;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const long long c = x.pixelOf(points[i].x());
        auto [it, added] = p.span.try_emplace(c, points[i].y(), points[i].y());
        it->second.first = std::min(it->second.first, points[i].y());
        it->second.second = std::max(it->second.second, points[i].y());
        if (i == 0 || x.pixelOf(points[i - 1].x()) != c)
            p.runEnds.push_back({points[i], points[i]});
        else
            p.runEnds.back().second = points[i];
    }
    return p;
}

// Every kept point is one of the points, in the same order.
bool isSubsequence(const QList<QPointF> &kept, const QList<QPointF> &all)
{
    qsizetype k = 0;
    for (qsizetype i = 0; i < all.size() && k < kept.size(); ++i)
        if (all[i] == kept[k])
            ++k;
    return k == kept.size();
}

QList<QPointF> randomSeries(QRandomGenerator &random, int n, bool sorted, bool positive)
{
    QList<QPointF> out;
    double x = positive ? 1.0 : -500.0;
    for (int i = 0; i < n; ++i) {
        x = sorted ? x + random.generateDouble() * 0.01 : (positive ? 1 : -500) + random.generateDouble() * 1000;
        out.append(QPointF(x, (positive ? 1.0 : -50.0) + random.generateDouble() * 100));
    }
    return out;
}

} // namespace

TEST(ScreenPoints, PixelsOfLinearAndLogarithmicAxes)
{
    const ScreenAxis linear{0, 100, false, 200};
    EXPECT_EQ(linear.pixelOf(0), 0);
    EXPECT_EQ(linear.pixelOf(49.9), 99);
    EXPECT_EQ(linear.pixelOf(100), 200);
    EXPECT_EQ(linear.pixelOf(-1), -2);
    const ScreenAxis log{1, 1000, true, 300};
    EXPECT_EQ(log.pixelOf(10), 100);
    EXPECT_EQ(log.pixelOf(99.9), 199);
    // Values no pixel can hold end up at the far ends, never as undefined numbers.
    EXPECT_LT(log.pixelOf(0), -1000000);
    EXPECT_GT(linear.pixelOf(std::numeric_limits<double>::infinity()), 1000000);
}

TEST(ScreenPoints, AShortSeriesIsDrawnWhole)
{
    QRandomGenerator random(7);
    const QList<QPointF> points = randomSeries(random, 3000, true, false);
    const ScreenAxis x{-500, 500, false, 800}; // 3,200 points would still be drawn point for point
    EXPECT_EQ(ScreenPoints::forLine(points, x), points);
    EXPECT_EQ(ScreenPoints::forMarkers(points, x, ScreenAxis{-50, 50, false, 400}), points);
}

TEST(ScreenPoints, ALineKeepsEveryColumnsExtremesAndEveryRunsEnds)
{
    struct Case {
        const char *what;
        bool sorted; // a sorted chart, or points in recording order going back and forth
        bool logarithmic;
    };
    const Case cases[] = {{"sorted, linear", true, false},
                          {"unsorted, linear", false, false},
                          {"sorted, log", true, true},
                          {"unsorted, log", false, true}};
    QRandomGenerator random(11);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QList<QPointF> points = randomSeries(random, 200000, c.sorted, c.logarithmic);
        double lo = points[0].x(), hi = points[0].x();
        for (const QPointF &p : points) {
            lo = std::min(lo, p.x());
            hi = std::max(hi, p.x());
        }
        const ScreenAxis x{lo, hi, c.logarithmic, 850};
        const QList<QPointF> kept = ScreenPoints::forLine(points, x);
        EXPECT_TRUE(isSubsequence(kept, points));
        const ColumnPicture all = lineOf(points, x);
        const ColumnPicture shown = lineOf(kept, x);
        EXPECT_EQ(shown.span, all.span);
        ASSERT_EQ(shown.runEnds.size(), all.runEnds.size());
        for (size_t i = 0; i < all.runEnds.size(); ++i) {
            EXPECT_EQ(shown.runEnds[i].first, all.runEnds[i].first);
            EXPECT_EQ(shown.runEnds[i].second, all.runEnds[i].second);
        }
        EXPECT_LE(kept.size(), qsizetype(4 * all.runEnds.size()));
        if (c.sorted) {
            EXPECT_LE(kept.size(), 4 * 851);
        }
    }
}

TEST(ScreenPoints, MarkersKeepOnePointOnEveryPixelThatHasOne)
{
    QRandomGenerator random(5);
    QList<QPointF> points;
    // Few distinct speeds with a spread of readings each, as a sorted Fann chart has.
    const double speeds[] = {3, 6, 100, 200, 300, 600};
    for (int i = 0; i < 120000; ++i)
        points.append(QPointF(speeds[i % 6], 10 + speeds[i % 6] / 10 + random.bounded(300) * 0.01));
    const ScreenAxis x{0, 700, false, 900};
    const ScreenAxis y{0, 80, false, 400};
    const QList<QPointF> kept = ScreenPoints::forMarkers(points, x, y);
    EXPECT_TRUE(isSubsequence(kept, points));
    std::set<std::pair<long long, long long>> allPixels, keptPixels;
    for (const QPointF &p : points)
        allPixels.insert({x.pixelOf(p.x()), y.pixelOf(p.y())});
    for (const QPointF &p : kept)
        EXPECT_TRUE(keptPixels.insert({x.pixelOf(p.x()), y.pixelOf(p.y())}).second) << "two markers on one pixel";
    EXPECT_EQ(keptPixels, allPixels);
}
