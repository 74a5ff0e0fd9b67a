// The naming dialog's checks, the RelatedInfo row it adds and the shared values it sets.
#include "realtime/RealTimeNaming.h"

#include "store/Connection.h"
#include "store/TestLibrary.h"
#include "tests/realtime/RealTimeFixture.h"
#include "tests/support/QStringPrinting.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

class NamingTest : public ::testing::Test {
protected:
    RealTimeFixture fx;
    TestLibrary library{fx.db()};
    RealTimeNaming naming{fx.state, fx.prompts, fx.clock, library, QLocale::c()};

    void addStored(int id, const QString &name)
    {
        QSqlQuery q(fx.db());
        q.prepare(QStringLiteral("INSERT INTO RelatedInfo (TestId, TestName) VALUES (?, ?)"));
        q.addBindValue(id);
        q.addBindValue(name);
        ASSERT_TRUE(q.exec());
    }

    int rowCount() const { return fx.count(QStringLiteral("SELECT COUNT(*) FROM RelatedInfo")); }
};

} // namespace

TEST_F(NamingTest, RefusedEntriesKeepTheDialogOpenAndStoreNothing)
{
    addStored(3, QStringLiteral("abc"));
    const QString inputError = QStringLiteral("Input error! Please check your input.");
    struct Case {
        const char *name;
        RealTimeNamingFields fields;
        bool custom;
        QString text, title;
    };
    const Case cases[] = {
        {"empty name", {"", "M1", "", "", "", "", ""}, false, "Must enter a test name.", "Blank Input Error."},
        {"blank name", {"   ", "M1", "", "", "", "", ""}, false, "Must enter a test name.", "Blank Input Error."},
        {"duplicate in other case",
         {"ABC", "", "", "", "", "", ""},
         false,
         "Duplicated test name. Please enter a new test name.",
         "Test Name Error."},
        {"custom stress factor not a number", {"New", "", "", "", "", "abc", "1.2"}, true, inputError, "Input Error"},
        {"custom rate factor zero", {"New", "", "", "", "", "1.5", "0"}, true, inputError, "Input Error"},
        {"custom rate factor negative", {"New", "", "", "", "", "1.5", "-1.2"}, true, inputError, "Input Error"},
        {"custom factor empty", {"New", "", "", "", "", "", "1.2"}, true, inputError, "Input Error"},
        {"custom factor with trailing text", {"New", "", "", "", "", "1.5", "1.2x"}, true, inputError, "Input Error"},
        {"sample time that is no date", {"New", "", "next tuesday", "", "", "", ""}, false, inputError, "Input Error"},
    };
    for (const Case &c : cases) {
        fx.prompts.clear();
        fx.state.RelatedOk = false;
        naming.load();
        naming.chooseCustom(c.custom);
        RealTimeNamingFields fields = c.fields;
        EXPECT_FALSE(naming.accept(fields)) << c.name;
        EXPECT_TRUE(fx.state.RelatedOk) << c.name << ": set before any check";
        ASSERT_EQ(fx.prompts.records.size(), 1) << c.name;
        EXPECT_EQ(fx.prompts.records[0].text, c.text) << c.name;
        EXPECT_EQ(fx.prompts.records[0].title, c.title) << c.name;
        EXPECT_EQ(rowCount(), 1) << c.name;
    }
}

TEST_F(NamingTest, NewIdIsOneAboveTheLargest)
{
    struct Case {
        const char *name;
        QList<int> existing;
        int expected;
    };
    const Case cases[] = {{"empty table", {}, 1}, {"ids 3, 7, 5", {3, 7, 5}, 8}, {"one test", {41}, 42}};
    for (const Case &c : cases) {
        RealTimeFixture local;
        TestLibrary lib(local.db());
        RealTimeNaming n(local.state, local.prompts, local.clock, lib, QLocale::c());
        for (int id : c.existing) {
            QSqlQuery q(local.db());
            q.prepare(QStringLiteral("INSERT INTO RelatedInfo (TestId, TestName) VALUES (?, ?)"));
            q.addBindValue(id);
            q.addBindValue(QStringLiteral("T%1").arg(id));
            ASSERT_TRUE(q.exec());
        }
        n.load();
        RealTimeNamingFields f{"Run", "", "", "", "", "", ""};
        ASSERT_TRUE(n.accept(f)) << c.name;
        EXPECT_EQ(n.testId(), c.expected) << c.name;
        EXPECT_EQ(local.state.NewTestId, c.expected) << c.name;
    }
}

TEST_F(NamingTest, BlankFluidIdAndSampleTimeAreStoredAsNaAndNow)
{
    fx.clock.setStartDateTime(QDateTime(QDate(2026, 5, 4), QTime(14, 30, 0))); // now() is 1000 s later
    EXPECT_EQ(naming.load(), QStringLiteral("2026-05-04 14:46:40"));
    RealTimeNamingFields f{"Cement 'A' \"B\"", "", "", "Acme", "Hot roll", "", ""};
    ASSERT_TRUE(naming.accept(f));
    EXPECT_TRUE(fx.prompts.records.isEmpty());
    EXPECT_EQ(f.mudId, QStringLiteral("N/A"));
    EXPECT_EQ(f.sampleTime, QStringLiteral("2026-05-04 14:46:40"));

    QSqlQuery q(fx.db());
    ASSERT_TRUE(
        q.exec(QStringLiteral("SELECT TestId, TestName, MudId, SampleTime, CompanyName, \"Desc\" FROM RelatedInfo")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("Cement 'A' \"B\""));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("N/A"));
    EXPECT_EQ(q.value(3).toDateTime(), QDateTime(QDate(2026, 5, 4), QTime(14, 46, 40)));
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("Acme"));
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("Hot roll"));
    EXPECT_FALSE(q.next());

    EXPECT_EQ(fx.state.NewTestId, 1);
    EXPECT_EQ(fx.state.CurrentMudId, QStringLiteral("N/A"));
    EXPECT_EQ(fx.state.CurrentSampleTime, QStringLiteral("2026-05-04 14:46:40"));
    EXPECT_EQ(fx.state.CurrentCompany, QStringLiteral("Acme"));
    EXPECT_EQ(naming.testName(), QStringLiteral("Cement 'A' \"B\""));
    EXPECT_FALSE(fx.state.CustomRB);
}

TEST_F(NamingTest, CustomChoiceSetsTheFactorsAndTheNextLoadStartsAtNo)
{
    fx.state.CustomStressFactor = 9;
    fx.state.CustomRateFactor = 9;
    naming.load();
    naming.chooseCustom(true);
    EXPECT_TRUE(fx.state.CustomRB);
    RealTimeNamingFields f{"Custom run", "M2", "2026-01-02 03:04", "", "", " 1.5 ", "1.2345"};
    ASSERT_TRUE(naming.accept(f));
    EXPECT_TRUE(fx.state.CustomRB);
    EXPECT_DOUBLE_EQ(fx.state.CustomStressFactor, 1.5);
    EXPECT_DOUBLE_EQ(fx.state.CustomRateFactor, 1.2345);
    EXPECT_EQ(f.sampleTime, QStringLiteral("2026-01-02 03:04:00"));

    naming.load();
    EXPECT_FALSE(fx.state.CustomRB);
    // Choosing No leaves the factors alone; a standard run does not read them.
    RealTimeNamingFields g{"Standard run", "", "", "", "", "abc", ""};
    ASSERT_TRUE(naming.accept(g));
    EXPECT_DOUBLE_EQ(fx.state.CustomRateFactor, 1.2345);
}

TEST_F(NamingTest, CancelClearsRelatedOkAndTwoConfirmationsMakeTwoTests)
{
    naming.load();
    RealTimeNamingFields a{"First", "", "", "", "", "", ""};
    RealTimeNamingFields b{"Second", "", "", "", "", "", ""};
    ASSERT_TRUE(naming.accept(a));
    ASSERT_TRUE(naming.accept(b));
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(fx.state.NewTestId, 2);
    EXPECT_TRUE(fx.state.RelatedOk);
    naming.cancel();
    EXPECT_FALSE(fx.state.RelatedOk);
}

TEST_F(NamingTest, DatabaseHeldByAnotherProgram_IsToldAndNamingCanBeTriedAgain)
{
    QSqlQuery(fx.db()).exec(QStringLiteral("PRAGMA busy_timeout = 100")); // keep the test short
    Connection other;
    ASSERT_TRUE(other.open(fx.database.path(), 0));
    ASSERT_TRUE(QSqlQuery(other.db()).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    naming.load();
    RealTimeNamingFields f{"Run", "", "", "", "", "", ""};
    EXPECT_FALSE(naming.accept(f));
    ASSERT_EQ(fx.prompts.messageTexts().size(), 1);
    EXPECT_TRUE(fx.prompts.messageTexts()[0].startsWith(
        QStringLiteral("The test could not be stored: the database is in use by another program")));
    EXPECT_EQ(fx.prompts.lastMessage()->title, QStringLiteral("Database Error"));
    ASSERT_TRUE(QSqlQuery(other.db()).exec(QStringLiteral("ROLLBACK")));
    EXPECT_EQ(rowCount(), 0);
    EXPECT_TRUE(naming.accept(f));
    EXPECT_EQ(rowCount(), 1);
}
