#include "link/DownloadStream.h"

#include "common/NumberText.h"

namespace {
QByteArray field(double value, const char *picture)
{
    return NumberText::Format(value, QString::fromLatin1(picture)).toLatin1();
}
} // namespace

QList<QByteArray> DownloadStream::stepItems(const DownloadStep &step, int rotorBob)
{
    const QByteArray comma(",");
    return {
        field(step.stepNo, "00"),
        comma,
        field(step.seconds, "00000"),
        comma,
        field(step.temperatureF, "000"),
        comma,
        field(step.speedRpm * 100.0, "00000"), // hundredths of rpm
        comma,
        field(rotorBob, "0"),
        QByteArrayLiteral("11"),
    };
}

QByteArray DownloadStream::stream(const QList<DownloadStep> &steps, int rotorBob)
{
    QByteArray bytes(1, startByte);
    for (const DownloadStep &step : steps)
        for (const QByteArray &item : stepItems(step, rotorBob))
            bytes += item;
    return bytes + endMarker();
}
