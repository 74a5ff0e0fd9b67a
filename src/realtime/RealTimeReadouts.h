#pragma once
// The texts of the readout panel for one reading (value labels 1 to 8; label 0, the test name, is set at
// Start) and the numbers the live chart plots for it. Always in the instrument's units: degF, rpm,
// dyn/cm2, dial degrees and cP, whatever unit system is chosen.
#include "realtime/RunFactors.h"

#include <QString>
#include <array>

struct RealTimeReading;

struct RealTimeReadouts {
    static constexpr int Count = 9;
    std::array<QString, Count> texts; // index 0 left empty here

    // Chart values of the reading.
    double chartStress = 0;      // series 0
    double chartViscosity = 0;   // series 1, read back from the viscosity text (what the operator sees)
    double chartTemperature = 0; // series 2
    double chartDial = 0;        // series 3, never scaled by a custom factor

    // 1.7023 1/s per rpm is the R1-B1 shear rate; 5.11 turns dyn/cm2 into Fann 35 dial degrees.
    static constexpr double R1B1RatePerRpm = 1.7023;
    static constexpr double DynPerDialDegree = 5.11;

    static RealTimeReadouts compute(const RealTimeReading &reading, const RunFactors &factors);

    // Viscosity in cP as the panel shows it: "0.0" for a standing rotor (F6 below 0.00001) or when the
    // factors give no finite value, otherwise formatted "##0.0#".
    static QString viscosityText(const RealTimeReading &reading, const RunFactors &factors);
};
