#include "reports/TotalTime.h"

#include "common/NumberText.h"

double TotalTime::next(double stepNo, double timeInStep)
{
    if (stepNo != currentStep_) {
        offset_ += lastTime_;
        currentStep_ = stepNo;
    }
    lastTime_ = NumberText::RoundHalfEven(timeInStep, 0);
    return offset_ + lastTime_;
}
