#include "results/ChartPlotPoints.h"

#include "results/ChartTypes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <span>
#include <utility>
#include <vector>

namespace {

// The chart keeps single-precision values. The round trip goes through a volatile float because GCC 12's
// vectorizer drops a paired double -> float -> double conversion at -O2 and keeps the double unchanged.
double toSingle(double v)
{
    volatile float f = static_cast<float>(v);
    return f;
}

// Marks on the places 0..n-1 (a Fenwick tree): adds a mark, counts the marks in a range and finds the
// place of the k-th mark, each in O(log n).
class PlaceCounter {
public:
    explicit PlaceCounter(int n) : tree_(size_t(n) + 1, 0) {}

    void add(int place, int amount = 1)
    {
        for (size_t i = size_t(place) + 1; i < tree_.size(); i += i & (~i + 1))
            tree_[i] += amount;
    }
    // Marks in [0, end).
    int countBelow(int end) const
    {
        int sum = 0;
        for (size_t i = size_t(end); i > 0; i -= i & (~i + 1))
            sum += tree_[i];
        return sum;
    }
    int count(int first, int end) const { return end > first ? countBelow(end) - countBelow(first) : 0; }
    // The place holding the k-th mark (k from 1).
    int kth(int k) const
    {
        size_t pos = 0;
        size_t step = std::bit_floor(tree_.size());
        for (; step > 0; step >>= 1) {
            if (pos + step < tree_.size() && tree_[pos + step] < k) {
                pos += step;
                k -= tree_[pos];
            }
        }
        return int(pos);
    }

private:
    std::vector<int> tree_;
};

// The order the exchange sort leaves a block of equal x values in. Seen from one value v, a pass of the
// exchange sort carries its point right and trades it for every strictly smaller one it meets. Points
// above v only hold places, so they can be left out; what remains acts like a queue: the points equal to
// v join it in the order they stand, and each smaller point met after them sends the front of the queue
// to its back. `ties` are the places (in 0..n-1, ascending) of the equal points, `smaller` marks the places
// of all smaller points. The queue is kept as a circle with a moving front, and the circle is rebuilt at
// the end from the place each point was inserted at.
void appendTieOrder(std::span<const int> ties, const PlaceCounter &smaller, int n, std::vector<int> &order)
{
    const int c = int(ties.size());
    std::vector<int> insertedAt(static_cast<size_t>(c));
    int front = 0;
    for (int t = 0; t < c; ++t) {
        const int size = t + 1;
        // Joining at the back of the queue is standing just before its front on the circle.
        insertedAt[size_t(t)] = front;
        front = (front + 1) % size;
        const int next = t + 1 < c ? ties[size_t(t) + 1] : n;
        const int turns = smaller.count(ties[size_t(t)] + 1, next);
        front = int((int64_t(front) + turns) % size);
    }
    // Later insertions push earlier ones along: taking them last to first, each point gets the free
    // slot whose rank is its insertion place.
    PlaceCounter vacant(c);
    for (int s = 0; s < c; ++s)
        vacant.add(s);
    std::vector<int> circle(static_cast<size_t>(c));
    for (int t = c - 1; t >= 0; --t) {
        const int slot = vacant.kth(insertedAt[size_t(t)] + 1);
        circle[size_t(slot)] = ties[size_t(t)];
        vacant.add(slot, -1);
    }
    for (int k = 0; k < c; ++k)
        order.push_back(circle[size_t((front + k) % c)]);
}

} // namespace

namespace ChartPlotPoints {

std::vector<double> elapsedTimes(const ResultTable &rows)
{
    std::vector<double> out;
    out.reserve(rows.size());
    double offset = 0;
    double currentStep = 1;
    double lastTime = 0;
    for (const ResultRow &row : rows) {
        if (row[ResultRow::Step] != currentStep) {
            offset += lastTime;
            currentStep = row[ResultRow::Step];
        }
        out.push_back(row[ResultRow::Time] + offset);
        lastTime = std::nearbyint(row[ResultRow::Time]); // the default rounding mode rounds halves to even
    }
    return out;
}

QList<QPointF> pointsFor(int type, const ResultTable &rows)
{
    const ChartTypeInfo &t = ChartTypes::info(type);
    const std::vector<double> elapsed =
        t.xColumn == ChartTypes::ElapsedTime ? elapsedTimes(rows) : std::vector<double>();
    QList<QPointF> out;
    out.reserve(qsizetype(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const double x = t.xColumn == ChartTypes::ElapsedTime ? elapsed[i] : rows[i][t.xColumn];
        const double y = rows[i][t.yColumn];
        out.append(QPointF(toSingle(x), toSingle(y)));
    }
    return out;
}

QList<QPointF> plotted(int type, const ResultTable &rows)
{
    QList<QPointF> points = pointsFor(type, rows);
    if (ChartTypes::info(type).sortedByX)
        exchangeSortByX(points, int(points.size()));
    return points;
}

void exchangeSortByX(QList<QPointF> &points, int m)
{
    m = std::clamp(m, 0, int(points.size()));
    // A NaN x never compares, so the exchange sort never moves it: it keeps its place and the other
    // points are sorted around it as if it were not there.
    const QList<QPointF> &given = points;
    std::vector<int> live;
    std::vector<double> xs;
    live.reserve(size_t(m));
    xs.reserve(size_t(m));
    for (int i = 0; i < m; ++i) {
        if (!std::isnan(given[i].x())) {
            live.push_back(i);
            xs.push_back(given[i].x());
        }
    }
    const int n = int(live.size());
    auto x = [&](int k) { return xs[size_t(k)]; };

    // Every point ends in the block of its x value; only the order inside a block of equal values
    // needs working out. Blocks are taken from the smallest value up, so `smaller` always holds the
    // places of the points smaller than the block at hand.
    std::vector<int> byValue(static_cast<size_t>(n));
    std::iota(byValue.begin(), byValue.end(), 0);
    std::stable_sort(byValue.begin(), byValue.end(), [&](int a, int b) { return x(a) < x(b); });
    PlaceCounter smaller(n);
    std::vector<int> order;
    order.reserve(size_t(n));
    for (int g = 0; g < n;) {
        int h = g + 1;
        while (h < n && !(x(byValue[size_t(g)]) < x(byValue[size_t(h)])))
            ++h;
        const std::span<const int> ties(byValue.data() + g, size_t(h - g));
        if (ties.size() == 1)
            order.push_back(ties[0]);
        else
            appendTieOrder(ties, smaller, n, order);
        for (const int k : ties)
            smaller.add(k);
        g = h;
    }

    std::vector<QPointF> sorted(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        sorted[size_t(k)] = given[live[size_t(order[size_t(k)])]];
    for (int k = 0; k < n; ++k)
        points[live[size_t(k)]] = sorted[size_t(k)];
}

} // namespace ChartPlotPoints
