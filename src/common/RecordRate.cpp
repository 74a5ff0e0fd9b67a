#include "common/RecordRate.h"

#include "common/NumberText.h"

#include <cmath>
#include <limits>

namespace RecordRate {

int seconds(double stored)
{
    const double whole = NumberText::RoundHalfEven(stored, 0);
    if (!std::isfinite(whole) || whole < 1 || whole > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(whole);
}

bool isAcceptable(double typed)
{
    return std::isfinite(typed) && typed >= 1 && typed == std::floor(typed) && typed <= std::numeric_limits<int>::max();
}

} // namespace RecordRate
