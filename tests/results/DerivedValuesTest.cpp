#include "results/DerivedValues.h"
#include "common/ProgramState.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// One step as the derivation sees it: the last row's speed, dial reading, time and gel (display units).
struct StepEnd {
    double speed;
    double dial = 0;
    double time = 60;
    double gel = 0;
};

// One result row per step, steps numbered from 1.
ResultTable rowsOf(const std::vector<StepEnd> &steps)
{
    ResultTable rows;
    int n = 1;
    for (const StepEnd &s : steps) {
        ResultRow r;
        r[ResultRow::Step] = n++;
        r[ResultRow::Time] = s.time;
        r[ResultRow::Speed] = s.speed;
        r[ResultRow::Fann] = s.dial;
        r[ResultRow::Gel] = s.gel;
        rows.push_back(r);
    }
    return rows;
}

struct PairCase {
    const char *label;
    std::vector<StepEnd> steps;
    bool has600;
    std::vector<std::pair<int, int>> pairs; // (high step, low step) in slot order
    std::vector<std::pair<double, double>> pvyp;
};

} // namespace

TEST(DerivedValues, PlasticViscosityAndYieldPointPairs)
{
    const std::vector<PairCase> cases = {
        {"600/300/200/100/6/3",
         {{600, 60}, {300, 40}, {200, 32}, {100, 23}, {6, 8}, {3, 7}},
         true,
         {{1, 2}},
         {{20, 20}}},
        {"without 600", {{300, 40}, {200, 32}, {100, 23}, {6, 8}, {3, 7}}, false, {{1, 3}}, {{25.5, 14.5}}},
        {"300 four steps after 600", {{600, 60}, {500, 55}, {450, 50}, {400, 45}, {300, 40}}, true, {}, {}},
        {"300 three steps after 600", {{600, 60}, {500, 55}, {450, 50}, {300, 40}}, true, {{1, 4}}, {{20, 20}}},
        {"rising 3/6/100/200/300/600",
         {{3, 7}, {6, 8}, {100, 23}, {200, 32}, {300, 40}, {600, 60}},
         true,
         {{6, 5}},
         {{20, 20}}},
        {"rising pair never starts at step 1", {{300, 40}, {600, 60}}, true, {}, {}},
        {"standing rotor ends no falling pair", {{600, 60}, {0.000001, 0}, {300, 40}}, true, {}, {}},
        {"two pairs, near speeds",
         {{595, 61}, {305, 41}, {0.000001, 0}, {596, 70}, {302, 45}},
         true,
         {{1, 2}, {4, 5}},
         {{20, 21}, {25, 20}}},
    };
    for (const PairCase &c : cases) {
        const DerivedValues d = DerivedValues::fromResults(rowsOf(c.steps), UnitsEI);
        EXPECT_EQ(d.Has600, c.has600) << c.label;
        ASSERT_EQ(d.pairCount, static_cast<int>(c.pairs.size())) << c.label;
        for (int i = 1; i <= d.pairCount; ++i) {
            EXPECT_EQ(d.PairHighStep[i], c.pairs[i - 1].first) << c.label << " slot " << i;
            EXPECT_EQ(d.PairLowStep[i], c.pairs[i - 1].second) << c.label << " slot " << i;
            EXPECT_DOUBLE_EQ(d.PV[i], c.pvyp[i - 1].first) << c.label << " slot " << i;
            EXPECT_DOUBLE_EQ(d.YP[i], c.pvyp[i - 1].second) << c.label << " slot " << i;
        }
        // Slots after the last pair stay empty, including a search that found no partner.
        for (size_t i = static_cast<size_t>(d.pairCount) + 1; i < d.PairLowStep.size(); ++i) {
            EXPECT_EQ(d.PairLowStep[i], 0) << c.label;
            EXPECT_EQ(d.PairHighStep[i], 0) << c.label;
            EXPECT_EQ(d.PV[i], 0) << c.label;
        }
    }
}

TEST(DerivedValues, ReferenceSpeedIsSixHundredWithinTenRpm)
{
    const std::pair<double, bool> cases[] = {{591, true}, {590, false}, {609.9, true}, {610, false}, {600, true}};
    for (auto [speed, has600] : cases) {
        const DerivedValues d = DerivedValues::fromResults(rowsOf({{300}, {speed}}), UnitsEI);
        EXPECT_EQ(d.Has600, has600) << speed;
        EXPECT_EQ(d.HighSpeed, has600 ? 600 : 300) << speed;
        EXPECT_EQ(d.LowSpeed, has600 ? 300 : 100) << speed;
    }
}

TEST(DerivedValues, ThreeGelsOfOneGroup)
{
    // 600 rpm, rest 10 s, 3 rpm, 600 rpm, rest 600 s, 3 rpm, 600 rpm, rest 1800 s, 3 rpm; gels in dyn/cm2 (SI).
    const std::vector<StepEnd> steps = {{600, 60}, {0.000001, 0, 10},   {3, 5, 60, 5.11 * 4},
                                        {600, 60}, {0.000001, 0, 600},  {3, 9, 60, 5.11 * 9.5},
                                        {600, 60}, {0.000001, 0, 1800}, {3, 12, 60, 61.32}};
    const DerivedValues d = DerivedValues::fromResults(rowsOf(steps), UnitsSI);
    EXPECT_EQ(d.gelGroups, 1);
    EXPECT_DOUBLE_EQ(d.Gel10s[1], 4);
    EXPECT_EQ(d.Gel10sRow[1], 2);
    EXPECT_DOUBLE_EQ(d.Gel10m[1], 9.5);
    EXPECT_EQ(d.Gel10mRow[1], 5);
    EXPECT_DOUBLE_EQ(d.Gel30m[1], 12);
    EXPECT_EQ(d.Gel30mRow[1], 8);
    EXPECT_EQ(d.Gel10s[2], 0);
}

TEST(DerivedValues, GelValueInEnglishUnitsTurnsBackIntoDialDegreesRoundedToFiveDecimals)
{
    // 10 lb/100ft2 is 47.88 dyn/cm2, 9.3698630... dial degrees.
    const DerivedValues d = DerivedValues::fromResults(rowsOf({{600}, {0.000001, 0, 10}, {3, 0, 60, 10}}), UnitsEI);
    ASSERT_EQ(d.gelGroups, 1);
    EXPECT_EQ(d.Gel10s[1], 9.36986);
}

TEST(DerivedValues, RestTimeChoosesTheGelSlot)
{
    struct Case {
        double rest;
        int slot; // 0 none, 1 ten-second, 2 ten-minute, 3 thirty-minute
    };
    const Case cases[] = {{10, 1},  {0.5, 1}, {19.9, 1}, {20, 0},   {25, 0},   {560, 2}, {551, 2},
                          {550, 0}, {649, 2}, {1720, 0}, {1721, 3}, {1879, 3}, {1880, 0}};
    for (const Case &c : cases) {
        // A 10-second gel first opens group 1, then the rest under test.
        const std::vector<StepEnd> steps = {{600}, {0.000001, 0, 10},     {3, 0, 60, 5.11},
                                            {600}, {0.000001, 0, c.rest}, {3, 0, 60, 5.11 * 2}};
        const DerivedValues d = DerivedValues::fromResults(rowsOf(steps), UnitsSI);
        const int expectGroups = c.slot == 1 ? 2 : 1;
        EXPECT_EQ(d.gelGroups, expectGroups) << c.rest;
        EXPECT_EQ(d.Gel10s[2], c.slot == 1 ? 2 : 0) << c.rest;
        EXPECT_EQ(d.Gel10m[1], c.slot == 2 ? 2 : 0) << c.rest;
        EXPECT_EQ(d.Gel30m[1], c.slot == 3 ? 2 : 0) << c.rest;
    }
}

TEST(DerivedValues, GelNeedsHighSpeedBeforeAndThreeRpmAfter)
{
    const std::vector<std::vector<StepEnd>> noGel = {
        {{300}, {0.000001, 0, 10}, {3, 0, 60, 5}, {600}}, // stirred at 300 while 600 is the high speed
        {{600}, {0.000001, 0, 10}, {6, 0, 60, 5}},        // read at 6 rpm
        {{600}, {0.2, 0, 10}, {3, 0, 60, 5}},             // the rotor did not stand
        {{0.000001, 0, 10}, {3, 0, 60, 5}, {600}},        // no step before the rest
    };
    for (size_t i = 0; i < noGel.size(); ++i) {
        const DerivedValues d = DerivedValues::fromResults(rowsOf(noGel[i]), UnitsSI);
        EXPECT_EQ(d.gelGroups, 0) << i;
        EXPECT_EQ(d.Gel10s[1], 0) << i;
    }
}

TEST(DerivedValues, TablesGrowBeyondTwentyEntries)
{
    // 25 rounds of a 600/300 pair followed by a 10-second gel.
    std::vector<StepEnd> steps;
    for (int i = 0; i < 25; ++i) {
        steps.push_back({600, 60.0 + i});
        steps.push_back({300, 40.0});
        steps.push_back({200, 30.0});
        steps.push_back({600, 60.0});
        steps.push_back({0.000001, 0, 10});
        steps.push_back({3, 0, 60, 5.11 * (i + 1)});
    }
    const DerivedValues d = DerivedValues::fromResults(rowsOf(steps), UnitsSI);
    EXPECT_EQ(d.pairCount, 25);
    EXPECT_EQ(d.PairHighStep[25], 24 * 6 + 1);
    EXPECT_DOUBLE_EQ(d.PV[25], 84 - 40);
    EXPECT_EQ(d.gelGroups, 25);
    EXPECT_DOUBLE_EQ(d.Gel10s[25], 25);
    EXPECT_EQ(d.Gel10sRow[25], 24 * 6 + 5);
}

TEST(DerivedValues, PerStepTableKeepsTheLastRowOfEachStep)
{
    ResultTable rows = rowsOf({{600, 60}, {600, 61}, {300, 40}, {100, 23}});
    rows[1][ResultRow::Step] = 1; // two rows of step 1
    rows[2][ResultRow::Step] = 3; // no row of step 2
    rows[3][ResultRow::Step] = 3;
    const DerivedValues d = DerivedValues::fromResults(rows, UnitsEI);
    EXPECT_EQ(d.LastStep, 3);
    EXPECT_EQ(d.LastIndex, 3);
    EXPECT_EQ(d.LastRow[1], 1);
    EXPECT_EQ(d.LastDial[1], 61);
    EXPECT_EQ(d.LastSpeed[2], 0);
    EXPECT_EQ(d.LastRow[3], 3);
    EXPECT_EQ(d.LastSpeed[3], 100);
}

TEST(DerivedValues, EmptyAndSingleRowTestsDeriveNothing)
{
    const DerivedValues empty = DerivedValues::fromResults({}, UnitsEI);
    EXPECT_EQ(empty.LastIndex, -1);
    EXPECT_FALSE(empty.Has600);
    EXPECT_EQ(empty.PV.size(), 21u);

    const DerivedValues single = DerivedValues::fromResults(rowsOf({{600, 60}}), UnitsEI);
    EXPECT_TRUE(single.Has600);
    EXPECT_EQ(single.LastIndex, 0);
    EXPECT_EQ(single.LastStep, 1);
    EXPECT_TRUE(single.LastSpeed.empty());
    EXPECT_EQ(single.pairCount, 0);
    EXPECT_EQ(single.gelGroups, 0);
}
