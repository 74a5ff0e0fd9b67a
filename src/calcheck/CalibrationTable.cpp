#include "calcheck/CalibrationTable.h"

#include "common/NumberText.h"
#include "realtime/RealTimeReading.h"

#include <cmath>

CalibrationTable::CalibrationTable()
{
    for (int r = 0; r < CalibrationPlan::TargetCount; ++r)
        rows_[size_t(r)].target = CalibrationPlan::TargetStresses[size_t(r)];
}

void CalibrationTable::reset(const CalibrationPlan &plan, const QDateTime &startedAt)
{
    started_ = true;
    plan_ = plan;
    startedAt_ = startedAt;
    for (int r = 0; r < CalibrationPlan::TargetCount; ++r) {
        CalibrationRow &row = rows_[size_t(r)];
        row = CalibrationRow();
        row.target = CalibrationPlan::TargetStresses[size_t(r)];
        row.speedRpm = plan.CheckSpeeds[size_t(r)];
        row.run = r < plan.StepCount;
    }
}

bool CalibrationTable::take(const RealTimeReading &reading)
{
    if (!reading.isValid())
        return false;
    const qint64 second = reading.secondsInStep();
    if (second != FirstSecond && second != LastSecond)
        return false;
    const qint64 step = reading.step();
    if (step < 1 || step > plan_.StepCount)
        return false;
    CalibrationRow &row = rows_[size_t(step - 1)];
    row.measured = reading.shearStress();
    row.error = errorText(reading.shearStress(), row.target);
    row.percentError = percentErrorText(row.error, row.target);
    return true;
}

QString CalibrationTable::errorText(qint64 measured, int target)
{
    return NumberText::Format(double(measured) - double(target), QStringLiteral("0.0"));
}

QString CalibrationTable::percentErrorText(const QString &shownError, int target)
{
    return NumberText::Format(std::fabs(NumberText::Val(shownError)) / double(target) * 100.0, QStringLiteral("0.0"));
}
