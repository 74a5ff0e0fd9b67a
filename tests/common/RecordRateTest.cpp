// Record rates: what the step dialogs take, and how a stored rate with a fraction is read.
#include "common/RecordRate.h"

#include <gtest/gtest.h>
#include <limits>

TEST(RecordRate, StepDialogsTakeOnlyWholeSecondsFromOne)
{
    const struct {
        double typed;
        bool taken;
    } cases[] = {{1, true},     {2.0, true},   {6000, true},
                 {1.9, false},  {10.5, false}, {0.9, false},
                 {0, false},    {-5, false},   {std::numeric_limits<double>::infinity(), false},
                 {1e12, false}, {0.5, false}};
    for (const auto &c : cases)
        EXPECT_EQ(RecordRate::isAcceptable(c.typed), c.taken) << c.typed;
}

TEST(RecordRate, StoredFractionIsTheNearestWholeSecondWithHalvesToEven)
{
    const struct {
        double stored;
        int seconds;
    } cases[] = {{1.9, 2}, {2.5, 2}, {3.5, 4}, {1.4, 1}, {10, 10}, {0.6, 1}, {0.5, 0}, {0, 0}, {-3, 0}, {1e12, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(RecordRate::seconds(c.stored), c.seconds) << c.stored;
}
