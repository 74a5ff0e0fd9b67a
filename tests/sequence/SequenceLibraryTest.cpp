#include "tests/sequence/SequenceDbFixture.h"

#include <QSqlQuery>

using SequenceLibraryTest = SequenceDbOnEngine;
INSTANTIATE_TEST_SUITE_P(, SequenceLibraryTest,
                         ::testing::Values(SqlDialect::Engine::Sqlite, SqlDialect::Engine::Postgres),
                         SequenceDbOnEngine::name);
// A trigger of the file makes statements fail.
using SequenceLibraryFaults = SequenceDbFixture;

TEST_P(SequenceLibraryTest, EmptyLibraryGivesTheFirstSequenceIdOne)
{
    EXPECT_TRUE(library().sequences().isEmpty());
    EXPECT_EQ(library().nextSequenceId(), 1);
    const int id = library().create(QStringLiteral("First"), 1);
    EXPECT_EQ(id, 1);
    const QList<SequenceStep> steps = library().steps(id);
    ASSERT_EQ(steps.size(), 1);
    EXPECT_EQ(steps[0].stepNo, 1);
    EXPECT_EQ(steps[0].time, 600);
    EXPECT_EQ(steps[0].temperature, 100);
    EXPECT_EQ(steps[0].speed, 100);
    EXPECT_EQ(steps[0].recordRate, 10);
}

TEST_P(SequenceLibraryTest, NewIdIsOneAboveTheLastInIdOrder)
{
    EXPECT_EQ(library().create(QStringLiteral("A"), 1), 1);
    EXPECT_EQ(library().create(QStringLiteral("B"), 2), 2);
    EXPECT_EQ(library().create(QStringLiteral("C"), 3), 3);
    library().remove(2);
    EXPECT_EQ(library().nextSequenceId(), 4); // a gap in the middle is not reused
    library().remove(3);
    EXPECT_EQ(library().create(QStringLiteral("D"), 1), 2); // the last one's id is
    QStringList names;
    for (const SequenceEntry &e : library().sequences())
        names << e.name;
    EXPECT_EQ(names, (QStringList{"A", "D"}));
    EXPECT_EQ(library().sequences()[0].rotorBob, 1);
}

TEST_P(SequenceLibraryTest, NamesClashWithoutRegardToCaseButNotAcrossATrailingBlank)
{
    library().create(QStringLiteral("Mud Test"), 1);
    library().create(QStringLiteral("Überprüfung"), 1);
    EXPECT_TRUE(library().nameTaken(QStringLiteral("Mud Test")));
    EXPECT_TRUE(library().nameTaken(QStringLiteral("MUD test")));
    EXPECT_TRUE(library().nameTaken(QStringLiteral("ÜBERPRÜFUNG")));
    EXPECT_FALSE(library().nameTaken(QStringLiteral("Mud Test ")));
    EXPECT_FALSE(library().nameTaken(QStringLiteral("Mud")));
    ASSERT_TRUE(library().byName(QStringLiteral("Mud Test")).has_value());
    EXPECT_FALSE(library().byName(QStringLiteral("Mud Test ")).has_value());
}

TEST_P(SequenceLibraryTest, NamesWithQuotesOfEitherKindAreStoredAndDeleted)
{
    const QString name = QStringLiteral("O'Brien \"fast\" ramp");
    const int id = library().create(name, 4);
    const auto found = library().byName(name);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->id, id);
    EXPECT_EQ(found->rotorBob, 4);
    library().remove(id);
    EXPECT_TRUE(library().sequences().isEmpty());
    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM SequenceSetup")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
}

TEST_P(SequenceLibraryTest, RemoveTakesOnlyThatSequencesSteps)
{
    const int a = sequenceWithSteps(QStringLiteral("A"), 3);
    const int b = sequenceWithSteps(QStringLiteral("B"), 2);
    library().remove(a);
    EXPECT_EQ(library().stepCount(a), 0);
    EXPECT_EQ(library().stepCount(b), 2);
    ASSERT_EQ(library().sequences().size(), 1);
    EXPECT_EQ(library().sequences()[0].name, QStringLiteral("B"));
}

TEST_P(SequenceLibraryTest, CopyKeepsStepsAndTakesTheGivenRotorBobAndTemperature)
{
    const int source = sequenceWithSteps(QStringLiteral("Source"), 3);
    const int same = library().copy(source, QStringLiteral("Same"), 2, std::nullopt);
    const int hot = library().copy(source, QStringLiteral("Hot"), 5, 150.0);
    const QList<SequenceStep> original = library().steps(source);
    const QList<SequenceStep> plain = library().steps(same);
    const QList<SequenceStep> warmed = library().steps(hot);
    ASSERT_EQ(plain.size(), 3);
    ASSERT_EQ(warmed.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plain[i].stepNo, original[i].stepNo);
        EXPECT_EQ(plain[i].time, original[i].time);
        EXPECT_EQ(plain[i].temperature, original[i].temperature);
        EXPECT_EQ(plain[i].speed, original[i].speed);
        EXPECT_EQ(plain[i].recordRate, original[i].recordRate);
        EXPECT_EQ(warmed[i].temperature, 150.0);
        EXPECT_EQ(warmed[i].speed, original[i].speed);
    }
    EXPECT_EQ(library().byName(QStringLiteral("Same"))->rotorBob, 2);
    EXPECT_EQ(library().byName(QStringLiteral("Hot"))->rotorBob, 5);
}

TEST_P(SequenceLibraryTest, InsertMovesTheFollowingStepsUp)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 5);
    library().insertStep(id, 3, {99, 150, 300, 5});
    EXPECT_EQ(stepNumbers(id), (QList<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(times(id), (QList<double>{10, 20, 99, 30, 40, 50}));
    library().insertStep(id, 7, {77, 150, 300, 5}); // after the last step
    EXPECT_EQ(times(id), (QList<double>{10, 20, 99, 30, 40, 50, 77}));
    library().insertStep(id, 1, {11, 150, 300, 5}); // before the first
    EXPECT_EQ(stepNumbers(id), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(times(id).first(), 11);
}

TEST_P(SequenceLibraryTest, InsertIntoASequenceWithoutStepsGivesStepOne)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 2);
    library().deleteSteps(id, 1, 2);
    EXPECT_EQ(library().stepCount(id), 0);
    library().insertStep(id, 1, {60, 120, 100, 10});
    EXPECT_EQ(stepNumbers(id), (QList<int>{1}));
}

TEST_P(SequenceLibraryTest, PasteOfSteps2To4AfterStep3GivesEightSteps)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 5);
    library().pasteSteps(id, 2, 4, 4, 175.0);
    EXPECT_EQ(stepNumbers(id), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    // old 1, 2, 3; copies of 2, 3, 4; old 4, 5
    EXPECT_EQ(times(id), (QList<double>{10, 20, 30, 20, 30, 40, 40, 50}));
    const QList<SequenceStep> steps = library().steps(id);
    const double temperatures[] = {101, 102, 103, 175, 175, 175, 104, 105};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(steps[i].temperature, temperatures[i]) << "step " << i + 1;
    EXPECT_EQ(steps[3].speed, 20);
    EXPECT_EQ(steps[5].recordRate, 10);
}

TEST_P(SequenceLibraryTest, PasteIntoItsOwnSourceRangeCopiesTheOriginalSteps)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 5);
    library().pasteSteps(id, 2, 4, 3, 150.0); // before step 3, inside 2..4
    EXPECT_EQ(times(id), (QList<double>{10, 20, 20, 30, 40, 30, 40, 50}));
}

TEST_P(SequenceLibraryTest, DeleteStepsClosesTheGap)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 5);
    const int other = sequenceWithSteps(QStringLiteral("Other"), 5);
    library().deleteSteps(id, 2, 3);
    EXPECT_EQ(stepNumbers(id), (QList<int>{1, 2, 3}));
    EXPECT_EQ(times(id), (QList<double>{10, 40, 50}));
    EXPECT_EQ(stepNumbers(other), (QList<int>{1, 2, 3, 4, 5}));
}

TEST_P(SequenceLibraryTest, UpdateStepChangesOnlyThatStep)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 3);
    library().updateStep(id, 2, {90, 180, 250, 1.9});
    const QList<SequenceStep> steps = library().steps(id);
    EXPECT_EQ(steps[1].time, 90);
    EXPECT_EQ(steps[1].temperature, 180);
    EXPECT_EQ(steps[1].speed, 250);
    EXPECT_EQ(steps[1].recordRate, 1.9);
    EXPECT_EQ(steps[0].time, 10);
    EXPECT_EQ(steps[2].time, 30);
}

TEST_F(SequenceLibraryFaults, AFailingChangeLeavesTheStepsAsTheyWere)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 3);
    // Make every insert fail after the renumbering has run.
    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec(QStringLiteral("CREATE TRIGGER no_insert BEFORE INSERT ON SequenceSetup "
                                      "BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    EXPECT_THROW(library().insertStep(id, 2, {5, 100, 100, 10}), SequenceStoreError);
    EXPECT_THROW(library().pasteSteps(id, 1, 2, 1, 100), SequenceStoreError);
    EXPECT_EQ(stepNumbers(id), (QList<int>{1, 2, 3}));
    EXPECT_EQ(times(id), (QList<double>{10, 20, 30}));
}
