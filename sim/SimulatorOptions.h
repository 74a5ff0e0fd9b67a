#pragma once
// Everything that shapes the simulated instrument: the fluid, the heater, the noise, the time scale, the
// stand-alone memory, the custom rotor-bob report and the failure modes.
#include "sim/FailureModes.h"
#include "sim/FluidModel.h"

#include <optional>

struct SimulatorOptions {
    FluidModel::Parameters fluid;

    // Simulated seconds per real second: 20 streams twenty readings a second.
    double rate = 1.0;

    // The sample starts at ambientF and approaches each step's target with this time constant (seconds).
    double ambientF = 77.0;
    double heaterTimeConstant = 60.0;

    // Standard deviation of the normal noise added to each shear stress (dyn/cm2), and its seed.
    double noise = 0.0;
    quint64 seed = 1;

    // When set, the instrument answers the upload request (byte 8) with this shear-rate factor (1/s per
    // rpm) as four digits of factor x 1000 followed by byte 2, and shears with it instead of the table.
    std::optional<double> customRateFactor;

    // Stand-alone memory: a reading is kept every storeInterval seconds of a step and at each step's end,
    // up to memoryCapacity readings per run.
    int storeInterval = 30;
    int memoryCapacity = 101;

    FailureModes failures;

    // Empty when usable, otherwise what is wrong.
    QString validate() const;
};
