#include "store/TestLibrary.h"
#include "tests/store/LibraryFixture.h"

#include "store/SampleTime.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

// The same on a database file and on a server.
class TestLibraryTest : public EngineTest {};
K7_ON_BOTH_ENGINES(TestLibraryTest);

TEST_P(TestLibraryTest, ListsNamesNewestFirstAndReadsNullAsEmpty)
{
    LibraryFixture fx(GetParam());
    fx.addTest(2, "second");
    fx.addTest(10, "tenth");
    fx.addTest(5, QVariant(QMetaType(QMetaType::QString)));
    TestLibrary library(fx.db());
    EXPECT_EQ(library.testNamesNewestFirst(), QStringList({"tenth", "", "second"}));
}

TEST_P(TestLibraryTest, NewIdIsLargestPlusOneAndReusedAfterTheLargestIsDeleted)
{
    LibraryFixture fx(GetParam());
    TestLibrary library(fx.db());
    EXPECT_EQ(library.nextTestId(), 1);
    fx.addTest(3, "a");
    fx.addTest(7, "b");
    EXPECT_EQ(library.nextTestId(), 8);
    ASSERT_EQ(library.deleteTest("b"), TestLibrary::DeleteOutcome::Deleted);
    EXPECT_EQ(library.nextTestId(), 4);
}

TEST_P(TestLibraryTest, NamesAreUniqueWithoutRegardToCase)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "Mud Test é");
    TestLibrary library(fx.db());
    EXPECT_TRUE(library.isNameTaken("MUD TEST É"));
    EXPECT_TRUE(library.isNameTaken("mud test é"));
    EXPECT_FALSE(library.isNameTaken("mud test"));
}

TEST_P(TestLibraryTest, AddsAndEditsRowsWithQuotesOfBothKinds)
{
    LibraryFixture fx(GetParam());
    fx.addTest(4, "existing");
    TestLibrary library(fx.db());
    RelatedInfoRecord r;
    r.testName = "O'Brien \"7\"";
    r.mudId = "it's";
    r.sampleTime = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9));
    r.companyName = "\"Acme\"";
    r.desc = "line 1\nline 2";
    const auto id = library.addTest(r);
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(*id, 5);
    EXPECT_EQ(SampleTime::fromStored(fx.value("SELECT SampleTime FROM RelatedInfo WHERE TestId = 5")), r.sampleTime);

    const auto found = library.find("o'brien \"7\"");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->testId, 5);
    EXPECT_EQ(found->testName, r.testName);
    EXPECT_EQ(found->mudId, "it's");
    EXPECT_EQ(found->sampleTimeText, "2024-05-06 07:08:09");
    EXPECT_EQ(found->companyName, "\"Acme\"");
    EXPECT_EQ(found->desc, r.desc);

    r.desc = "edited";
    r.sampleTime = QDateTime();
    EXPECT_TRUE(library.updateTest(5, r));
    EXPECT_EQ(library.findById(5)->desc, "edited");
    EXPECT_TRUE(fx.value("SELECT SampleTime FROM RelatedInfo WHERE TestId = 5").isNull());
    EXPECT_FALSE(library.updateTest(99, r));
    EXPECT_TRUE(library.lastError().isEmpty());
}

TEST_P(TestLibraryTest, DeletingATestRemovesItsPointsAndRowOnly)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "keep", 3);
    fx.addTest(2, "It's \"gone\"", 4);
    fx.addTest(3, "no points", 0);
    TestLibrary library(fx.db());
    using Outcome = TestLibrary::DeleteOutcome;
    EXPECT_EQ(library.deleteTest("It's \"gone\""), Outcome::Deleted);
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult WHERE TestId = 2"), 0);
    EXPECT_EQ(fx.count("SELECT count(*) FROM RelatedInfo WHERE TestId = 2"), 0);
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult WHERE TestId = 1"), 3);
    EXPECT_EQ(library.deleteTest("no points"), Outcome::Deleted);
    EXPECT_EQ(library.deleteTest("never stored"), Outcome::NotFound);
    EXPECT_EQ(library.testNamesNewestFirst(), QStringList({"keep"}));
    EXPECT_EQ(library.deleteTest("keep"), Outcome::Deleted);
    EXPECT_TRUE(library.testNamesNewestFirst().isEmpty());
}

// A trigger of the file refuses the delete half-way.
TEST(TestLibrary, AFailedDeleteLeavesTheWholeTest)
{
    LibraryFixture fx;
    fx.addTest(1, "locked", 3);
    QSqlQuery q(fx.db());
    ASSERT_TRUE(
        q.exec("CREATE TRIGGER keep_row BEFORE DELETE ON RelatedInfo BEGIN SELECT RAISE(ABORT, 'row is locked'); END"));
    TestLibrary library(fx.db());
    EXPECT_EQ(library.deleteTest("locked"), TestLibrary::DeleteOutcome::Failed);
    EXPECT_TRUE(library.lastError().contains("row is locked"));
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult WHERE TestId = 1"), 3);
    EXPECT_EQ(fx.count("SELECT count(*) FROM RelatedInfo"), 1);
}
