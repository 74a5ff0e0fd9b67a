#pragma once
// The four values the direct-logging chart plots for one reading, and the viscosity its data file records,
// all as 32-bit floats like the chart store keeps them. Unlike the real-time screen, the viscosity is
// plotted as computed (no readout text in between), so a standing rotor plots the large value the formula
// gives rather than 0.
#include "realtime/RunFactors.h"

struct RealTimeReading;

struct DirectLogValues {
    float stress = 0;      // "Shear Stress", dyn/cm2
    float viscosity = 0;   // "Viscosity", cP
    float temperature = 0; // "Temperature", degF
    float dial = 0;        // "Dial Reading", F4 / 5.11, never scaled by a custom factor

    static DirectLogValues from(const RealTimeReading &reading, const RunFactors &factors);
};
