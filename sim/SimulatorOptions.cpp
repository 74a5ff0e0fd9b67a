#include "sim/SimulatorOptions.h"

#include <cmath>

QString SimulatorOptions::validate() const
{
    if (QString fluidProblem = FluidModel(fluid).validate(); !fluidProblem.isEmpty())
        return fluidProblem;
    if (!(rate >= 0.01 && rate <= 1000.0))
        return QStringLiteral("rate must lie between 0.01 and 1000 simulated seconds per second");
    if (!std::isfinite(ambientF) || ambientF < -100.0 || ambientF > 1000.0)
        return QStringLiteral("ambient temperature must lie between -100 and 1000 F");
    if (!(heaterTimeConstant >= 0.0 && heaterTimeConstant <= 100000.0))
        return QStringLiteral("heater time constant must lie between 0 and 100000 s");
    if (!(noise >= 0.0 && noise <= 100000.0))
        return QStringLiteral("noise must lie between 0 and 100000 dyn/cm2");
    // Four digits of factor x 1000 that the program reads back as a custom factor (above 7).
    if (customRateFactor && !(*customRateFactor >= 0.008 && *customRateFactor <= 9.999))
        return QStringLiteral("custom rotor-bob factor must lie between 0.008 and 9.999 1/s per rpm");
    if (storeInterval < 1 || storeInterval > 100000)
        return QStringLiteral("store interval must lie between 1 and 100000 s");
    if (memoryCapacity < 0 || memoryCapacity > 100000)
        return QStringLiteral("memory capacity must lie between 0 and 100000 readings");
    return {};
}
