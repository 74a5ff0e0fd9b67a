#include "store/TestSearch.h"
#include "tests/store/LibraryFixture.h"

#include <gtest/gtest.h>

namespace {

using C = TestSearch::Condition;

struct SearchCase {
    const char *label;
    std::array<C, 3> conditions;
    QStringList names; // expected TestName column, in order
};

// The same on a database file and on a server.
class TestSearchTest : public EngineTest {
protected:
    void SetUp() override
    {
        fx.addTest(1, "Alpha 100%", 1, "M-1", "2024-01-05T10:00:00", "Acme");
        fx.addTest(2, "beta_1", 1, "M-2", "2024-02-01T08:30:00", "ACME corp");
        fx.addTest(3, "Gamma", 1, "N/A", "2024-03-15T12:00:00", QVariant(QMetaType(QMetaType::QString)));
        fx.addTest(4, "O'Brien \"x\"", 1, "it's", "2024-03-20T00:00:00", "Other");
    }
    LibraryFixture fx{GetParam()};
};

C cond(int column, int op, const QString &value)
{
    return C{column, op, value};
}

K7_ON_BOTH_ENGINES(TestSearchTest);

} // namespace

TEST_P(TestSearchTest, ConditionsFindTheirTests)
{
    const SearchCase cases[] = {
        {"like is contains, any case", {cond(TestSearch::TestNameColumn, TestSearch::OpLike, "alpha")}, {"Alpha 100%"}},
        {"percent is literal", {cond(TestSearch::TestNameColumn, TestSearch::OpLike, "%")}, {"Alpha 100%"}},
        {"underscore is literal", {cond(TestSearch::TestNameColumn, TestSearch::OpLike, "_")}, {"beta_1"}},
        {"backslash is literal", {cond(TestSearch::TestNameColumn, TestSearch::OpLike, "\\")}, {}},
        {"only condition 2 lists all",
         {C{}, cond(TestSearch::TestNameColumn, TestSearch::OpEqual, "Gamma")},
         {"O'Brien \"x\"", "Gamma", "beta_1", "Alpha 100%"}},
        {"nothing filled lists all", {}, {"O'Brien \"x\"", "Gamma", "beta_1", "Alpha 100%"}},
        {"id as a number",
         {cond(TestSearch::TestIdColumn, TestSearch::OpGreaterOrEqual, " 3 ")},
         {"O'Brien \"x\"", "Gamma"}},
        {"id like", {cond(TestSearch::TestIdColumn, TestSearch::OpLike, "2")}, {"beta_1"}},
        {"date after",
         {cond(TestSearch::SampleTimeColumn, TestSearch::OpGreater, "2024-02-01 08:30")},
         {"O'Brien \"x\"", "Gamma"}},
        {"date equal",
         {cond(TestSearch::SampleTimeColumn, TestSearch::OpEqual, "2024-01-05 10:00:00")},
         {"Alpha 100%"}},
        {"date before, date only",
         {cond(TestSearch::SampleTimeColumn, TestSearch::OpLess, "2024-02-01")},
         {"Alpha 100%"}},
        {"date like as shown",
         {cond(TestSearch::SampleTimeColumn, TestSearch::OpLike, "2024-03-20 00")},
         {"O'Brien \"x\""}},
        {"text equal ignores case", {cond(TestSearch::CompanyNameColumn, TestSearch::OpEqual, "acme")}, {"Alpha 100%"}},
        {"text not equal leaves out nulls",
         {cond(TestSearch::CompanyNameColumn, TestSearch::OpNotEqual, "acme")},
         {"O'Brien \"x\"", "beta_1"}},
        {"quotes of both kinds",
         {cond(TestSearch::TestNameColumn, TestSearch::OpEqual, "o'brien \"x\"")},
         {"O'Brien \"x\""}},
        {"conditions 1 and 3 together",
         {cond(TestSearch::CompanyNameColumn, TestSearch::OpLike, "acme"), C{},
          cond(TestSearch::MudIdColumn, TestSearch::OpEqual, "M-2")},
         {"beta_1"}},
        {"no match", {cond(TestSearch::MudIdColumn, TestSearch::OpEqual, "none")}, {}},
    };
    TestSearch search(fx.db());
    for (const SearchCase &c : cases) {
        const TestSearch::Result r = search.run(c.conditions);
        ASSERT_TRUE(r.ok) << c.label << ": " << r.error.toStdString();
        QStringList names;
        for (const QStringList &row : r.rows)
            names << row.value(0);
        EXPECT_EQ(names, c.names) << c.label;
        EXPECT_EQ(r.header.isEmpty(), c.names.isEmpty()) << c.label;
    }
}

TEST_P(TestSearchTest, RowsShowFiveColumnsWithNullAsEmpty)
{
    const TestSearch::Result r =
        TestSearch(fx.db()).run({cond(TestSearch::TestNameColumn, TestSearch::OpEqual, "gamma")});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.header, QStringList({"TestName", "MudId", "SampleTime", "CompanyName", "Desc"}));
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(r.rows[0], QStringList({"Gamma", "N/A", "2024-03-15 12:00:00", "", ""}));
}

TEST_P(TestSearchTest, RefusedValuesSayWhy)
{
    struct Refusal {
        C condition;
        const char *reasonPart;
    };
    const Refusal cases[] = {
        {cond(TestSearch::SampleTimeColumn, TestSearch::OpGreater, "yesterday"), "\"yesterday\" is not a date"},
        {cond(TestSearch::TestIdColumn, TestSearch::OpEqual, "x1"), "\"x1\" is not a number"},
        {cond(9, TestSearch::OpEqual, "a"), "Choose a column"},
        {cond(TestSearch::TestNameColumn, 7, "a"), "Choose a column and an operator"},
    };
    for (const Refusal &c : cases) {
        const TestSearch::Result r = TestSearch(fx.db()).run({c.condition});
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.startsWith("Wrong search string.  ")) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(c.reasonPart)) << r.error.toStdString();
        EXPECT_TRUE(r.rows.isEmpty());
    }
}

TEST(TestSearchLists, FixedColumnAndOperatorEntries)
{
    EXPECT_EQ(TestSearch::columnNames(),
              QStringList({"TestId", "TestName", "MudId", "SampleTime", "CompanyName", "Desc"}));
    EXPECT_EQ(TestSearch::operatorTexts(), QStringList({" > ", " >= ", " < ", " <= ", " = ", " <> ", " Like "}));
}
