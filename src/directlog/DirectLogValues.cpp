#include "directlog/DirectLogValues.h"

#include "realtime/RealTimeReading.h"
#include "realtime/RealTimeReadouts.h"

DirectLogValues DirectLogValues::from(const RealTimeReading &reading, const RunFactors &factors)
{
    // The small offsets keep a zero stress and a standing rotor away from 0 / 0.
    const double stress = double(reading.shearStress()) + 0.000001;
    const double speed = double(reading.speedHundredths()) + 0.001;
    DirectLogValues v;
    if (factors.customRB) {
        v.stress = float(stress * factors.customStressFactor);
        v.viscosity = float(stress * factors.customStressFactor / (speed * factors.customRateFactor) * 10000.0);
    } else {
        v.stress = float(stress);
        v.viscosity = float(stress / (speed * RealTimeReadouts::R1B1RatePerRpm) * 10000.0 / factors.rateFactor);
    }
    v.temperature = float(reading.temperature());
    v.dial = float(double(reading.shearStress()) / RealTimeReadouts::DynPerDialDegree);
    return v;
}
