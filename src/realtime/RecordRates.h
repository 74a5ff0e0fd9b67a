#pragma once
// How often each step of the running sequence stores a reading (seconds per stored point), and the
// decision whether a reading is stored. Entry n is the n-th step in step order, which is the step number
// the instrument reports. Any step number may have a rate; a step without one stores nothing.
#include <QMap>

struct RealTimeReading;

class RecordRates {
public:
    void clear() { rates_.clear(); }
    void set(int step, int secondsPerPoint) { rates_[step] = secondsPerPoint; }

    // 0 when the step has no rate (not in the sequence, or a rate below 1).
    int rateFor(qint64 step) const;

    // A valid reading is stored when its seconds-into-step fall on the step's record rate, its rotor-bob
    // code is a table code 1..6, and its fields fit the stored integer types.
    bool shouldRecord(const RealTimeReading &reading) const;

    int count() const { return static_cast<int>(rates_.size()); }

private:
    QMap<int, int> rates_;
};
