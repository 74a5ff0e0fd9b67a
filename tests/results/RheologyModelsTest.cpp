#include "results/RheologyModels.h"
#include "tests/results/RheologyTestRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

using RheologyTestRows::Step;

namespace {

// Expected values were worked out by hand from the API RP 13D formulas:
//   pipe     n = 3.32 log10(θ600/θ300)           K = 5.11 θ600 / 1022^n
//   annulus  n = 0.657 log10(θ100/θ3)            K = 5.11 θ100 / 170.2^n
//   HB       τy = 2θ3 − θ6, n = 3.32 log10((θ600−τy)/(θ300−τy)), K = (θ300−τy) / 511^n
// e.g. the water-based mud: n = 3.32 × log10(1.5) = 3.32 × 0.1760913 = 0.5846230,
// 1022^0.584623 = e^(0.584623 × 6.929517) = 57.4647, K = 306.6 / 57.4647 = 5.33554.
struct ApiCase {
    const char *label;
    std::vector<Step> steps;
    std::optional<double> pv, yp, av;
    std::optional<double> pipeN, pipeK, annulusN, annulusK, tauY, hbN, hbK;
};

void expectNear(const char *what, const std::optional<double> &actual, const std::optional<double> &expected)
{
    SCOPED_TRACE(what);
    ASSERT_EQ(actual.has_value(), expected.has_value()) << (expected ? "expected a value" : "expected N/A");
    if (expected) {
        EXPECT_NEAR(*actual, *expected, 1e-6 * std::max(1.0, std::fabs(*expected)));
    }
}

} // namespace

TEST(RheologyModels, ApiModelsOfHandCalculatedFlowCurves)
{
    const std::vector<ApiCase> cases = {
        {"water-based mud 60/40/32/23/8/7", RheologyTestRows::waterBasedMud(), 20, 20, 30, 0.5846229801, 5.3355353234,
         0.3394257760, 20.5543410239, 6, 0.6670372780, 0.5307148160},
        {"oil-based mud 85/50/38/25/9/8",
         {{600, 85}, {300, 50}, {200, 38}, {100, 25}, {6, 9}, {3, 8}},
         35,
         15,
         42.5,
         0.7650904190,
         2.1644012650,
         0.3251164642,
         24.0457997570,
         7,
         0.8586388084,
         0.2031950674},
        // A Newtonian oil: τy = 2 × 0.3 − 0.6 = 0; the 3.32 of the standard makes n = 0.99942, not 1.
        {"Newtonian oil 60/30/20/10/0.6/0.3",
         {{600, 60}, {300, 30}, {200, 20}, {100, 10}, {6, 0.6}, {3, 0.3}},
         30,
         0,
         30,
         0.9994195856,
         0.3012090271,
         1.0005313356,
         0.2994166562,
         0,
         0.9994195856,
         0.0589213055},
        // θ3 above θ6 (a gelling mud): τy = 2 × 6 − 5 = 7, larger than either reading, as the formula gives it.
        {"theta3 above theta6",
         {{600, 60}, {300, 40}, {200, 32}, {100, 23}, {6, 5}, {3, 6}},
         20,
         20,
         30,
         0.5846229801,
         5.3355353234,
         0.3834098168,
         16.3974736499,
         7,
         0.6831296067,
         0.4659200883},
        // Without 3 rpm: no annulus power law and no τy, so no API Herschel-Bulkley at all.
        {"missing 3 rpm",
         {{600, 60}, {300, 40}, {200, 32}, {100, 23}, {6, 8}},
         20,
         20,
         30,
         0.5846229801,
         5.3355353234,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         std::nullopt},
        // Without 600 rpm: PV = 1.5 (θ300 − θ100) = 25.5, YP = 14.5; no AV, no pipe law, HB keeps only τy.
        {"missing 600 rpm",
         {{300, 40}, {200, 32}, {100, 23}, {6, 8}, {3, 7}},
         25.5,
         14.5,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         0.3394257760,
         20.5543410239,
         6,
         std::nullopt,
         std::nullopt},
        // θ3 = 0: log10(θ100/0) is undefined; τy = −8 is what the formula gives, and HB n and K follow from it:
        // n = 3.32 log10(68/48) = 0.502214, K = 48 / 511^0.502214.
        {"zero 3 rpm reading",
         {{600, 60}, {300, 40}, {200, 32}, {100, 23}, {6, 8}, {3, 0}},
         20,
         20,
         30,
         0.5846229801,
         5.3355353234,
         std::nullopt,
         std::nullopt,
         -8,
         3.32 * std::log10(68.0 / 48.0),
         48.0 / std::pow(511.0, 3.32 * std::log10(68.0 / 48.0))},
        // τy = 2 × 25 − 8 = 42 lies above θ300 = 40: log10 of a negative number, so HB n and K are N/A.
        {"yield point above the 300 rpm reading",
         {{600, 60}, {300, 40}, {200, 32}, {100, 30}, {6, 8}, {3, 25}},
         20,
         20,
         30,
         0.5846229801,
         5.3355353234,
         0.657 * std::log10(30.0 / 25.0),
         5.11 * 30 / std::pow(170.2, 0.657 * std::log10(30.0 / 25.0)),
         42,
         std::nullopt,
         std::nullopt},
    };
    for (const ApiCase &c : cases) {
        SCOPED_TRACE(c.label);
        const RheologyModels m = RheologyTestRows::models(c.steps);
        expectNear("PV", m.pv, c.pv);
        expectNear("YP", m.yp, c.yp);
        expectNear("AV", m.av, c.av);
        expectNear("pipe n", m.pipe.n, c.pipeN);
        expectNear("pipe K", m.pipe.K, c.pipeK);
        expectNear("annulus n", m.annulus.n, c.annulusN);
        expectNear("annulus K", m.annulus.K, c.annulusK);
        expectNear("HB tau y", m.api.tauY, c.tauY);
        expectNear("HB n", m.api.n, c.hbN);
        expectNear("HB K", m.api.K, c.hbK);
    }
}

TEST(RheologyModels, FormulasLeaveUndefinedLogarithmsUnset)
{
    // Zero and negative readings under a logarithm, and missing readings.
    EXPECT_FALSE(Rheology::powerLawPipe(60.0, 0.0).n);
    EXPECT_FALSE(Rheology::powerLawPipe(0.0, 40.0).K);
    EXPECT_FALSE(Rheology::powerLawPipe(-1.0, 40.0).n);
    EXPECT_FALSE(Rheology::powerLawPipe(std::nullopt, 40.0).n);
    EXPECT_FALSE(Rheology::powerLawAnnulus(23.0, 0.0).n);
    EXPECT_FALSE(Rheology::powerLawAnnulus(23.0, std::nullopt).K);
    const auto atBound = Rheology::apiHerschelBulkley(60.0, 40.0, 10.0, 25.0); // τy = 40 = θ300
    EXPECT_EQ(atBound.tauY, 40.0);
    EXPECT_FALSE(atBound.n);
    EXPECT_FALSE(atBound.K);
    // Equal readings are defined: n = 0 and K = 5.11 θ600.
    const auto flat = Rheology::powerLawPipe(50.0, 50.0);
    ASSERT_TRUE(flat.n && flat.K);
    EXPECT_DOUBLE_EQ(*flat.n, 0.0);
    EXPECT_DOUBLE_EQ(*flat.K, 5.11 * 50);
}

TEST(RheologyModels, FlowCurveIsTheRunHoldingTheFirstPvYpPair)
{
    struct Case {
        const char *label;
        std::vector<Step> steps;
        std::vector<int> flowSteps;
        std::optional<double> theta3;
    };
    const std::vector<Case> cases = {
        // The "API Standard" sequence: flow curve, then stir / 10 s rest / 3 rpm and stir / 10 min rest /
        // 3 rpm. The gel peaks at 3 rpm (12 and 18) are not flow readings.
        {"flow curve then gels",
         {{600, 60},
          {300, 40},
          {200, 32},
          {100, 23},
          {6, 8},
          {3, 7},
          {600, 61},
          {0, 0, 10},
          {3, 12},
          {600, 61},
          {0, 0, 600},
          {3, 18}},
         {1, 2, 3, 4, 5, 6},
         7},
        // A stir at 600 rpm before a rising curve: the rising run (steps 2 to 7) holds the pair.
        {"stir then rising curve",
         {{600, 62}, {3, 7}, {6, 8}, {100, 23}, {200, 32}, {300, 40}, {600, 60}},
         {2, 3, 4, 5, 6, 7},
         7},
        // No pair (no 600 or 300 rpm): the longest run.
        {"low speeds only", {{100, 23}, {0, 0}, {200, 32}, {100, 23}, {6, 8}, {3, 7}}, {3, 4, 5, 6}, 7},
        // Two flow curves (two temperatures): the first one.
        {"two flow curves",
         {{600, 60}, {300, 40}, {100, 23}, {3, 7}, {0, 0}, {600, 50}, {300, 33}, {100, 19}, {3, 5}},
         {1, 2, 3, 4},
         7},
        {"standing rotor only", {{0, 0}, {0, 0}}, {}, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const RheologyModels m = RheologyTestRows::models(c.steps);
        std::vector<int> steps;
        for (const FlowReading &r : m.flowCurve.readings)
            steps.push_back(r.step);
        EXPECT_EQ(steps, c.flowSteps);
        EXPECT_EQ(m.flowCurve.dialAt(3), c.theta3);
    }
}

TEST(RheologyModels, FlowReadingsAreEachStepsLastReading)
{
    const ResultTable rows = RheologyTestRows::rows(RheologyTestRows::waterBasedMud(), false, 3);
    const RheologyModels m = RheologyModels::compute(rows, DerivedValues::fromResults(rows, UnitsEI));
    ASSERT_EQ(m.flowCurve.readings.size(), 6u);
    const FlowReading &r300 = m.flowCurve.readings[1];
    EXPECT_EQ(r300.row, 5); // three rows a step: the 300 rpm step's last row is row 5
    EXPECT_DOUBLE_EQ(r300.dial, 40);
    EXPECT_DOUBLE_EQ(r300.speed, 300);
    EXPECT_DOUBLE_EQ(r300.shearRate, 300 * 1.7023);
    EXPECT_DOUBLE_EQ(r300.stress, 40 * 5.11 / 4.788);
}

TEST(RheologyModels, BinghamAndGelsComeFromTheDerivedValues)
{
    // API Standard with a 10-second and a 10-minute gel; EI gels are stored as dial × 5.11 / 4.788.
    const double toEI = 5.11 / 4.788;
    const RheologyModels m = RheologyTestRows::models({{600, 60},
                                                       {300, 40},
                                                       {200, 32},
                                                       {100, 23},
                                                       {6, 8},
                                                       {3, 7},
                                                       {600, 61},
                                                       {0, 0, 10},
                                                       {3, 12, 60, 12 * toEI},
                                                       {600, 61},
                                                       {0, 0, 600},
                                                       {3, 18, 60, 18 * toEI}});
    EXPECT_EQ(m.pv, 20.0);
    EXPECT_EQ(m.yp, 20.0);
    ASSERT_TRUE(m.gel10s && m.gel10m);
    EXPECT_NEAR(*m.gel10s, 12, 1e-5);
    EXPECT_NEAR(*m.gel10m, 18, 1e-5);
    EXPECT_FALSE(m.gel30m);
}

// ---- the least-squares Herschel-Bulkley fit

namespace {

const double kFannRates[] = {5.1069, 10.2138, 170.23, 340.46, 510.69, 1021.38};

std::vector<Rheology::RateStress> generated(double tauY, double K, double n, const std::vector<double> &noise = {})
{
    std::vector<Rheology::RateStress> out;
    for (size_t i = 0; i < std::size(kFannRates); ++i) {
        const double rate = kFannRates[i];
        const double stress = tauY + K * std::pow(rate, n);
        out.push_back({rate, stress * (1.0 + (i < noise.size() ? noise[i] : 0.0))});
    }
    return out;
}

} // namespace

TEST(RheologyFit, RecoversTheParametersOfGeneratedData)
{
    struct Case {
        const char *label;
        double tauY, K, n;
    };
    const Case cases[] = {
        {"yield power law", 5, 0.3, 0.7},   {"power law without yield", 0, 2.0, 0.5},
        {"Bingham plastic", 10, 0.05, 1.0}, {"shear thickening", 3, 0.01, 1.3},
        {"strongly thinning", 8, 6.0, 0.2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const auto fit = Rheology::fitHerschelBulkley(generated(c.tauY, c.K, c.n));
        ASSERT_TRUE(fit.tauY && fit.n && fit.K && fit.r2 && fit.rms);
        EXPECT_NEAR(*fit.tauY, c.tauY, 1e-4 * std::max(1.0, c.tauY));
        EXPECT_NEAR(*fit.n, c.n, 1e-5);
        EXPECT_NEAR(*fit.K, c.K, 1e-4 * c.K);
        EXPECT_NEAR(*fit.r2, 1.0, 1e-9);
        EXPECT_LT(*fit.rms, 1e-5);
        EXPECT_EQ(fit.points, 6);
    }
}

TEST(RheologyFit, NoisyReadingsGiveCloseParametersAndTellTheirScatter)
{
    const auto fit = Rheology::fitHerschelBulkley(generated(5, 0.3, 0.7, {0.02, -0.015, 0.01, -0.01, 0.005, -0.005}));
    ASSERT_TRUE(fit.tauY && fit.n && fit.K && fit.r2 && fit.rms);
    EXPECT_NEAR(*fit.tauY, 5, 0.5);
    EXPECT_NEAR(*fit.n, 0.7, 0.05);
    EXPECT_LT(*fit.r2, 1.0);
    EXPECT_GT(*fit.r2, 0.99);
    EXPECT_GT(*fit.rms, 0.01);
    // R² and the RMS residual as their definitions give them for the fitted curve.
    const auto data = generated(5, 0.3, 0.7, {0.02, -0.015, 0.01, -0.01, 0.005, -0.005});
    double mean = 0;
    for (const auto &p : data)
        mean += p.stress / double(data.size());
    double sse = 0;
    double sst = 0;
    for (const auto &p : data) {
        const double r = p.stress - (*fit.tauY + *fit.K * std::pow(p.rate, *fit.n));
        sse += r * r;
        sst += (p.stress - mean) * (p.stress - mean);
    }
    EXPECT_NEAR(*fit.r2, 1 - sse / sst, 1e-12);
    EXPECT_NEAR(*fit.rms, std::sqrt(sse / double(data.size())), 1e-12);
}

TEST(RheologyFit, YieldStressStaysBetweenZeroAndTheSmallestStress)
{
    // A power law lowered by 3: the unconstrained intercept would be −3, the fit holds τy at 0.
    auto lowered = generated(0, 0.8, 0.6);
    for (auto &p : lowered)
        p.stress -= 3;
    const auto atZero = Rheology::fitHerschelBulkley(lowered);
    ASSERT_TRUE(atZero.tauY && atZero.K);
    EXPECT_EQ(*atZero.tauY, 0.0);
    EXPECT_GT(*atZero.K, 0.0);

    // A 6 rpm reading below the 3 rpm one (θ3 > θ6): left free, τy would be 9.46, above the smallest stress
    // of 7; the fit holds it there.
    const std::vector<Rheology::RateStress> dip = {{5.1069, 14}, {10.2138, 7}, {170.23, 17},
                                                   {340.46, 22}, {510.69, 26}, {1021.38, 33}};
    const auto capped = Rheology::fitHerschelBulkley(dip);
    ASSERT_TRUE(capped.tauY && capped.n && capped.K && capped.r2);
    EXPECT_DOUBLE_EQ(*capped.tauY, 7.0);
    EXPECT_NEAR(*capped.n, 0.4796, 2e-3);
    EXPECT_LT(*capped.r2, 1.0);
}

TEST(RheologyFit, TooFewReadingsGiveNoFitAndFallingOnesAPoorOne)
{
    const auto two = Rheology::fitHerschelBulkley({{511, 40}, {1022, 60}});
    EXPECT_FALSE(two.tauY || two.n || two.K || two.r2 || two.rms);
    EXPECT_EQ(two.points, 2);
    // Three readings but two at the same rate, and a standing rotor that is left out.
    const auto sameRate = Rheology::fitHerschelBulkley({{511, 40}, {511, 41}, {1022, 60}, {0, 5}});
    EXPECT_FALSE(sameRate.n);
    EXPECT_EQ(sameRate.points, 3);
    // Stresses that fall with the shear rate: the best rising curve is nearly flat, and R² says how
    // little of the readings it explains.
    const auto falling = Rheology::fitHerschelBulkley({{170, 30}, {511, 20}, {1022, 10}});
    ASSERT_TRUE(falling.r2);
    EXPECT_LT(*falling.r2, 0.5);
}

TEST(RheologyFit, NewtonianOilFitsWithFlowIndexOneAndNoYield)
{
    const RheologyModels m = RheologyTestRows::models({{600, 60}, {300, 30}, {200, 20}, {100, 10}, {6, 0.6}, {3, 0.3}});
    ASSERT_TRUE(m.fit.tauY && m.fit.n && m.fit.K && m.fit.r2);
    EXPECT_NEAR(*m.fit.n, 1.0, 1e-6);
    EXPECT_NEAR(*m.fit.tauY, 0.0, 1e-6);
    EXPECT_NEAR(*m.fit.K, 60 / (600 * 1.7023), 1e-8); // dial degrees per 1/s
    EXPECT_NEAR(*m.fit.r2, 1.0, 1e-12);
    EXPECT_EQ(m.fit.points, 6);
}
