#include "realtime/RecordRates.h"

#include "realtime/RealTimeReading.h"

#include <limits>

int RecordRates::rateFor(qint64 step) const
{
    if (step < std::numeric_limits<int>::min() || step > std::numeric_limits<int>::max())
        return 0;
    const int rate = rates_.value(static_cast<int>(step), 0);
    return rate >= 1 ? rate : 0;
}

bool RecordRates::shouldRecord(const RealTimeReading &reading) const
{
    if (!reading.isValid() || !reading.fitsIntegers())
        return false;
    const int rate = rateFor(reading.step());
    if (rate == 0)
        return false;
    const qint64 code = reading.rotorBobCode();
    return reading.secondsInStep() % rate == 0 && code >= 1 && code <= 6;
}
