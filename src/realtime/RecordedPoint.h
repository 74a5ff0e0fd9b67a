#pragma once
// The TestResult row a stored reading becomes, in column order (TestId, StepNo, Time, Temperature, Speed,
// Shearstress, Gel, Rbfactor), in stored units (s, degF, rpm, dyn/cm2).
#include "realtime/RunFactors.h"

#include <QtGlobal>

struct RealTimeReading;

struct RecordedPoint {
    qint64 testId = 0;
    qint64 stepNo = 0;
    double time = 0;
    double temperature = 0;
    double speed = 0;
    double shearStress = 0;
    double gel = 0;
    double rbFactor = 0; // rotor-bob code 1..6, or floor(custom rate factor * 1000) for a custom run

    static RecordedPoint from(const RealTimeReading &reading, qint64 testId, const RunFactors &factors);
};
