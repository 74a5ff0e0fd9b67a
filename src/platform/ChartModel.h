#pragma once
// What a chart shows, without any widget: titles, axis labels, a fixed-size table of series x points,
// scales and ranges, several y axes and the plotting method. Builders (result charts, live charts) fill
// it and tests read it back; ChartView draws it and follows its change signals, so a live chart that
// writes one reading a second only costs an append on screen, never a rebuilt scene.
//
// The point table works like a grid of slots: setSize() fixes the number of series and the points per
// series; a slot holds a value only once written, and slots never written are not drawn. Values are
// stored exactly as given; scales only decide which of them can be drawn (a log axis cannot show a value
// of zero or below, so such points are left out of the drawing while their values stay).
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

struct ChartColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const ChartColor &, const ChartColor &) = default;
};

enum class AxisScale { Linear, Log };
enum class AxisKind { Value, DateTime };
enum class AxisSide { Left, Right };

// The drawing of every series; the values match ProgramState::PlottingMethod.
enum class PlottingMethod {
    Lines = 0,                // points joined by straight lines
    Spline = 1,               // points joined by a smooth curve
    PointsWithLine = 2,       // the points with their least-squares straight line
    PointsWithPowerCurve = 3, // the points with their least-squares curve y = a * x^b
};

// Both bounds unset: automatic. One bound set: that end fixed, the other follows the data.
struct AxisRange {
    std::optional<double> min;
    std::optional<double> max;
    bool isAutomatic() const { return !min && !max; }
    friend bool operator==(const AxisRange &, const AxisRange &) = default;
};

// A least-squares curve through a series: y = a + b*x (straight line) or y = a * x^b (power curve).
struct FitCurve {
    PlottingMethod method = PlottingMethod::PointsWithLine;
    double a = 0;
    double b = 0;
    double xMin = 0; // x range of the points the curve was fitted on
    double xMax = 0;
    double valueAt(double x) const;

    // Straight line through all finite points; nullopt with fewer than two distinct x values.
    static std::optional<FitCurve> straightLine(const QList<QPointF> &points);
    // Power curve through the points with x > 0 and y > 0 (a logarithm needs them); nullopt when fewer
    // than two such points with distinct x remain.
    static std::optional<FitCurve> powerCurve(const QList<QPointF> &points);
};

// A curve drawn over the series, apart from the point table: a model fitted to the readings, say. Its
// points are drawn joined in the order given; it takes no part in the series count or the capacity.
struct ChartCurve {
    QString label;
    ChartColor color;
    bool dashed = false;
    QList<QPointF> points;
};

class ChartModel : public QObject {
    Q_OBJECT
public:
    explicit ChartModel(QObject *parent = nullptr);

    // Date-time x values are milliseconds since 1970-01-01 UTC (what the date-time axis expects).
    static double chartTime(const QDateTime &when) { return double(when.toMSecsSinceEpoch()); }
    static QDateTime dateTimeOf(double chartTime) { return QDateTime::fromMSecsSinceEpoch(qint64(chartTime)); }

    // ---- texts
    void setTitle(const QString &text);
    QString title() const { return title_; }
    void setSubtitle(const QString &text);
    QString subtitle() const { return subtitle_; }
    void setXLabel(const QString &text);
    QString xLabel() const { return xLabel_; }
    void setYLabel(const QString &text, int axis = 0);
    QString yLabel(int axis = 0) const;

    // ---- size of the point table. Existing values inside the new size are kept; series beyond it are
    // forgotten; new series start empty with no label, no colour and y axis 0.
    void setSize(int seriesCount, int pointCapacity);
    void setSeriesCount(int count) { setSize(count, capacity_); }
    void setPointCapacity(int capacity) { setSize(int(series_.size()), capacity); }
    int seriesCount() const { return int(series_.size()); }
    int pointCapacity() const { return capacity_; }

    // ---- point values
    // Writes one slot; false (and nothing written) when (series, index) lies outside the size.
    bool setPoint(int series, int index, double x, double y);
    // The written value of a slot, nullopt when never written or outside the size.
    std::optional<QPointF> point(int series, int index) const;
    // Like the component's plain read: 0 for a slot never written.
    double xValue(int series, int index) const;
    double yValue(int series, int index) const;
    // Replaces a whole series with points written from index 0 (the rest is emptied); returns how many
    // fitted into the capacity.
    int setSeriesPoints(int series, const QList<QPointF> &points);
    // Every written point of the series, in index order (with the values as stored).
    QList<QPointF> writtenPoints(int series) const;
    int writtenCount(int series) const;
    // One past the highest written index (0 for an empty series).
    int endIndex(int series) const;
    void clearPoints(int series);
    void clearAllPoints();
    // Moves every series left by n slots: the n oldest leave, n empty slots appear at the end.
    void shiftLeft(int n);

    // ---- series look
    void setSeriesLabel(int series, const QString &label);
    QString seriesLabel(int series) const;
    void setSeriesColor(int series, const ChartColor &color);
    void clearSeriesColor(int series);
    std::optional<ChartColor> seriesColor(int series) const;
    // Which y axis scales the series (0 when never set).
    void setSeriesYAxis(int series, int axis);
    int seriesYAxis(int series) const;

    // ---- x axis
    void setXScale(AxisScale scale);
    AxisScale xScale() const { return xScale_; }
    void setXKind(AxisKind kind);
    AxisKind xKind() const { return xKind_; }
    void setXRange(const AxisRange &range);
    AxisRange xRange() const { return xRange_; }

    // ---- y axes: at least one; each with its own label, side, scale, range and colour
    void setYAxisCount(int count);
    int yAxisCount() const { return int(yAxes_.size()); }
    void setYScale(AxisScale scale, int axis = 0);
    AxisScale yScale(int axis = 0) const;
    void setYRange(const AxisRange &range, int axis = 0);
    AxisRange yRange(int axis = 0) const;
    void setYAxisSide(AxisSide side, int axis);
    AxisSide yAxisSide(int axis) const;
    void setYAxisColor(const ChartColor &color, int axis);
    std::optional<ChartColor> yAxisColor(int axis) const;

    // ---- plotting method, applied to every series
    void setPlottingMethod(PlottingMethod method);
    PlottingMethod plottingMethod() const { return method_; }
    // ProgramState::PlottingMethod codes 0..3; anything else means straight lines.
    static PlottingMethod plottingMethodFromCode(int code);

    // ---- curves over the series (y axis 0); a reset removes them
    void setCurves(const QList<ChartCurve> &curves);
    const QList<ChartCurve> &curves() const { return curves_; }
    // The points of curve i that the axes can show.
    QList<QPointF> visibleCurvePoints(int curve) const;

    // ---- what a view draws
    // The written points of a series (from slot fromIndex on) that its axes can show: not NaN or
    // infinite, and above zero on a logarithmic axis. Index order is kept.
    QList<QPointF> visiblePoints(int series, int fromIndex = 0) const;
    // The least-squares curve of the series for the current plotting method (nullopt for lines and
    // spline, or when the points do not allow a fit). Fitted on the visible points.
    std::optional<FitCurve> fit(int series) const;
    // The fitted curve sampled across its x range (evenly on a linear x axis, geometrically on a
    // logarithmic one), without samples the axes cannot show. Empty without a fit.
    QList<QPointF> fitPoints(int series, int samples = 64) const;

    // ---- everything back to an empty one-series chart with linear axes and straight lines
    void reset();

signals:
    // Titles or axis labels changed.
    void textChanged();
    // Series count, capacity, scales, axis kinds, y axes, series look or plotting method changed: a view
    // rebuilds its series and axes.
    void structureChanged();
    // An axis range changed.
    void rangeChanged();
    // Slots of one series changed, the lowest changed index being `fromIndex`.
    void pointsChanged(int series, int fromIndex);
    // Every series moved left by n slots.
    void pointsShifted(int n);

private:
    struct Slot {
        double x = 0;
        double y = 0;
        bool written = false;
    };
    struct Series {
        std::vector<Slot> cells;
        QString label;
        std::optional<ChartColor> color;
        int yAxis = 0;
        int written = 0;
        int end = 0;
    };
    struct YAxis {
        QString label;
        AxisSide side = AxisSide::Left;
        AxisScale scale = AxisScale::Linear;
        AxisRange range;
        std::optional<ChartColor> color;
    };

    const Series *seriesAt(int series) const;
    Series *seriesAt(int series);
    const YAxis *yAxisAt(int axis) const;
    YAxis *yAxisAt(int axis);
    bool drawable(const QPointF &p, int yAxis) const;
    static void recount(Series &s);

    QString title_;
    QString subtitle_;
    QString xLabel_;
    std::vector<Series> series_;
    int capacity_ = 0;
    AxisScale xScale_ = AxisScale::Linear;
    AxisKind xKind_ = AxisKind::Value;
    AxisRange xRange_;
    std::vector<YAxis> yAxes_;
    PlottingMethod method_ = PlottingMethod::Lines;
    QList<ChartCurve> curves_;
};
