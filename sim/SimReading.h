#pragma once
// One reading of the instrument, with the two ways it goes out on the line: a real-time data message
// (fields separated by commas, closed by byte 26) and a stored-test record (seven fields, each followed
// by a comma).
#include <QByteArray>
#include <QtGlobal>

struct SimReading {
    int step = 0;
    qint64 seconds = 0;     // since the step began
    int temperatureF = 0;   // whole degrees F
    qint64 shearStress = 0; // whole dyn/cm2
    qint64 gel = 0;         // whole dyn/cm2
    qint64 speedHundredths = 0;
    int rotorBob = 0;

    bool operator==(const SimReading &) const = default;

    static constexpr char kMessageEnd = 26;

    QByteArray fields() const
    {
        return QByteArray::number(step) + ',' + QByteArray::number(seconds) + ',' + QByteArray::number(temperatureF)
            + ',' + QByteArray::number(shearStress) + ',' + QByteArray::number(gel) + ','
            + QByteArray::number(speedHundredths) + ',' + QByteArray::number(rotorBob);
    }
    QByteArray toMessage() const { return fields() + kMessageEnd; }
    QByteArray toRecord() const { return fields() + ','; }
};
