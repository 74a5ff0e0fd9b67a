#include "sequence/ExampleSequence.h"
#include "common/ProgramState.h"
#include "results/DerivedValues.h"
#include "tests/sequence/SequenceDbFixture.h"

#include <cmath>

using ExampleSequenceTest = SequenceDbFixture;

TEST_F(ExampleSequenceTest, NewDatabaseGetsTheExampleOnce)
{
    EXPECT_TRUE(ExampleSequence::create(db.connection()));
    EXPECT_FALSE(ExampleSequence::create(db.connection()));
    ASSERT_EQ(library().sequences().size(), 1);
    const SequenceEntry e = library().sequences()[0];
    EXPECT_EQ(e.name, QStringLiteral("API Standard"));
    EXPECT_EQ(e.rotorBob, 1);
    const QList<SequenceStep> steps = library().steps(e.id);
    ASSERT_EQ(steps.size(), ExampleSequence::steps().size());
    for (int i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].stepNo, i + 1);
        EXPECT_EQ(steps[i].speed, ExampleSequence::steps()[i].speed);
    }
}

TEST_F(ExampleSequenceTest, ANameInAnotherCaseCountsAsPresent)
{
    library().create(QStringLiteral("api STANDARD"), 1);
    EXPECT_FALSE(ExampleSequence::create(db.connection()));
    EXPECT_EQ(library().sequences().size(), 1);
}

TEST(ExampleSequenceSteps, EveryStepPassesTheStepRulesAndNumbersRunFromOne)
{
    const QList<SequenceStep> steps = ExampleSequence::steps();
    for (int i = 0; i < steps.size(); ++i) {
        const SequenceStep &s = steps[i];
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(s.stepNo, i + 1);
        EXPECT_GT(s.time, 0);
        EXPECT_LE(s.time, 6300);
        EXPECT_GE(s.temperature, 20);
        EXPECT_LE(s.temperature, 200);
        EXPECT_GE(s.speed, 0);
        EXPECT_LE(s.speed, 600.01);
        EXPECT_GE(std::floor(s.recordRate), 1);
    }
}

// A run of the example as the real-time screen records it: within each step the instrument counts the
// seconds since the step began, and a reading is stored whenever that count is a multiple of the step's
// record rate. Dial readings follow a fluid with PV 20 and YP 20; the 3 rpm reading after each rest
// carries the gel strength.
namespace {

struct RunOptions {
    bool countFromZero; // the step's seconds run 0..duration-1, else 1..duration
};

ResultTable runOfExample(const RunOptions &o, double gel10s, double gel10m)
{
    ResultTable rows;
    int gelReads = 0;
    const QList<SequenceStep> steps = ExampleSequence::steps();
    for (int i = 0; i < steps.size(); ++i) {
        const SequenceStep &s = steps[i];
        const bool gelRead = s.speed == 3 && i > 0 && steps[i - 1].speed == 0;
        if (gelRead)
            ++gelReads;
        const int first = o.countFromZero ? 0 : 1;
        const int last = o.countFromZero ? int(s.time) - 1 : int(s.time);
        for (int t = first; t <= last; ++t) {
            if (t % int(s.recordRate) != 0)
                continue;
            ResultRow r;
            r[ResultRow::Step] = s.stepNo;
            r[ResultRow::Time] = t;
            r[ResultRow::Temperature] = s.temperature;
            r[ResultRow::Speed] = s.speed < 0.001 ? 0.000001 : s.speed;
            r[ResultRow::ShearRate] = r[ResultRow::Speed] * 1.7023;
            r[ResultRow::Fann] = 20 + 20 * s.speed / 300;
            r[ResultRow::ShearStress] = r[ResultRow::Fann] * 5.11 / 4.788;
            r[ResultRow::Gel] = gelRead ? (gelReads == 1 ? gel10s : gel10m) : 0;
            r[ResultRow::RotorBob] = 1;
            rows.push_back(r);
        }
    }
    return rows;
}

} // namespace

TEST(ExampleSequenceSteps, ARunGivesPvYpAndBothGels)
{
    const double gel10s = 8, gel10m = 15; // lb/100ft2
    for (const bool fromZero : {true, false}) {
        SCOPED_TRACE(fromZero ? "seconds counted from 0" : "seconds counted from 1");
        const DerivedValues d = DerivedValues::fromResults(runOfExample({fromZero}, gel10s, gel10m), UnitsEI);
        EXPECT_TRUE(d.Has600);
        ASSERT_EQ(d.pairCount, 1);
        EXPECT_EQ(d.PairHighStep[1], 1);
        EXPECT_EQ(d.PairLowStep[1], 2);
        EXPECT_DOUBLE_EQ(d.PV[1], 20);
        EXPECT_DOUBLE_EQ(d.YP[1], 20);
        ASSERT_EQ(d.gelGroups, 1);
        EXPECT_NEAR(d.Gel10s[1], gel10s * 4.788 / 5.11, 1e-5);
        EXPECT_NEAR(d.Gel10m[1], gel10m * 4.788 / 5.11, 1e-5);
        EXPECT_EQ(d.Gel30m[1], 0);
    }
}
