#include "realtime/ElapsedTime.h"

QString ElapsedTime::text(qint64 messageCount)
{
    const qint64 s = messageCount < 0 ? 0 : messageCount;
    const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("Elapsed Time: ") + two((s / 3600) % 24) + QLatin1Char(':') + two((s / 60) % 60)
        + QLatin1Char(':') + two(s % 60);
}
