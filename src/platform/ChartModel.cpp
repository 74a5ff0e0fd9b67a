#include "platform/ChartModel.h"

#include <algorithm>
#include <cmath>

namespace {

bool finite(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Least squares of v = c0 + c1 * u; false when the u values do not spread.
bool leastSquares(const std::vector<double> &u, const std::vector<double> &v, double &c0, double &c1)
{
    const size_t n = u.size();
    if (n < 2)
        return false;
    double mu = 0, mv = 0;
    for (size_t i = 0; i < n; ++i) {
        mu += u[i];
        mv += v[i];
    }
    mu /= double(n);
    mv /= double(n);
    double suu = 0, suv = 0;
    for (size_t i = 0; i < n; ++i) {
        suu += (u[i] - mu) * (u[i] - mu);
        suv += (u[i] - mu) * (v[i] - mv);
    }
    if (!(suu > 0))
        return false;
    c1 = suv / suu;
    c0 = mv - c1 * mu;
    return std::isfinite(c0) && std::isfinite(c1);
}

} // namespace

// ---------------------------------------------------------------------------------------------- FitCurve

double FitCurve::valueAt(double x) const
{
    if (method == PlottingMethod::PointsWithPowerCurve)
        return a * std::pow(x, b);
    return a + b * x;
}

std::optional<FitCurve> FitCurve::straightLine(const QList<QPointF> &points)
{
    std::vector<double> xs, ys;
    for (const QPointF &p : points) {
        if (!finite(p))
            continue;
        xs.push_back(p.x());
        ys.push_back(p.y());
    }
    FitCurve f;
    f.method = PlottingMethod::PointsWithLine;
    if (!leastSquares(xs, ys, f.a, f.b))
        return std::nullopt;
    const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
    f.xMin = *lo;
    f.xMax = *hi;
    return f;
}

std::optional<FitCurve> FitCurve::powerCurve(const QList<QPointF> &points)
{
    std::vector<double> lx, ly;
    double xMin = 0, xMax = 0;
    for (const QPointF &p : points) {
        if (!finite(p) || p.x() <= 0 || p.y() <= 0)
            continue;
        if (lx.empty() || p.x() < xMin)
            xMin = p.x();
        if (lx.empty() || p.x() > xMax)
            xMax = p.x();
        lx.push_back(std::log(p.x()));
        ly.push_back(std::log(p.y()));
    }
    FitCurve f;
    f.method = PlottingMethod::PointsWithPowerCurve;
    double lnA = 0;
    if (!leastSquares(lx, ly, lnA, f.b))
        return std::nullopt;
    f.a = std::exp(lnA);
    f.xMin = xMin;
    f.xMax = xMax;
    return f;
}

// -------------------------------------------------------------------------------------------- ChartModel

ChartModel::ChartModel(QObject *parent) : QObject(parent)
{
    yAxes_.resize(1);
    series_.resize(1);
}

const ChartModel::Series *ChartModel::seriesAt(int series) const
{
    return series >= 0 && series < int(series_.size()) ? &series_[size_t(series)] : nullptr;
}

ChartModel::Series *ChartModel::seriesAt(int series)
{
    return series >= 0 && series < int(series_.size()) ? &series_[size_t(series)] : nullptr;
}

const ChartModel::YAxis *ChartModel::yAxisAt(int axis) const
{
    return axis >= 0 && axis < int(yAxes_.size()) ? &yAxes_[size_t(axis)] : nullptr;
}

ChartModel::YAxis *ChartModel::yAxisAt(int axis)
{
    return axis >= 0 && axis < int(yAxes_.size()) ? &yAxes_[size_t(axis)] : nullptr;
}

void ChartModel::recount(Series &s)
{
    s.written = 0;
    s.end = 0;
    for (size_t i = 0; i < s.cells.size(); ++i) {
        if (s.cells[i].written) {
            ++s.written;
            s.end = int(i) + 1;
        }
    }
}

// ---- texts

void ChartModel::setTitle(const QString &text)
{
    if (title_ == text)
        return;
    title_ = text;
    emit textChanged();
}

void ChartModel::setSubtitle(const QString &text)
{
    if (subtitle_ == text)
        return;
    subtitle_ = text;
    emit textChanged();
}

void ChartModel::setXLabel(const QString &text)
{
    if (xLabel_ == text)
        return;
    xLabel_ = text;
    emit textChanged();
}

void ChartModel::setYLabel(const QString &text, int axis)
{
    YAxis *a = yAxisAt(axis);
    if (!a || a->label == text)
        return;
    a->label = text;
    emit textChanged();
}

QString ChartModel::yLabel(int axis) const
{
    const YAxis *a = yAxisAt(axis);
    return a ? a->label : QString();
}

// ---- size

void ChartModel::setSize(int seriesCount, int pointCapacity)
{
    seriesCount = std::max(0, seriesCount);
    pointCapacity = std::max(0, pointCapacity);
    if (seriesCount == int(series_.size()) && pointCapacity == capacity_)
        return;
    series_.resize(size_t(seriesCount));
    capacity_ = pointCapacity;
    for (Series &s : series_) {
        if (int(s.cells.size()) != capacity_) {
            s.cells.resize(size_t(capacity_));
            recount(s);
        }
    }
    emit structureChanged();
}

// ---- point values

bool ChartModel::setPoint(int series, int index, double x, double y)
{
    Series *s = seriesAt(series);
    if (!s || index < 0 || index >= capacity_)
        return false;
    Slot &c = s->cells[size_t(index)];
    if (!c.written) {
        c.written = true;
        ++s->written;
        s->end = std::max(s->end, index + 1);
    }
    c.x = x;
    c.y = y;
    emit pointsChanged(series, index);
    return true;
}

std::optional<QPointF> ChartModel::point(int series, int index) const
{
    const Series *s = seriesAt(series);
    if (!s || index < 0 || index >= capacity_ || !s->cells[size_t(index)].written)
        return std::nullopt;
    const Slot &c = s->cells[size_t(index)];
    return QPointF(c.x, c.y);
}

double ChartModel::xValue(int series, int index) const
{
    const auto p = point(series, index);
    return p ? p->x() : 0.0;
}

double ChartModel::yValue(int series, int index) const
{
    const auto p = point(series, index);
    return p ? p->y() : 0.0;
}

int ChartModel::setSeriesPoints(int series, const QList<QPointF> &points)
{
    Series *s = seriesAt(series);
    if (!s)
        return 0;
    const int n = std::min(int(points.size()), capacity_);
    for (int i = 0; i < capacity_; ++i) {
        Slot &c = s->cells[size_t(i)];
        if (i < n)
            c = Slot{points[i].x(), points[i].y(), true};
        else
            c = Slot{};
    }
    s->written = n;
    s->end = n;
    emit pointsChanged(series, 0);
    return n;
}

QList<QPointF> ChartModel::writtenPoints(int series) const
{
    QList<QPointF> out;
    const Series *s = seriesAt(series);
    if (!s)
        return out;
    out.reserve(s->written);
    for (int i = 0; i < s->end; ++i) {
        const Slot &c = s->cells[size_t(i)];
        if (c.written)
            out.append(QPointF(c.x, c.y));
    }
    return out;
}

int ChartModel::writtenCount(int series) const
{
    const Series *s = seriesAt(series);
    return s ? s->written : 0;
}

int ChartModel::endIndex(int series) const
{
    const Series *s = seriesAt(series);
    return s ? s->end : 0;
}

void ChartModel::clearPoints(int series)
{
    Series *s = seriesAt(series);
    if (!s || s->written == 0)
        return;
    std::fill(s->cells.begin(), s->cells.end(), Slot{});
    s->written = 0;
    s->end = 0;
    emit pointsChanged(series, 0);
}

void ChartModel::clearAllPoints()
{
    for (int i = 0; i < seriesCount(); ++i)
        clearPoints(i);
}

void ChartModel::shiftLeft(int n)
{
    if (n <= 0 || capacity_ == 0)
        return;
    n = std::min(n, capacity_);
    for (Series &s : series_) {
        std::move(s.cells.begin() + n, s.cells.end(), s.cells.begin());
        std::fill(s.cells.end() - n, s.cells.end(), Slot{});
        recount(s);
    }
    emit pointsShifted(n);
}

// ---- series look

void ChartModel::setSeriesLabel(int series, const QString &label)
{
    Series *s = seriesAt(series);
    if (!s || s->label == label)
        return;
    s->label = label;
    emit structureChanged();
}

QString ChartModel::seriesLabel(int series) const
{
    const Series *s = seriesAt(series);
    return s ? s->label : QString();
}

void ChartModel::setSeriesColor(int series, const ChartColor &color)
{
    Series *s = seriesAt(series);
    if (!s || s->color == color)
        return;
    s->color = color;
    emit structureChanged();
}

void ChartModel::clearSeriesColor(int series)
{
    Series *s = seriesAt(series);
    if (!s || !s->color)
        return;
    s->color.reset();
    emit structureChanged();
}

std::optional<ChartColor> ChartModel::seriesColor(int series) const
{
    const Series *s = seriesAt(series);
    return s ? s->color : std::nullopt;
}

void ChartModel::setSeriesYAxis(int series, int axis)
{
    Series *s = seriesAt(series);
    if (!s || axis < 0 || s->yAxis == axis)
        return;
    s->yAxis = axis;
    emit structureChanged();
}

int ChartModel::seriesYAxis(int series) const
{
    const Series *s = seriesAt(series);
    // A series pointing past the y axes in use is scaled by axis 0.
    return s && s->yAxis < yAxisCount() ? s->yAxis : 0;
}

// ---- axes

void ChartModel::setXScale(AxisScale scale)
{
    if (xScale_ == scale)
        return;
    xScale_ = scale;
    emit structureChanged();
}

void ChartModel::setXKind(AxisKind kind)
{
    if (xKind_ == kind)
        return;
    xKind_ = kind;
    emit structureChanged();
}

void ChartModel::setXRange(const AxisRange &range)
{
    if (xRange_ == range)
        return;
    xRange_ = range;
    emit rangeChanged();
}

void ChartModel::setYAxisCount(int count)
{
    count = std::max(1, count);
    if (count == yAxisCount())
        return;
    yAxes_.resize(size_t(count));
    emit structureChanged();
}

void ChartModel::setYScale(AxisScale scale, int axis)
{
    YAxis *a = yAxisAt(axis);
    if (!a || a->scale == scale)
        return;
    a->scale = scale;
    emit structureChanged();
}

AxisScale ChartModel::yScale(int axis) const
{
    const YAxis *a = yAxisAt(axis);
    return a ? a->scale : AxisScale::Linear;
}

void ChartModel::setYRange(const AxisRange &range, int axis)
{
    YAxis *a = yAxisAt(axis);
    if (!a || a->range == range)
        return;
    a->range = range;
    emit rangeChanged();
}

AxisRange ChartModel::yRange(int axis) const
{
    const YAxis *a = yAxisAt(axis);
    return a ? a->range : AxisRange{};
}

void ChartModel::setYAxisSide(AxisSide side, int axis)
{
    YAxis *a = yAxisAt(axis);
    if (!a || a->side == side)
        return;
    a->side = side;
    emit structureChanged();
}

AxisSide ChartModel::yAxisSide(int axis) const
{
    const YAxis *a = yAxisAt(axis);
    return a ? a->side : AxisSide::Left;
}

void ChartModel::setYAxisColor(const ChartColor &color, int axis)
{
    YAxis *a = yAxisAt(axis);
    if (!a || a->color == color)
        return;
    a->color = color;
    emit structureChanged();
}

std::optional<ChartColor> ChartModel::yAxisColor(int axis) const
{
    const YAxis *a = yAxisAt(axis);
    return a ? a->color : std::nullopt;
}

// ---- plotting method

void ChartModel::setPlottingMethod(PlottingMethod method)
{
    if (method_ == method)
        return;
    method_ = method;
    emit structureChanged();
}

PlottingMethod ChartModel::plottingMethodFromCode(int code)
{
    switch (code) {
    case 1: return PlottingMethod::Spline;
    case 2: return PlottingMethod::PointsWithLine;
    case 3: return PlottingMethod::PointsWithPowerCurve;
    default: return PlottingMethod::Lines;
    }
}

// ---- curves

void ChartModel::setCurves(const QList<ChartCurve> &curves)
{
    if (curves.isEmpty() && curves_.isEmpty())
        return;
    curves_ = curves;
    emit structureChanged();
    emit rangeChanged();
}

QList<QPointF> ChartModel::visibleCurvePoints(int curve) const
{
    QList<QPointF> out;
    if (curve < 0 || curve >= curves_.size())
        return out;
    for (const QPointF &p : curves_.at(curve).points)
        if (drawable(p, 0))
            out.append(p);
    return out;
}

// ---- what a view draws

bool ChartModel::drawable(const QPointF &p, int yAxis) const
{
    if (!finite(p))
        return false;
    if (xKind_ == AxisKind::Value && xScale_ == AxisScale::Log && p.x() <= 0)
        return false;
    if (yScale(yAxis) == AxisScale::Log && p.y() <= 0)
        return false;
    return true;
}

QList<QPointF> ChartModel::visiblePoints(int series, int fromIndex) const
{
    QList<QPointF> out;
    const Series *s = seriesAt(series);
    if (!s)
        return out;
    const int axis = seriesYAxis(series);
    out.reserve(s->written);
    for (int i = std::max(0, fromIndex); i < s->end; ++i) {
        const Slot &c = s->cells[size_t(i)];
        const QPointF p(c.x, c.y);
        if (c.written && drawable(p, axis))
            out.append(p);
    }
    return out;
}

std::optional<FitCurve> ChartModel::fit(int series) const
{
    switch (method_) {
    case PlottingMethod::PointsWithLine: return FitCurve::straightLine(visiblePoints(series));
    case PlottingMethod::PointsWithPowerCurve: return FitCurve::powerCurve(visiblePoints(series));
    default: return std::nullopt;
    }
}

QList<QPointF> ChartModel::fitPoints(int series, int samples) const
{
    QList<QPointF> out;
    const auto f = fit(series);
    if (!f || samples < 2)
        return out;
    const bool geometric = xKind_ == AxisKind::Value && xScale_ == AxisScale::Log && f->xMin > 0;
    const int axis = seriesYAxis(series);
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / double(samples - 1);
        const double x = geometric ? f->xMin * std::pow(f->xMax / f->xMin, t) : f->xMin + (f->xMax - f->xMin) * t;
        const QPointF p(x, f->valueAt(x));
        if (drawable(p, axis))
            out.append(p);
    }
    return out;
}

void ChartModel::reset()
{
    title_.clear();
    subtitle_.clear();
    xLabel_.clear();
    series_.assign(1, Series{});
    capacity_ = 0;
    xScale_ = AxisScale::Linear;
    xKind_ = AxisKind::Value;
    xRange_ = AxisRange{};
    yAxes_.assign(1, YAxis{});
    method_ = PlottingMethod::Lines;
    curves_.clear();
    emit textChanged();
    emit structureChanged();
    emit rangeChanged();
}
