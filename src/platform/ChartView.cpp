#include "platform/ChartView.h"

#include "platform/ChartModel.h"
#include "platform/Prompts.h"
#include "platform/ScreenPoints.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPrinter>
#include <QScatterSeries>
#include <QSplineSeries>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace {

// Series with no more points than this show a marker on every point, so single readings stay visible.
constexpr int MarkerLimit = 60;

QColor toQColor(const ChartColor &c)
{
    return QColor(c.red, c.green, c.blue);
}

struct Extent {
    double lo = 0;
    double hi = 0;
    bool any = false;
    void add(double v)
    {
        if (!std::isfinite(v))
            return;
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    }
};

// Range of a linear axis: the data, with fixed ends where the model gives them, rounded outward to nice
// tick values when an end is free.
void applyValueRange(QValueAxis *axis, const Extent &e, const AxisRange &r)
{
    double lo = e.any ? e.lo : 0.0;
    double hi = e.any ? e.hi : 1.0;
    if (r.min)
        lo = *r.min;
    if (r.max)
        hi = *r.max;
    if (r.min && !r.max && hi <= lo)
        hi = lo + 1.0;
    if (r.max && !r.min && lo >= hi)
        lo = hi - 1.0;
    if (hi <= lo) {
        const double pad = lo == 0.0 ? 1.0 : std::abs(lo) * 0.1;
        lo -= pad;
        hi += pad;
    } else {
        // A little room at the free ends keeps the markers of the extreme points inside the plot, without
        // pushing a scale that starts at zero or above into negative values.
        const double pad = (hi - lo) * 0.04;
        if (!r.max)
            hi += pad;
        if (!r.min)
            lo = (lo >= 0.0 && lo - pad < 0.0) ? 0.0 : lo - pad;
    }
    axis->setRange(lo, hi);
    if (!r.min || !r.max) {
        axis->applyNiceNumbers();
        if (r.min)
            axis->setMin(*r.min);
        if (r.max)
            axis->setMax(*r.max);
    }
}

// Range of a logarithmic axis: whole decades around the data; fixed ends only when above zero.
void applyLogRange(QLogValueAxis *axis, const Extent &e, const AxisRange &r)
{
    double lo = e.any ? std::pow(10.0, std::floor(std::log10(e.lo))) : 1.0;
    double hi = e.any ? std::pow(10.0, std::ceil(std::log10(e.hi))) : 10.0;
    if (r.min && *r.min > 0)
        lo = *r.min;
    if (r.max && *r.max > 0)
        hi = *r.max;
    if (hi <= lo)
        hi = lo * 10.0;
    axis->setRange(lo, hi);
}

void applyDateTimeRange(QDateTimeAxis *axis, const Extent &e, const AxisRange &r)
{
    double lo = e.any ? e.lo : ChartModel::chartTime(QDateTime::currentDateTime());
    double hi = e.any ? e.hi : lo + 60000.0;
    if (r.min)
        lo = *r.min;
    if (r.max)
        hi = *r.max;
    if (hi <= lo) {
        lo -= 30000.0;
        hi += 30000.0;
    }
    axis->setRange(ChartModel::dateTimeOf(lo), ChartModel::dateTimeOf(hi));
}

QAbstractAxis *makeAxis(AxisKind kind, AxisScale scale)
{
    if (kind == AxisKind::DateTime) {
        auto *a = new QDateTimeAxis;
        a->setFormat(QStringLiteral("hh:mm:ss"));
        a->setTickCount(6);
        return a;
    }
    if (scale == AxisScale::Log) {
        auto *a = new QLogValueAxis;
        a->setBase(10.0);
        a->setLabelFormat(QStringLiteral("%g"));
        a->setMinorTickCount(-1);
        return a;
    }
    return new QValueAxis;
}

// Where an axis puts its values on a plot `pixels` long.
ScreenAxis screenAxis(const QAbstractAxis *axis, double pixels)
{
    ScreenAxis s;
    s.pixels = pixels;
    if (const auto *v = qobject_cast<const QValueAxis *>(axis)) {
        s.lo = v->min();
        s.hi = v->max();
    } else if (const auto *l = qobject_cast<const QLogValueAxis *>(axis)) {
        s.lo = l->min();
        s.hi = l->max();
        s.logarithmic = true;
    } else if (const auto *d = qobject_cast<const QDateTimeAxis *>(axis)) {
        s.lo = double(d->min().toMSecsSinceEpoch());
        s.hi = double(d->max().toMSecsSinceEpoch());
    }
    return s;
}

void applyRange(QAbstractAxis *axis, const Extent &e, const AxisRange &r)
{
    if (auto *v = qobject_cast<QValueAxis *>(axis))
        applyValueRange(v, e, r);
    else if (auto *l = qobject_cast<QLogValueAxis *>(axis))
        applyLogRange(l, e, r);
    else if (auto *d = qobject_cast<QDateTimeAxis *>(axis))
        applyDateTimeRange(d, e, r);
}

} // namespace

QChart *ChartView::newChart()
{
    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

void ChartView::onPlotAreaChanged()
{
    // Thinned series were made for the old width; the others do not depend on it.
    if (std::abs(chart_->plotArea().width() - thinnedFor_) < 1.0)
        return;
    bool any = false;
    for (Drawn &d : drawn_) {
        if (d.thinned) {
            d.replace = true;
            any = true;
        }
    }
    if (any)
        scheduleSync();
}

ChartView::ChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Pesgo1"));
    chart_ = newChart();
    view_ = new QChartView(chart_, this);
    view_->setRenderHint(QPainter::Antialiasing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    syncTimer_ = new QTimer(this);
    syncTimer_->setSingleShot(true);
    syncTimer_->setInterval(0);
    connect(syncTimer_, &QTimer::timeout, this, &ChartView::sync);
    setAccessibleName(tr("Chart"));
}

ChartView::~ChartView() = default;

QChart *ChartView::chart() const
{
    return chart_;
}

QXYSeries *ChartView::drawnSeries(int series) const
{
    return series >= 0 && series < int(drawn_.size()) ? drawn_[size_t(series)].data : nullptr;
}

QAbstractAxis *ChartView::drawnXAxis() const
{
    return xAxis_;
}

QAbstractAxis *ChartView::drawnYAxis(int axis) const
{
    return axis >= 0 && axis < int(yAxes_.size()) ? yAxes_[size_t(axis)] : nullptr;
}

void ChartView::setModel(ChartModel *model)
{
    if (model_)
        disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    if (model_) {
        connect(model_, &ChartModel::textChanged, this, [this] {
            needTexts_ = true;
            scheduleSync();
        });
        connect(model_, &ChartModel::rangeChanged, this, [this] {
            needRanges_ = true;
            scheduleSync();
        });
        connect(model_, &ChartModel::structureChanged, this, &ChartView::markStructure);
        connect(model_, &ChartModel::pointsChanged, this, &ChartView::onPointsChanged);
        connect(model_, &ChartModel::pointsShifted, this, &ChartView::onPointsShifted);
        connect(model_, &QObject::destroyed, this, [this] { markStructure(); });
    }
    markStructure();
}

void ChartView::scheduleSync()
{
    if (!syncTimer_->isActive())
        syncTimer_->start();
}

void ChartView::markStructure()
{
    needStructure_ = true;
    scheduleSync();
}

void ChartView::onPointsChanged(int series, int fromIndex)
{
    if (series >= 0 && series < int(drawn_.size()) && fromIndex < drawn_[size_t(series)].syncedEnd)
        drawn_[size_t(series)].replace = true;
    needRanges_ = true;
    scheduleSync();
}

void ChartView::onPointsShifted(int)
{
    for (Drawn &d : drawn_)
        d.replace = true;
    needRanges_ = true;
    scheduleSync();
}

void ChartView::refresh()
{
    syncTimer_->stop();
    sync();
}

void ChartView::sync()
{
    if (needStructure_) {
        rebuild();
        needStructure_ = false;
        needTexts_ = true;
        needRanges_ = true;
    }
    if (!model_)
        return;
    // The ranges come from the model and go first: a series is thinned to the axes it is drawn on.
    const bool newRanges = needRanges_;
    if (needRanges_) {
        applyRanges();
        needRanges_ = false;
    }
    for (int s = 0; s < int(drawn_.size()); ++s) {
        Drawn &d = drawn_[size_t(s)];
        if (d.replace || d.fit || (d.thinned && newRanges))
            fillSeries(s);
        else if (model_->endIndex(s) != d.syncedEnd)
            appendToSeries(s);
    }
    if (needTexts_) {
        applyTexts();
        needTexts_ = false;
    }
}

void ChartView::rebuild()
{
    // A fresh chart instead of removing axes from the old one: Qt Charts only drops the graphics of a
    // removed axis on a later turn of the event loop, so a chart printed or grabbed at once would still
    // show the old axes over the new ones. Deleting the old chart takes all its items at once.
    QChart *old = chart_;
    chart_ = newChart();
    view_->setChart(chart_);
    delete old;
    connect(chart_, &QChart::plotAreaChanged, this, &ChartView::onPlotAreaChanged);
    drawn_.clear();
    curves_.clear();
    yAxes_.clear();
    xAxis_ = nullptr;
    if (!model_)
        return;

    xAxis_ = makeAxis(model_->xKind(), model_->xScale());
    chart_->addAxis(xAxis_, Qt::AlignBottom);
    for (int i = 0; i < model_->yAxisCount(); ++i) {
        QAbstractAxis *a = makeAxis(AxisKind::Value, model_->yScale(i));
        if (const auto c = model_->yAxisColor(i)) {
            a->setLabelsColor(toQColor(*c));
            a->setLinePenColor(toQColor(*c));
            a->setTitleBrush(toQColor(*c));
        }
        chart_->addAxis(a, model_->yAxisSide(i) == AxisSide::Right ? Qt::AlignRight : Qt::AlignLeft);
        yAxes_.push_back(a);
    }

    const PlottingMethod method = model_->plottingMethod();
    const bool withFit = method == PlottingMethod::PointsWithLine || method == PlottingMethod::PointsWithPowerCurve;
    bool anyLabel = false;
    drawn_.resize(size_t(model_->seriesCount()));
    for (int s = 0; s < model_->seriesCount(); ++s) {
        Drawn &d = drawn_[size_t(s)];
        if (withFit) {
            auto *scatter = new QScatterSeries;
            scatter->setMarkerSize(8.0);
            d.data = scatter;
            d.fit = new QLineSeries;
        } else if (method == PlottingMethod::Spline) {
            d.data = new QSplineSeries;
        } else {
            d.data = new QLineSeries;
        }
        d.data->setName(model_->seriesLabel(s));
        anyLabel = anyLabel || !model_->seriesLabel(s).isEmpty();
        chart_->addSeries(d.data);
        // The theme picks a colour when the series is added; a colour of the model replaces it.
        const QColor color = model_->seriesColor(s) ? toQColor(*model_->seriesColor(s)) : d.data->color();
        d.data->setColor(color);
        if (withFit) {
            static_cast<QScatterSeries *>(d.data)->setBorderColor(color);
        } else {
            QPen pen = d.data->pen();
            pen.setWidthF(2.0);
            pen.setColor(color);
            d.data->setPen(pen);
        }
        QAbstractAxis *y = yAxes_[size_t(model_->seriesYAxis(s))];
        d.data->attachAxis(xAxis_);
        d.data->attachAxis(y);
        if (model_->seriesLabel(s).isEmpty())
            for (QLegendMarker *m : chart_->legend()->markers(d.data))
                m->setVisible(false);
        if (d.fit) {
            chart_->addSeries(d.fit);
            QPen pen(color);
            pen.setWidthF(2.0);
            d.fit->setPen(pen);
            d.fit->attachAxis(xAxis_);
            d.fit->attachAxis(y);
            for (QLegendMarker *m : chart_->legend()->markers(d.fit))
                m->setVisible(false);
        }
        d.replace = true;
    }
    addCurves();
    // One series needs no legend: the title says what it is. Curves over it are named in the legend.
    chart_->legend()->setVisible((anyLabel && model_->seriesCount() > 1) || !curves_.empty());
}

void ChartView::addCurves()
{
    curves_.clear();
    for (int i = 0; i < int(model_->curves().size()); ++i) {
        const ChartCurve &c = model_->curves().at(i);
        auto *line = new QLineSeries;
        line->setName(c.label);
        chart_->addSeries(line);
        QPen pen(toQColor(c.color));
        pen.setWidthF(2.0);
        if (c.dashed)
            pen.setStyle(Qt::DashLine);
        line->setPen(pen);
        line->attachAxis(xAxis_);
        line->attachAxis(yAxes_.front());
        line->replace(model_->visibleCurvePoints(i));
        curves_.push_back(line);
    }
}

QList<QPointF> ChartView::drawnPoints(int series, const QList<QPointF> &visible) const
{
    if (printing_)
        return visible;
    const QRectF plot = chart_->plotArea();
    // Before the chart is laid out for the first time its plot has no size yet; the view's size is close.
    const double width = plot.width() >= 16 ? plot.width() : std::max(640, view_->width());
    const double height = plot.height() >= 16 ? plot.height() : std::max(400, view_->height());
    const ScreenAxis x = screenAxis(xAxis_, width);
    const Drawn &d = drawn_[size_t(series)];
    if (d.fit) // points drawn as markers, with the fitted curve beside them
        return ScreenPoints::forMarkers(visible, x, screenAxis(yAxes_[size_t(model_->seriesYAxis(series))], height));
    return ScreenPoints::forLine(visible, x);
}

void ChartView::fillSeries(int series)
{
    Drawn &d = drawn_[size_t(series)];
    const QList<QPointF> points = model_->visiblePoints(series);
    const QList<QPointF> drawn = drawnPoints(series, points);
    d.data->replace(drawn);
    if (!printing_) {
        d.thinned = drawn.size() < points.size();
        if (d.thinned)
            thinnedFor_ = chart_->plotArea().width();
    }
    if (!d.fit)
        d.data->setPointsVisible(points.size() <= MarkerLimit);
    if (d.fit)
        d.fit->replace(model_->fitPoints(series));
    d.syncedEnd = model_->endIndex(series);
    d.replace = false;
}

void ChartView::appendToSeries(int series)
{
    Drawn &d = drawn_[size_t(series)];
    const int end = model_->endIndex(series);
    // A thinned series, or one that grows past what the screen shows point for point, is thinned anew.
    if (end < d.syncedEnd || d.thinned
        || model_->writtenCount(series) > ScreenPoints::PointsPerColumn * std::max(640.0, chart_->plotArea().width())) {
        fillSeries(series);
        return;
    }
    d.data->append(model_->visiblePoints(series, d.syncedEnd));
    d.data->setPointsVisible(d.data->count() <= MarkerLimit);
    d.syncedEnd = end;
}

void ChartView::applyTexts()
{
    if (!model_)
        return;
    const QString title = model_->title().toHtmlEscaped();
    const QString subtitle = model_->subtitle().toHtmlEscaped();
    QString html = title.isEmpty() ? QString() : QStringLiteral("<b>%1</b>").arg(title);
    if (!subtitle.isEmpty())
        html += (html.isEmpty() ? QString() : QStringLiteral("<br>")) + subtitle;
    chart_->setTitle(html);
    if (xAxis_)
        xAxis_->setTitleText(model_->xLabel());
    for (int i = 0; i < int(yAxes_.size()); ++i)
        yAxes_[size_t(i)]->setTitleText(model_->yLabel(i));
    QString spoken = model_->title();
    if (!model_->subtitle().isEmpty())
        spoken += QStringLiteral(" - ") + model_->subtitle();
    setAccessibleName(spoken.isEmpty() ? tr("Chart") : spoken);
    view_->setAccessibleName(accessibleName());
}

void ChartView::applyRanges()
{
    if (!model_ || !xAxis_)
        return;
    // Every point of the model counts, also those a thinned series leaves out.
    Extent x;
    std::vector<Extent> y(yAxes_.size());
    for (int s = 0; s < int(drawn_.size()); ++s) {
        Extent &ye = y[size_t(model_->seriesYAxis(s))];
        auto add = [&](const QList<QPointF> &points) {
            for (const QPointF &p : points) {
                x.add(p.x());
                ye.add(p.y());
            }
        };
        add(model_->visiblePoints(s));
        if (drawn_[size_t(s)].fit)
            add(model_->fitPoints(s));
    }
    for (const QXYSeries *curve : curves_) {
        for (const QPointF &p : curve->points()) {
            x.add(p.x());
            y.front().add(p.y());
        }
    }
    applyRange(xAxis_, x, model_->xRange());
    for (int i = 0; i < int(yAxes_.size()); ++i)
        applyRange(yAxes_[size_t(i)], y[size_t(i)], model_->yRange(i));
}

bool ChartView::print(Prompts &prompts)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!prompts.printDialog(printer, tr("Print Chart")))
        return false;
    if (print(printer))
        return true;
    prompts.message(tr("The chart could not be printed: the printer could not be opened."), tr("Print Error"),
                    MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

bool ChartView::print(QPrinter &printer)
{
    refresh();
    // The page shows every point: the thinned series are drawn whole for it and thinned again after.
    printing_ = true;
    struct Restore {
        ChartView &view;
        ~Restore()
        {
            view.printing_ = false;
            for (int s = 0; s < int(view.drawn_.size()); ++s)
                if (view.drawn_[size_t(s)].thinned)
                    view.fillSeries(s);
        }
    } restore{*this};
    for (int s = 0; s < int(drawn_.size()); ++s)
        if (drawn_[size_t(s)].thinned)
            fillSeries(s);
    // A view that is not on screen has no size of its own to keep: lay the chart out at a page-like size.
    if (!view_->isVisible()) {
        const QSize shown = size();
        chart_->resize(shown.width() >= 640 && shown.height() >= 400 ? QSizeF(shown) : QSizeF(960, 600));
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF source(chart_->pos(), chart_->size());
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    QSizeF fitted = source.size();
    fitted.scale(page.size(), Qt::KeepAspectRatio);
    const QRectF target(QPointF((page.width() - fitted.width()) / 2.0, 0.0), fitted);
    chart_->scene()->render(&painter, target, source, Qt::KeepAspectRatio);
    painter.end();
    return true;
}

void ChartView::renderTo(QPainter &painter, const QRectF &target)
{
    refresh();
    // Laid out at the target's own size, so fonts and markers keep their size on the page.
    chart_->resize(target.size());
    const QRectF source(chart_->pos(), chart_->size());
    chart_->scene()->render(&painter, target, source, Qt::KeepAspectRatio);
}
