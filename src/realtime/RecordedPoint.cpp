#include "realtime/RecordedPoint.h"

#include "realtime/RealTimeReading.h"

#include <cmath>

RecordedPoint RecordedPoint::from(const RealTimeReading &reading, qint64 testId, const RunFactors &factors)
{
    RecordedPoint p;
    p.testId = testId;
    p.stepNo = reading.step();
    p.time = static_cast<double>(reading.secondsInStep());
    p.temperature = static_cast<double>(reading.temperature());
    p.speed = reading.speedRpm();
    const double f4 = static_cast<double>(reading.shearStress());
    const double f5 = static_cast<double>(reading.gel());
    if (factors.customRB) {
        p.shearStress = f4 * factors.customStressFactor;
        p.gel = f5 * factors.customStressFactor;
        // The readers of stored tests tell a custom factor from a table code by its size (above 7).
        p.rbFactor = std::floor(factors.customRateFactor * 1000.0);
    } else {
        p.shearStress = f4;
        p.gel = f5;
        p.rbFactor = static_cast<double>(reading.rotorBobCode());
    }
    return p;
}
