#include "results/RheologyCurves.h"

#include "results/ChartTypes.h"

#include <cmath>
#include <functional>

namespace {

bool plotsStress(int column)
{
    return column == ResultRow::ShearStress || column == ResultRow::Fann;
}

bool plotsRate(int column)
{
    return column == ResultRow::ShearRate || column == ResultRow::Speed;
}

double columnOf(const FlowReading &r, int column)
{
    switch (column) {
    case ResultRow::ShearRate: return r.shearRate;
    case ResultRow::Speed: return r.speed;
    case ResultRow::ShearStress: return r.stress;
    case ResultRow::Fann: return r.dial;
    default: return 0.0;
    }
}

} // namespace

namespace RheologyCurves {

bool appliesTo(int chartType)
{
    if (chartType < 0 || chartType >= ChartTypes::Count)
        return false;
    const ChartTypeInfo &info = ChartTypes::info(chartType);
    return plotsRate(info.xColumn) && plotsStress(info.yColumn);
}

QList<ChartCurve> forChart(const RheologyModels &m, int chartType, int samples)
{
    QList<ChartCurve> curves;
    if (!appliesTo(chartType) || samples < 2)
        return curves;
    const ChartTypeInfo &info = ChartTypes::info(chartType);

    double xPerRate = 0;
    double yPerDial = 0;
    double rateMin = 0;
    double rateMax = 0;
    for (const FlowReading &r : m.flowCurve.readings) {
        if (!(r.shearRate > 0.0))
            continue;
        rateMin = rateMin > 0.0 ? std::min(rateMin, r.shearRate) : r.shearRate;
        rateMax = std::max(rateMax, r.shearRate);
        if (xPerRate == 0.0)
            xPerRate = columnOf(r, info.xColumn) / r.shearRate;
        if (yPerDial == 0.0 && r.dial > 0.0)
            yPerDial = columnOf(r, info.yColumn) / r.dial;
    }
    if (!(rateMax > rateMin) || !(xPerRate > 0.0) || !(yPerDial > 0.0))
        return curves;

    auto curve = [&](const QString &label, ChartColor color, bool dashed, const std::function<double(double)> &dial) {
        ChartCurve c;
        c.label = label;
        c.color = color;
        c.dashed = dashed;
        for (int i = 0; i < samples; ++i) {
            // Geometric steps: as many samples in each decade, where the curves bend most at low rates.
            const double rate = rateMin * std::pow(rateMax / rateMin, double(i) / double(samples - 1));
            const double y = dial(rate) * yPerDial;
            if (std::isfinite(y))
                c.points.append(QPointF(rate * xPerRate, y));
        }
        curves.append(c);
    };
    const Rheology::HerschelBulkleyFit &fit = m.fit;
    if (fit.tauY && fit.n && fit.K) {
        curve(QStringLiteral("Herschel-Bulkley fit"), {200, 0, 0}, false,
              [&](double rate) { return *fit.tauY + *fit.K * std::pow(rate, *fit.n); });
    }
    auto powerLaw = [&](const QString &label, ChartColor color, const Rheology::PowerLaw &p) {
        if (p.n && p.K)
            curve(label, color, true,
                  [&](double rate) { return *p.K / Rheology::DynesPerDial * std::pow(rate, *p.n); });
    };
    powerLaw(QStringLiteral("Power law, pipe"), {0, 140, 0}, m.pipe);
    powerLaw(QStringLiteral("Power law, annulus"), {220, 130, 0}, m.annulus);
    return curves;
}

} // namespace RheologyCurves
