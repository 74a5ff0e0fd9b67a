#include "sequence/ExampleSequence.h"
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
