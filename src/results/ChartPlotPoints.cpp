#include "results/ChartPlotPoints.h"

#include "results/ChartTypes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The chart keeps single-precision values. The round trip goes through a volatile float because GCC 12's
// vectorizer drops a paired double -> float -> double conversion at -O2 and keeps the double unchanged.
double toSingle(double v)
{
    volatile float f = static_cast<float>(v);
    return f;
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

void exchangeSortByX(QList<QPointF> &points, int m)
{
    m = std::min(m, int(points.size()));
    for (int i = 1; i <= m; ++i)
        for (int j = i; j <= m; ++j)
            if (points[j - 1].x() < points[i - 1].x())
                std::swap(points[i - 1], points[j - 1]);
}

} // namespace ChartPlotPoints
