#pragma once
// The rheology models a mud engineer's hydraulics use, from a test's flow curve: Bingham plastic (PV, YP
// and the apparent viscosity), the power law for pipe and annulus and the Herschel-Bulkley model as API RP
// 13D computes them from Fann 35 dial readings, and a least-squares Herschel-Bulkley fit over every speed
// of the flow curve.
//
// The inputs are the readings the derived values use: the last reading of each step, taken as the Fann 35
// dial reading θ at that step's speed. Stresses and yield values are kept here in dial units, which API RP
// 13D reads as lb/100ft2; RheologyTable turns them into the unit system shown. A value the readings do not
// give (a speed missing, a logarithm of zero or less) is left unset: it is shown as "N/A", never guessed.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

#include <optional>
#include <vector>

struct DerivedValues;

// The last reading of one step of the flow curve.
struct FlowReading {
    int step = 0;
    int row = 0;          // result-row index of the reading
    double speed = 0;     // rpm
    double shearRate = 0; // 1/s, as the results show it
    double dial = 0;      // Fann 35 dial equivalent, degrees
    double stress = 0;    // shear stress in the unit system of the rows
};

// The steps of one flow curve: a run of consecutive steps whose rotor turns and whose speed keeps falling
// (or keeps rising) from step to step. It is the run that holds the test's first PV/YP pair, or, in a test
// without one, its longest run (the first of equally long ones). Gel measurements (a stir at 600 rpm, a
// rest, a 3 rpm reading) fall outside it, so their 3 rpm peaks are not taken for flow readings.
struct FlowCurve {
    std::vector<FlowReading> readings; // in step order

    // The dial reading at a standard speed (600, 300, 200, 100, 6 or 3 rpm): the reading of the flow
    // curve whose speed is within 10 rpm of it (100 rpm and up) or 0.5 rpm (6 and 3 rpm).
    std::optional<double> dialAt(int rpm) const;
    const FlowReading *readingAt(int rpm) const;

    static FlowCurve of(const ResultTable &rows, const DerivedValues &derived);
};

namespace Rheology {

// dyn/cm2 per Fann 35 dial degree.
constexpr double DynesPerDial = 5.11;

// τ = K γ^n. K in dyn·s^n/cm2.
struct PowerLaw {
    std::optional<double> n;
    std::optional<double> K;
};

// τ = τy + K γ^n. τy in dial units (lb/100ft2), K in dial units · s^n (lb·s^n/100ft2).
struct HerschelBulkley {
    std::optional<double> tauY;
    std::optional<double> n;
    std::optional<double> K;
};

// A least-squares Herschel-Bulkley fit: the model, how well it fits (R² and the root-mean-square residual
// in dial units) and how many readings it was fitted to.
struct HerschelBulkleyFit : HerschelBulkley {
    std::optional<double> r2;
    std::optional<double> rms;
    int points = 0;
};

// Pipe: n = 3.32 log10(θ600/θ300), K = 5.11 θ600 / 1022^n.
PowerLaw powerLawPipe(std::optional<double> theta600, std::optional<double> theta300);
// Annulus: n = 0.657 log10(θ100/θ3), K = 5.11 θ100 / 170.2^n.
PowerLaw powerLawAnnulus(std::optional<double> theta100, std::optional<double> theta3);
// API RP 13D: τy = 2θ3 − θ6 (the low-shear yield point), n = 3.32 log10((θ600 − τy)/(θ300 − τy)),
// K = (θ300 − τy)/511^n. n and K need θ600 − τy and θ300 − τy above zero.
HerschelBulkley apiHerschelBulkley(std::optional<double> theta600, std::optional<double> theta300,
                                   std::optional<double> theta6, std::optional<double> theta3);

struct RateStress {
    double rate;   // 1/s
    double stress; // dial units
};
// Least squares over the readings with τy held within 0 ≤ τy ≤ the smallest stress: for each n the best
// τy and K follow in closed form (a τy outside the bounds is moved to the nearer bound, which is exact as
// the error is a convex quadratic in τy), and n is searched on a grid and refined by golden section.
// Needs at least three readings at distinct shear rates above zero and a K above zero (stress rising with
// shear rate); otherwise the result is unset apart from `points`.
HerschelBulkleyFit fitHerschelBulkley(const std::vector<RateStress> &readings);

} // namespace Rheology

struct RheologyModels {
    FlowCurve flowCurve;

    // Bingham plastic: PV and YP of the test's first PV/YP pair as the derived values give them (PV in cP,
    // YP in dial units), AV = θ600 / 2 in cP.
    std::optional<double> pv;
    std::optional<double> yp;
    std::optional<double> av;
    // Gel strengths of the first gel group, dial units.
    std::optional<double> gel10s;
    std::optional<double> gel10m;
    std::optional<double> gel30m;

    Rheology::PowerLaw pipe;
    Rheology::PowerLaw annulus;
    Rheology::HerschelBulkley api;
    Rheology::HerschelBulkleyFit fit;

    // rows: a test's result rows; derived: what DerivedValues::fromResults made of them.
    static RheologyModels compute(const ResultTable &rows, const DerivedValues &derived);
};
