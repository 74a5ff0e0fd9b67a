#include "directlog/DirectLogEntries.h"

#include "common/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<double> plainNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> inRange(const QString &text, double min, double max)
{
    const std::optional<double> v = plainNumber(text);
    if (!v || *v < min || *v > max)
        return std::nullopt;
    return v;
}

} // namespace

std::optional<double> DirectLogEntries::speedFrom(const QString &text)
{
    return inRange(text, MinSpeed, MaxSpeed);
}

std::optional<double> DirectLogEntries::rateFrom(const QString &text)
{
    return inRange(text, MinRate, MaxRate);
}

qint64 DirectLogEntries::recordEvery(double rate)
{
    return std::max<qint64>(1, qint64(NumberText::RoundHalfEven(rate, 0)));
}

bool DirectLogEntries::shouldRecord(qint64 secondsInStep, double rate)
{
    return secondsInStep % recordEvery(rate) == 0;
}

QByteArray DirectLogEntries::runSpeedCommand(double speedRpm, int rotorBob)
{
    const QString text = QStringLiteral("1,60000,35,") + NumberText::Format(speedRpm * 100.0, QStringLiteral("#0"))
        + QLatin1Char(',') + NumberText::Format(rotorBob, QStringLiteral("#0"));
    return QByteArray(1, RunSpeedByte) + text.toLatin1();
}
