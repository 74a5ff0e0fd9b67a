#pragma once
// The accumulated test time the reports print beside each row. Each step's time restarts at zero on
// the instrument, so the time of a row is its own time within the step plus the last time of every
// step before it, each rounded to a whole second (a half goes to the even neighbour: 59.5 -> 60).
class TotalTime {
public:
    // Feed the rows in report order; returns the total time of this row.
    double next(double stepNo, double timeInStep);

private:
    double offset_ = 0.0;
    double currentStep_ = 1.0;
    double lastTime_ = 0.0;
};
