#include "realtime/RealTimeReadouts.h"

#include "common/NumberText.h"
#include "realtime/RealTimeReading.h"

#include <cmath>

namespace {
const QString twoDecimals = QStringLiteral("##0.0#");
}

QString RealTimeReadouts::viscosityText(const RealTimeReading &reading, const RunFactors &factors)
{
    const double f4 = static_cast<double>(reading.shearStress());
    const double f6 = static_cast<double>(reading.speedHundredths());
    if (f6 < 0.00001)
        return QStringLiteral("0.0");
    double cp;
    if (factors.customRB)
        cp = (f4 + 0.000001) * factors.customStressFactor / ((f6 + 0.001) * factors.customRateFactor) * 10000;
    else
        cp = (f4 + 0.000001) / ((f6 + 0.001) * R1B1RatePerRpm) * 10000 / factors.rateFactor;
    // A zero factor cannot come from the naming dialog (it refuses it) nor from the rotor-bob table; show
    // the standing-rotor text rather than "inf" should one ever get here.
    if (!std::isfinite(cp))
        return QStringLiteral("0.0");
    return NumberText::Format(cp, twoDecimals);
}

RealTimeReadouts RealTimeReadouts::compute(const RealTimeReading &reading, const RunFactors &factors)
{
    using NumberText::Format;
    using NumberText::Text;
    const double f4 = static_cast<double>(reading.shearStress());
    const double f5 = static_cast<double>(reading.gel());
    const double stressScale = factors.customRB ? factors.customStressFactor : 1.0;

    RealTimeReadouts r;
    r.texts[1] = Text(static_cast<double>(reading.step()));
    r.texts[2] = Text(static_cast<double>(reading.secondsInStep()));
    r.texts[3] = Text(static_cast<double>(reading.temperature()));
    // The standing rotor's stand-in speed is shown in plain digits; "1E-06" reads like a fault.
    r.texts[4] = reading.speedHundredths() > 0 ? Text(reading.speedRpm()) : QStringLiteral("0.000001");
    r.texts[5] = factors.customRB ? Text(f4 * stressScale) : Text(f4);
    r.texts[6] = Format(f5 * stressScale / DynPerDialDegree, twoDecimals);
    r.texts[7] = Format(f4 / DynPerDialDegree, twoDecimals);
    r.texts[8] = viscosityText(reading, factors);

    // The chart holds 32-bit floats, like the stored chart arrays always did.
    r.chartStress = static_cast<float>(factors.customRB ? (f4 + 0.000001) * factors.customStressFactor : f4);
    r.chartViscosity = static_cast<float>(NumberText::Val(r.texts[8]));
    r.chartTemperature = static_cast<float>(reading.temperature());
    r.chartDial = static_cast<float>(f4 / DynPerDialDegree);
    return r;
}
