#include "calcheck/CalibrationPlan.h"

#include "common/NumberText.h"

#include <cmath>

std::optional<double> CalibrationPlan::viscosityFrom(const QString &text)
{
    const double v = NumberText::Val(text);
    // NaN fails both comparisons, so it is refused as well.
    if (!(v >= MinViscosity && v <= MaxViscosity))
        return std::nullopt;
    return v;
}

CalibrationPlan CalibrationPlan::forViscosity(double viscosity)
{
    CalibrationPlan plan;
    plan.viscosity = viscosity;
    plan.MinSpeed = 1.0 / viscosity / R1B1RatePerRpm * 100.0;
    const double q = plan.stressAtMaxSpeed();
    plan.StepCount = 0;
    for (int target : TargetStresses) {
        if (q >= target)
            ++plan.StepCount;
    }
    for (int i = 0; i < TargetCount; ++i)
        plan.CheckSpeeds[size_t(i)] = plan.MinSpeed * TargetStresses[size_t(i)];
    return plan;
}

QList<DownloadStep> CalibrationPlan::steps() const
{
    QList<DownloadStep> out;
    for (int i = 0; i < StepCount; ++i)
        out.append({i + 1, StepSeconds, StepTemperatureF, CheckSpeeds[size_t(i)]});
    return out;
}
