#include "results/RheologyModels.h"

#include "results/DerivedValues.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool rotating(double speed)
{
    return speed > 0.1;
}

// A maximal run of consecutive rotating steps whose speeds keep moving one way; neighbouring runs share
// the step where the direction turns.
struct StepRun {
    int first = 0;
    int last = 0;
    int length() const { return last - first + 1; }
    bool contains(int step) const { return step >= first && step <= last; }
};

std::vector<StepRun> stepRuns(const DerivedValues &d)
{
    std::vector<StepRun> runs;
    const auto speed = [&](int s) { return s < int(d.LastSpeed.size()) ? d.LastSpeed[size_t(s)] : 0.0; };
    int s = 1;
    while (s <= d.LastStep) {
        if (!rotating(speed(s))) {
            ++s;
            continue;
        }
        StepRun run{s, s};
        int direction = 0; // -1 falling, +1 rising
        while (run.last < d.LastStep && rotating(speed(run.last + 1))) {
            const double here = speed(run.last);
            const double next = speed(run.last + 1);
            const int step = next < here ? -1 : (next > here ? 1 : 0);
            if (step == 0 || (direction != 0 && step != direction))
                break;
            direction = step;
            ++run.last;
        }
        runs.push_back(run);
        // Where the direction turns, the turning step also starts the next run.
        const bool turns = run.last < d.LastStep && rotating(speed(run.last + 1))
            && speed(run.last + 1) != speed(run.last) && run.last > run.first;
        s = turns ? run.last : run.last + 1;
    }
    return runs;
}

bool nearSpeed(double speed, int rpm)
{
    return std::fabs(speed - rpm) < (rpm >= 100 ? 10.0 : 0.5);
}

std::optional<double> positiveLog10(double value)
{
    if (!(value > 0.0) || !std::isfinite(value))
        return std::nullopt;
    return std::log10(value);
}

} // namespace

// ---- flow curve

const FlowReading *FlowCurve::readingAt(int rpm) const
{
    for (const FlowReading &r : readings)
        if (nearSpeed(r.speed, rpm))
            return &r;
    return nullptr;
}

std::optional<double> FlowCurve::dialAt(int rpm) const
{
    if (const FlowReading *r = readingAt(rpm))
        return r->dial;
    return std::nullopt;
}

FlowCurve FlowCurve::of(const ResultTable &rows, const DerivedValues &d)
{
    FlowCurve curve;
    const std::vector<StepRun> runs = stepRuns(d);
    if (runs.empty())
        return curve;
    const StepRun *chosen = nullptr;
    if (d.pairCount >= 1) {
        const int high = d.PairHighStep[1];
        const int low = d.PairLowStep[1];
        for (const StepRun &run : runs)
            if (run.contains(high) && run.contains(low)) {
                chosen = &run;
                break;
            }
    }
    if (!chosen) {
        chosen = &runs.front();
        for (const StepRun &run : runs)
            if (run.length() > chosen->length())
                chosen = &run;
    }
    for (int s = chosen->first; s <= chosen->last; ++s) {
        const int row = d.LastRow[size_t(s)];
        if (row < 0 || row >= int(rows.size()))
            continue;
        const ResultRow &r = rows[size_t(row)];
        curve.readings.push_back({s, row, d.LastSpeed[size_t(s)], r[ResultRow::ShearRate], d.LastDial[size_t(s)],
                                  r[ResultRow::ShearStress]});
    }
    return curve;
}

// ---- the API RP 13D models

namespace Rheology {

PowerLaw powerLawPipe(std::optional<double> theta600, std::optional<double> theta300)
{
    PowerLaw p;
    if (!theta600 || !theta300)
        return p;
    const auto l600 = positiveLog10(*theta600);
    const auto l300 = positiveLog10(*theta300);
    if (!l600 || !l300)
        return p;
    p.n = 3.32 * (*l600 - *l300);
    p.K = DynesPerDial * *theta600 / std::pow(1022.0, *p.n);
    return p;
}

PowerLaw powerLawAnnulus(std::optional<double> theta100, std::optional<double> theta3)
{
    PowerLaw p;
    if (!theta100 || !theta3)
        return p;
    const auto l100 = positiveLog10(*theta100);
    const auto l3 = positiveLog10(*theta3);
    if (!l100 || !l3)
        return p;
    p.n = 0.657 * (*l100 - *l3);
    p.K = DynesPerDial * *theta100 / std::pow(170.2, *p.n);
    return p;
}

HerschelBulkley apiHerschelBulkley(std::optional<double> theta600, std::optional<double> theta300,
                                   std::optional<double> theta6, std::optional<double> theta3)
{
    HerschelBulkley h;
    if (!theta6 || !theta3)
        return h;
    h.tauY = 2.0 * *theta3 - *theta6;
    if (!theta600 || !theta300)
        return h;
    const auto high = positiveLog10(*theta600 - *h.tauY);
    const auto low = positiveLog10(*theta300 - *h.tauY);
    if (!high || !low)
        return h;
    h.n = 3.32 * (*high - *low);
    h.K = (*theta300 - *h.tauY) / std::pow(511.0, *h.n);
    return h;
}

namespace {

// The best τy and K for one n, with τy within [0, tauMax]; the rates are scaled by the largest one so the
// powers stay near 1 whatever n is (K is scaled back by the caller).
struct LinearFit {
    double tauY = 0;
    double kScaled = 0;
    double sse = std::numeric_limits<double>::infinity();
};

LinearFit bestForExponent(const std::vector<double> &scaledRates, const std::vector<double> &stresses, double n,
                          double tauMax)
{
    const size_t count = stresses.size();
    std::vector<double> x(count);
    double xMean = 0;
    double tMean = 0;
    for (size_t i = 0; i < count; ++i) {
        x[i] = std::pow(scaledRates[i], n);
        xMean += x[i];
        tMean += stresses[i];
    }
    xMean /= double(count);
    tMean /= double(count);
    double sxx = 0;
    double sxt = 0;
    double xx = 0;
    for (size_t i = 0; i < count; ++i) {
        sxx += (x[i] - xMean) * (x[i] - xMean);
        sxt += (x[i] - xMean) * (stresses[i] - tMean);
        xx += x[i] * x[i];
    }
    LinearFit f;
    if (!(sxx > 0.0))
        return f;
    double k = sxt / sxx;
    double tau = tMean - k * xMean;
    if (tau < 0.0 || tau > tauMax) {
        tau = std::clamp(tau, 0.0, tauMax);
        double xt = 0;
        for (size_t i = 0; i < count; ++i)
            xt += x[i] * (stresses[i] - tau);
        k = xt / xx;
    }
    double sse = 0;
    for (size_t i = 0; i < count; ++i) {
        const double r = stresses[i] - tau - k * x[i];
        sse += r * r;
    }
    f.tauY = tau;
    f.kScaled = k;
    f.sse = sse;
    return f;
}

} // namespace

HerschelBulkleyFit fitHerschelBulkley(const std::vector<RateStress> &readings)
{
    HerschelBulkleyFit fit;
    std::vector<double> rates;
    std::vector<double> stresses;
    for (const RateStress &r : readings) {
        if (r.rate > 0.0 && std::isfinite(r.rate) && std::isfinite(r.stress)) {
            rates.push_back(r.rate);
            stresses.push_back(r.stress);
        }
    }
    fit.points = int(rates.size());
    std::vector<double> distinct = rates;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (distinct.size() < 3)
        return fit;

    const double rateMax = distinct.back();
    std::vector<double> scaled(rates.size());
    for (size_t i = 0; i < rates.size(); ++i)
        scaled[i] = rates[i] / rateMax;
    const double tauMax = std::max(0.0, *std::min_element(stresses.begin(), stresses.end()));
    auto at = [&](double n) { return bestForExponent(scaled, stresses, n, tauMax); };

    // A grid over the flow indices drilling fluids show (far thinning to thickening), then golden section
    // inside the grid cells on either side of the best grid point.
    constexpr double nLow = 0.01;
    constexpr double nHigh = 3.0;
    constexpr int gridPoints = 300;
    const double ratio = std::pow(nHigh / nLow, 1.0 / (gridPoints - 1));
    std::vector<double> grid(gridPoints);
    int best = 0;
    double bestSse = std::numeric_limits<double>::infinity();
    for (int i = 0; i < gridPoints; ++i) {
        grid[size_t(i)] = nLow * std::pow(ratio, i);
        const double sse = at(grid[size_t(i)]).sse;
        if (sse < bestSse) {
            bestSse = sse;
            best = i;
        }
    }
    if (!std::isfinite(bestSse))
        return fit;
    double a = grid[size_t(std::max(0, best - 1))];
    double b = grid[size_t(std::min(gridPoints - 1, best + 1))];
    const double golden = (std::sqrt(5.0) - 1.0) / 2.0;
    double c = b - golden * (b - a);
    double d = a + golden * (b - a);
    double fc = at(c).sse;
    double fd = at(d).sse;
    for (int i = 0; i < 200 && (b - a) > 1e-12 * std::max(1.0, b); ++i) {
        if (fc <= fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - golden * (b - a);
            fc = at(c).sse;
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + golden * (b - a);
            fd = at(d).sse;
        }
    }
    double n = (a + b) / 2.0;
    LinearFit f = at(n);
    if (grid[size_t(best)] != n && at(grid[size_t(best)]).sse < f.sse) {
        n = grid[size_t(best)];
        f = at(n);
    }
    if (!(f.kScaled > 0.0) || !std::isfinite(f.sse))
        return fit;

    double mean = 0;
    for (double t : stresses)
        mean += t;
    mean /= double(stresses.size());
    double sst = 0;
    for (double t : stresses)
        sst += (t - mean) * (t - mean);

    fit.tauY = f.tauY;
    fit.n = n;
    fit.K = f.kScaled / std::pow(rateMax, n);
    fit.rms = std::sqrt(f.sse / double(stresses.size()));
    if (sst > 0.0)
        fit.r2 = 1.0 - f.sse / sst;
    return fit;
}

} // namespace Rheology

// ---- everything for one test

RheologyModels RheologyModels::compute(const ResultTable &rows, const DerivedValues &derived)
{
    RheologyModels m;
    m.flowCurve = FlowCurve::of(rows, derived);
    const FlowCurve &c = m.flowCurve;

    if (derived.pairCount >= 1) {
        m.pv = derived.PV[1];
        m.yp = derived.YP[1];
    }
    if (const auto t600 = c.dialAt(600))
        m.av = *t600 / 2.0;
    auto gel = [](const std::vector<double> &table) -> std::optional<double> {
        if (table.size() > 1 && table[1] != 0.0)
            return table[1];
        return std::nullopt;
    };
    m.gel10s = gel(derived.Gel10s);
    m.gel10m = gel(derived.Gel10m);
    m.gel30m = gel(derived.Gel30m);

    m.pipe = Rheology::powerLawPipe(c.dialAt(600), c.dialAt(300));
    m.annulus = Rheology::powerLawAnnulus(c.dialAt(100), c.dialAt(3));
    m.api = Rheology::apiHerschelBulkley(c.dialAt(600), c.dialAt(300), c.dialAt(6), c.dialAt(3));

    std::vector<Rheology::RateStress> points;
    for (const FlowReading &r : c.readings)
        points.push_back({r.shearRate, r.dial});
    m.fit = Rheology::fitHerschelBulkley(points);
    return m;
}
