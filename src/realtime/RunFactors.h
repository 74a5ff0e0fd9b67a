#pragma once
// The rotor-bob factors a run computes with. Taken from the shared state when a run starts and kept for
// the whole run, so that naming the next test while one is running (which resets the custom choice)
// cannot change how the running test's readings are stored.
#include "common/ProgramState.h"

struct RunFactors {
    double rateFactor = 1.0;         // shear-rate multiplier of the selected rotor-bob (table value)
    bool customRB = false;           // custom factors replace the table
    double customStressFactor = 0.0; // multiplies stress and gel
    double customRateFactor = 0.0;   // shear rate in 1/s per rpm

    static RunFactors fromState(const ProgramState &state)
    {
        return {static_cast<double>(state.RateFactor), state.CustomRB, state.CustomStressFactor,
                state.CustomRateFactor};
    }
};
