#include "tests/support/VirtualClock.h"

void VirtualClock::wait(double seconds, bool userInput)
{
    waits.append({now_, seconds, userInput});
    advance(seconds);
}

void VirtualClock::advance(double seconds)
{
    if (seconds > 0)
        now_ += seconds;
    for (const auto &l : listeners_)
        l(now_);
}
