#include "sequence/ExampleSequence.h"

#include "sequence/SequenceLibrary.h"

namespace {
constexpr double kTestTemperature = 120; // °F, the usual rheology temperature for water-based fluids
constexpr int kRotorBobR1B1 = 1;
} // namespace

QList<SequenceStep> ExampleSequence::steps()
{
    const double T = kTestTemperature;
    return {
        // flow curve, one minute per speed
        {1, 60, T, 600, 10},
        {2, 60, T, 300, 10},
        {3, 60, T, 200, 10},
        {4, 60, T, 100, 10},
        {5, 60, T, 6, 10},
        {6, 60, T, 3, 10},
        // 10-second gel
        {7, 10, T, 600, 1},
        {8, 10, T, 0, 1},
        {9, 10, T, 3, 1},
        // 10-minute gel
        {10, 10, T, 600, 1},
        {11, 600, T, 0, 10},
        {12, 10, T, 3, 1},
    };
}

bool ExampleSequence::create(QSqlDatabase db)
{
    SequenceLibrary library(db);
    if (library.nameTaken(name()))
        return false;
    library.create(name(), kRotorBobR1B1, steps());
    return true;
}
