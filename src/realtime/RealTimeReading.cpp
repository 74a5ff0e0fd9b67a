#include "realtime/RealTimeReading.h"

#include <limits>

RealTimeReading RealTimeReading::decode(const QByteArray &message)
{
    constexpr qint64 saturated = std::numeric_limits<qint64>::max();
    RealTimeReading reading;
    qsizetype p = 0;
    const qsizetype n = message.size();
    for (int i = 0; i < FieldCount; ++i) {
        qint64 value = 0;
        while (p < n && message.at(p) >= '0' && message.at(p) <= '9') {
            const int digit = message.at(p) - '0';
            if (value > (saturated - digit) / 10)
                value = saturated;
            else
                value = value * 10 + digit;
            ++p;
        }
        reading.fields[i] = value;
        ++p; // the separator, whatever character it is
    }
    return reading;
}

bool RealTimeReading::isValid() const
{
    return step() >= 1 && secondsInStep() >= 1 && temperature() >= 1 && shearStress() <= MaxShearStress;
}

bool RealTimeReading::fitsIntegers() const
{
    for (qint64 f : fields)
        if (f > std::numeric_limits<int32_t>::max())
            return false;
    return true;
}

double RealTimeReading::speedRpm() const
{
    const double f6 = static_cast<double>(speedHundredths());
    return f6 > 0.001 ? f6 / 100.0 : 0.000001;
}
