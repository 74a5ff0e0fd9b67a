#include "platform/WorkProgress.h"

#include <algorithm>

int WorkProgress::perMille() const
{
    const qint64 t = total();
    if (t <= 0)
        return -1;
    return int(std::clamp<qint64>(done() * 1000 / t, 0, 1000));
}
