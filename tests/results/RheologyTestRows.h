#pragma once
// Result rows of Fann-style tests for the rheology tests: one step per (speed, dial) pair, a few readings
// per step (the last one is the step's reading), R1-B1 shear rates and the stress of each unit system.
#include "common/ProgramState.h"
#include "results/DerivedValues.h"
#include "results/ResultRow.h"
#include "results/RheologyModels.h"
#include <cstddef>

#include <vector>

namespace RheologyTestRows {

struct Step {
    double speed;
    double dial;
    double time = 60; // the last reading's time in the step (a gel rest is the standing step's time)
    double gel = 0;   // gel column of the last reading, display units
};

// The rows of one test: readingsPerStep rows a step, the earlier ones of a step at 90 % of its dial reading
// so a model that took anything but the last reading would show it.
inline ResultTable rows(const std::vector<Step> &steps, bool si = false, int readingsPerStep = 2)
{
    ResultTable out;
    int stepNo = 1;
    for (const Step &s : steps) {
        for (int i = 0; i < readingsPerStep; ++i) {
            const bool last = i == readingsPerStep - 1;
            const double dial = last ? s.dial : s.dial * 0.9;
            const double stored = dial * 5.11; // dyn/cm2, R1-B1
            ResultRow r;
            r[ResultRow::Step] = stepNo;
            r[ResultRow::Time] = last ? s.time : s.time / 2;
            r[ResultRow::Temperature] = si ? 48.9 : 120;
            r[ResultRow::ShearRate] = s.speed * 1.7023;
            r[ResultRow::Speed] = s.speed;
            r[ResultRow::ShearStress] = si ? stored : stored / 4.788;
            r[ResultRow::Viscosity] = stored / ((s.speed + 0.000001) * 1.7023) * 100;
            r[ResultRow::Gel] = last ? s.gel : 0;
            r[ResultRow::RotorBob] = 1;
            r[ResultRow::Fann] = dial;
            out.push_back(r);
        }
        ++stepNo;
    }
    return out;
}

inline RheologyModels models(const std::vector<Step> &steps, bool si = false)
{
    const ResultTable r = rows(steps, si);
    return RheologyModels::compute(r, DerivedValues::fromResults(r, si ? UnitsSI : UnitsEI));
}

// The flow curve of a typical water-based mud (600/300/200/100/6/3 rpm: 60, 40, 32, 23, 8, 7).
inline std::vector<Step> waterBasedMud()
{
    return {{600, 60}, {300, 40}, {200, 32}, {100, 23}, {6, 8}, {3, 7}};
}

} // namespace RheologyTestRows
