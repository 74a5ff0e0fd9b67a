#include "realtime/LiveChart.h"

#include "platform/ChartModel.h"
#include "realtime/RealTimeReadouts.h"

LiveChart::LiveChart(ChartModel &model) : model_(model) {}

LiveChart::LiveChart(ChartModel &model, int chartPoints, double xWindow)
    : model_(model), chartPoints_(chartPoints), xWindow_(xWindow)
{}

void LiveChart::build(const QDateTime &now)
{
    model_.reset();
    model_.setTitle(QStringLiteral("Shear Stress ,Viscosity & Temperature Vs. Time"));
    model_.setSubtitle(QString());
    model_.setSize(Series, chartPoints_);
    model_.setXKind(AxisKind::DateTime);
    model_.setXLabel(QStringLiteral("Time (S)"));

    struct SeriesLook {
        const char *label;
        ChartColor color;
        int axis;
    };
    const SeriesLook looks[Series] = {
        {"Shear Stress", {0, 0, 255}, StressAxis},
        {"Viscosity", {0, 255, 0}, ViscosityAxis},
        {"Temperature", {255, 0, 0}, TemperatureAxis},
        {"Dial Reading", {128, 128, 0}, DialAxis},
    };
    model_.setYAxisCount(4);
    for (int s = 0; s < Series; ++s) {
        model_.setSeriesLabel(s, QString::fromLatin1(looks[s].label));
        model_.setSeriesColor(s, looks[s].color);
        model_.setSeriesYAxis(s, looks[s].axis);
        model_.setYAxisColor(looks[s].color, looks[s].axis);
    }
    model_.setYLabel(QStringLiteral("Shear Stress (dyn/cm2)"), StressAxis);
    model_.setYAxisSide(AxisSide::Left, StressAxis);
    model_.setYRange({0.0, std::nullopt}, StressAxis);
    model_.setYLabel(QStringLiteral("Viscosity (Cp)"), ViscosityAxis);
    model_.setYAxisSide(AxisSide::Right, ViscosityAxis);
    model_.setYRange({0.0, std::nullopt}, ViscosityAxis);
    model_.setYLabel(QStringLiteral("Temperature (°F)"), TemperatureAxis);
    model_.setYAxisSide(AxisSide::Left, TemperatureAxis);
    model_.setYRange({10.0, 230.0}, TemperatureAxis);
    model_.setYLabel(QStringLiteral("Dial Reading (degree)"), DialAxis);
    model_.setYAxisSide(AxisSide::Right, DialAxis);
    model_.setYRange({}, DialAxis);

    // Slot 0 stays empty: a zero x (1970) in it would stretch "Show All" over half a century.
    pointIndex_ = 1;
    newest_ = 0;
    view_ = View::Window;
    startAt(now);
}

void LiveChart::startAt(const QDateTime &start)
{
    startTime_ = ChartModel::chartTime(start);
    xAxisMin_ = startTime_;
    xAxisMax_ = startTime_ + xWindow_;
    applyXRange();
}

void LiveChart::addReading(const QDateTime &now, const RealTimeReadouts &r)
{
    addPoint(now, r.chartStress, r.chartViscosity, r.chartTemperature, r.chartDial);
}

void LiveChart::addPoint(const QDateTime &now, double stress, double viscosity, double temperature, double dial)
{
    if (pointIndex_ >= chartPoints_ - 1) {
        model_.shiftLeft(ShiftPoints);
        pointIndex_ -= ShiftPoints;
    }
    const double x = ChartModel::chartTime(now);
    model_.setPoint(0, pointIndex_, x, stress);
    model_.setPoint(1, pointIndex_, x, viscosity);
    model_.setPoint(2, pointIndex_, x, temperature);
    model_.setPoint(3, pointIndex_, x, dial);
    ++pointIndex_;
    newest_ = x;

    if (x > xAxisMax_) {
        xAxisMax_ += XScrollStep;
        xAxisMin_ = xAxisMax_ - xWindow_;
        applyXRange();
    } else if (view_ == View::LastMinutes) {
        applyXRange();
    }
}

void LiveChart::showAll()
{
    view_ = View::All;
    applyXRange();
}

void LiveChart::showLastMinutes()
{
    view_ = View::LastMinutes;
    applyXRange();
}

void LiveChart::applyXRange()
{
    switch (view_) {
    case View::Window: model_.setXRange({xAxisMin_, xAxisMax_}); break;
    case View::All: model_.setXRange({}); break;
    case View::LastMinutes: {
        // Before the first reading the window starts at the run's start.
        const double end = newest_ > 0 ? newest_ : startTime_ + LastMinutesWindow;
        model_.setXRange({end - LastMinutesWindow, end});
        break;
    }
    }
}
