#pragma once
// The TestResult row a stored reading becomes, in column order (TestId, StepNo, Time, Temperature, Speed,
// Shearstress, Gel, Rbfactor), in stored units (s, degF, rpm, dyn/cm2).
#include "realtime/RunFactors.h"
#include "store/TestPoint.h"

#include <QtGlobal>

struct RealTimeReading;

struct RecordedPoint : TestPoint {
    qint64 testId = 0;

    static RecordedPoint from(const RealTimeReading &reading, qint64 testId, const RunFactors &factors);
};
