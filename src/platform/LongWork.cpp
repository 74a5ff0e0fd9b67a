#include "platform/LongWork.h"

LongWork &LongWork::orImmediate(LongWork *work)
{
    static ImmediateWork immediate;
    return work ? *work : immediate;
}

bool ImmediateWork::run(const QString &, Stop, const std::function<void(WorkProgress &)> &work)
{
    WorkProgress progress;
    work(progress);
    return !progress.stopRequested();
}
