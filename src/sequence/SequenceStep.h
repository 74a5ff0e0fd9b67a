#pragma once
// One stored step of a sequence, in the stored units (seconds, degrees Fahrenheit, rpm, seconds per datum).
struct SequenceStep {
    int stepNo = 0;
    double time = 0;
    double temperature = 0; // degrees Fahrenheit
    double speed = 0;       // rpm
    double recordRate = 0;  // seconds per stored point, as stored (see RecordRate for a fraction)
};

// What a step dialog hands back once its fields passed the checks, in the stored units.
struct StepValues {
    double time = 0;
    double temperature = 0; // degrees Fahrenheit
    double speed = 0;
    double recordRate = 0;
};
