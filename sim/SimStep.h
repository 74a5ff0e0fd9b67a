#pragma once
// One step of the program the instrument holds, exactly as it arrived on the line.
#include <QtGlobal>

struct SimStep {
    int stepNo = 0;
    qint64 seconds = 0;
    int temperatureF = 0;
    qint64 speedHundredths = 0; // rpm x 100
    int rotorBob = 0;

    bool operator==(const SimStep &) const = default;
};
