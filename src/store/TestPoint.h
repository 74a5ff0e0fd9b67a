#pragma once
// One stored data point of a test (a TestResult row without its TestId), in stored units: seconds,
// degrees Fahrenheit, rpm and dyn/cm2. Rbfactor is the rotor-bob code 1..6, or the custom shear-rate
// factor x 1000.
#include <QList>

struct TestPoint {
    qint64 stepNo = 0;
    double time = 0;
    double temperature = 0;
    double speed = 0;
    double shearStress = 0;
    double gel = 0;
    double rbFactor = 0;

    bool operator==(const TestPoint &) const = default;
};

using TestPoints = QList<TestPoint>;
