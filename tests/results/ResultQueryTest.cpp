#include "results/ResultQuery.h"
#include "common/ProgramState.h"
#include "tests/results/StoredTestFixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The points every statement case reads: written out of step order, with a standing rotor.
std::vector<StoredPoint> samplePoints(double rb)
{
    return {
        point(2, 30, 300, 150.5, rb, 212, 12),
        point(1, 60, 600, 478.8, rb, 150.5, 0),
        point(1, 30, 0.000001, 20, rb, 32, 7.5),
        point(3, 10, 3, 61.3, rb, -40, 95.76),
    };
}

// The classic result statement, assembled from its pieces with the factors as literal text and the name
// bound; SQLite evaluates it as the independent reference for the C++ conversion.
QString classicStatement(bool si, bool custom, const QString &f, const QString &s)
{
    QString a = si ? "SELECT StepNo, Time, (Temperature-32)*5/9.0, " : "SELECT StepNo, Time, Temperature, ";
    a += custom ? "Speed*" : "Speed*1.7023*";
    QString d = si ? " Shearstress, " : " Shearstress*(1/4.788), ";
    d += custom ? "Shearstress/((Speed+0.000001))*100/" : "Shearstress/((Speed+0.000001)*1.7023)*100/";
    QString fPiece = si ? ", Gel , " : ", Gel*(1/4.788) ,";
    fPiece += custom ? "Rbfactor/1000.0," : "Rbfactor,";
    return a + f + ", Speed," + d + f + fPiece + "Shearstress/5.11/" + s
        + " FROM TestResult where TestId=(SELECT TestId from relatedinfo where TestName=?) ORDER BY StepNo, Time ASC;";
}

ResultTable runClassic(QSqlDatabase db, const QString &statement, const QString &name)
{
    QSqlQuery q(db);
    EXPECT_TRUE(q.prepare(statement)) << q.lastError().text().toStdString();
    q.addBindValue(name);
    EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
    ResultTable out;
    while (q.next()) {
        ResultRow r;
        for (int c = 0; c < ResultRow::Count; ++c)
            r[c] = q.value(c).toDouble();
        out.push_back(r);
    }
    return out;
}

struct StatementCase {
    const char *label;
    double rbfactor;
    int units;
    const char *factorText; // the shear-rate factor as the statement text carries it
    const char *stressText;
    bool custom;
};

class ResultStatementTest : public ::testing::TestWithParam<StatementCase> {};

} // namespace

TEST_P(ResultStatementTest, RowsEqualTheClassicStatement)
{
    const StatementCase &c = GetParam();
    StoredTestFixture fx;
    fx.addTest(4, "Mud \"A\" it's", samplePoints(c.rbfactor));
    fx.addTest(5, "other", {point(1, 1, 100, 1000, 6)});

    ProgramState state;
    state.UnitSystem = c.units;
    state.CurrentTestName = "mud \"a\" IT'S"; // names are found whatever their letter case
    ResultQuery query(fx.db(), state);
    const ResultTable got = query.dosql();

    const ResultTable want = runClassic(
        fx.db(), classicStatement(c.units == UnitsSI, c.custom, c.factorText, c.stressText), "Mud \"A\" it's");
    ASSERT_EQ(got.size(), 4u);
    ASSERT_EQ(want.size(), got.size());
    for (size_t r = 0; r < got.size(); ++r)
        for (int col = 0; col < ResultRow::Count; ++col)
            EXPECT_EQ(got[r][col], want[r][col]) << "row " << r << " column " << col;
    EXPECT_EQ(state.CustomRB, c.custom);
}

INSTANTIATE_TEST_SUITE_P(Variants, ResultStatementTest,
                         ::testing::Values(StatementCase{"R1B1_EI", 1, UnitsEI, " 1", " 1", false},
                                           StatementCase{"R2B1_EI", 2, UnitsEI, " 3.185", " 1", false},
                                           StatementCase{"R3B1_SI", 3, UnitsSI, " .2215", " 1", false},
                                           StatementCase{"R1B2_EI", 4, UnitsEI, " .2215", " 1.973", false},
                                           StatementCase{"R1B5_SI", 5, UnitsSI, " .4995", " 1", false},
                                           StatementCase{"R1B4_EI", 6, UnitsEI, " .1574", " 8.012", false},
                                           StatementCase{"R1B4_SI", 6, UnitsSI, " .1574", " 8.012", false},
                                           StatementCase{"Custom1500_EI", 1500, UnitsEI, " 1.5", " 1", true},
                                           StatementCase{"Custom2345_SI", 2345, UnitsSI, " 2.345", " 1", true}),
                         [](const auto &testCase) { return std::string(testCase.param.label); });

TEST(ResultQuery, EdgeCasesOfTheConversion)
{
    StoredTestFixture fx;
    fx.addTest(1, "rb2", {point(1, 10, 100, 300, 2)});
    fx.addTest(2, "rb6", {point(1, 10, 100, 300, 6)});
    fx.addTest(3, "custom", {point(1, 10, 100, 300, 1500)});
    fx.addTest(4, "standing", {point(1, 10, 0.000001, 300, 1)});
    fx.addTest(5, "hot", {point(1, 10, 100, 478.8, 1, 212, 478.8)});

    ProgramState state;
    ResultQuery query(fx.db(), state);

    state.CurrentTestName = "rb2";
    ResultRow r = query.dosql().at(0);
    EXPECT_EQ(r[ResultRow::ShearRate], 100 * 1.7023 * 3.185);
    EXPECT_EQ(r[ResultRow::Viscosity], 300 / ((100 + 0.000001) * 1.7023) * 100 / 3.185);
    EXPECT_EQ(r[ResultRow::Fann], 300 / 5.11 / 1.0);
    EXPECT_EQ(r[ResultRow::RotorBob], 2);
    EXPECT_EQ(state.RotorBob, 2);
    EXPECT_EQ(state.RateFactor, 3.185f);

    state.CurrentTestName = "rb6";
    r = query.dosql().at(0);
    EXPECT_EQ(r[ResultRow::Fann], 300 / 5.11 / 8.012);
    EXPECT_EQ(r[ResultRow::ShearRate], 100 * 1.7023 * 0.1574);
    EXPECT_EQ(state.StressFactor, 8.012f);

    state.CurrentTestName = "custom";
    r = query.dosql().at(0);
    EXPECT_TRUE(state.CustomRB);
    EXPECT_EQ(state.CustomRateFactor, 1.5);
    EXPECT_EQ(state.RotorBob, 1500);
    EXPECT_EQ(state.StressFactor, 1.0f);
    EXPECT_EQ(r[ResultRow::ShearRate], 100 * 1.5);
    EXPECT_EQ(r[ResultRow::RotorBob], 1.5);
    EXPECT_EQ(r[ResultRow::Fann], 300 / 5.11);

    state.CurrentTestName = "standing";
    r = query.dosql().at(0);
    EXPECT_FALSE(state.CustomRB);
    EXPECT_TRUE(std::isfinite(r[ResultRow::Viscosity]));
    EXPECT_EQ(r[ResultRow::Viscosity], 300 / ((0.000001 + 0.000001) * 1.7023) * 100 / 1.0);

    state.CurrentTestName = "hot";
    state.UnitSystem = UnitsSI;
    const ResultRow si = query.dosql().at(0);
    EXPECT_DOUBLE_EQ(si[ResultRow::Temperature], 100);
    EXPECT_EQ(si[ResultRow::ShearStress], 478.8);
    state.UnitSystem = UnitsEI;
    const ResultRow ei = query.dosql().at(0);
    EXPECT_EQ(ei[ResultRow::Temperature], 212);
    EXPECT_DOUBLE_EQ(ei[ResultRow::ShearStress], 100);
    EXPECT_DOUBLE_EQ(ei[ResultRow::Gel], 100);
    EXPECT_EQ(ei[ResultRow::Viscosity], si[ResultRow::Viscosity]);
    EXPECT_EQ(ei[ResultRow::Fann], si[ResultRow::Fann]);
}

TEST(ResultQuery, ProbeSetsTheRotorBobStateByTheFirstPointInStepOrder)
{
    struct Case {
        const char *label;
        std::optional<double> rbfactor;
        int rotorBob;
        bool custom;
        double customRate;
        float stress, rate;
    };
    // The state before each probe: a custom rotor-bob left by an earlier test.
    const Case cases[] = {
        {"code 4", 4.0, 4, false, 2.0, 1.973f, 0.2215f},      {"code 1", 1.0, 1, false, 2.0, 1.0f, 1.0f},
        {"custom 1500", 1500.0, 1500, true, 1.5, 1.0f, 1.0f}, {"custom 7.5", 7.5, 8, true, 0.0075, 1.0f, 1.0f},
        {"zero keeps", 0.0, 99, true, 2.0, 1.0f, 1.0f},       {"seven keeps", 7.0, 99, true, 2.0, 1.0f, 1.0f},
        {"fraction keeps", 2.5, 99, true, 2.0, 1.0f, 1.0f},   {"null keeps", std::nullopt, 99, true, 2.0, 1.0f, 1.0f},
    };
    for (const Case &c : cases) {
        StoredTestFixture fx;
        QSqlQuery q(fx.db());
        fx.addTest(1, "t", {point(2, 1, 100, 50, 6), point(1, 5, 100, 50, 6)});
        // The first point in step and time order carries the value under test.
        q.prepare("UPDATE TestResult SET Rbfactor = ? WHERE StepNo = 1");
        q.addBindValue(c.rbfactor ? QVariant(*c.rbfactor) : QVariant());
        ASSERT_TRUE(q.exec());

        ProgramState state;
        state.RotorBob = 99;
        state.CustomRB = true;
        state.CustomRateFactor = 2.0;
        state.StressFactor = 3.0f;
        state.RateFactor = 3.0f;
        state.CurrentTestName = "t";
        ResultQuery query(fx.db(), state);
        EXPECT_EQ(query.dosql().size(), 2u) << c.label;
        EXPECT_EQ(state.RotorBob, c.rotorBob) << c.label;
        EXPECT_EQ(state.CustomRB, c.custom) << c.label;
        EXPECT_EQ(state.CustomRateFactor, c.customRate) << c.label;
        EXPECT_EQ(state.StressFactor, c.stress) << c.label;
        EXPECT_EQ(state.RateFactor, c.rate) << c.label;
    }
}

TEST(ResultQuery, TestWithoutPointsOrUnknownNameGivesNoRowsAndResetsOnlyTheFactors)
{
    StoredTestFixture fx;
    fx.addTest(1, "empty", {});
    for (const char *name : {"empty", "no such test", ""}) {
        ProgramState state;
        state.RotorBob = 4;
        state.CustomRB = true;
        state.StressFactor = 1.973f;
        state.RateFactor = 0.2215f;
        state.CurrentTestName = name;
        ResultQuery query(fx.db(), state);
        EXPECT_TRUE(query.dosql().empty()) << name;
        EXPECT_EQ(state.StressFactor, 1.0f) << name;
        EXPECT_EQ(state.RateFactor, 1.0f) << name;
        EXPECT_EQ(state.RotorBob, 4) << name;
        EXPECT_TRUE(state.CustomRB) << name;
    }
}

TEST(ResultQuery, OverlayUsesItsOwnRateFactorTheOpenStressFactorAndTheStoredOrder)
{
    StoredTestFixture fx;
    fx.addTest(1, "open", {point(1, 10, 100, 300, 6)});
    fx.addTest(2, "over", {point(2, 5, 200, 400, 2), point(1, 20, 100, 300, 2), point(1, 10, 600, 900, 2)});
    fx.addTest(3, "custom over", {point(1, 10, 100, 300, 2500)});

    ProgramState state;
    state.CurrentTestName = "open";
    ResultQuery query(fx.db(), state);
    query.dosql();
    ASSERT_EQ(state.StressFactor, 8.012f);

    state.OverlapTestName = "over";
    const ResultTable over = query.dosqloverlap();
    ASSERT_EQ(over.size(), 3u);
    // Rows come as they were stored, not sorted by step.
    EXPECT_EQ(over[0][ResultRow::Step], 2);
    EXPECT_EQ(over[1][ResultRow::Time], 20);
    EXPECT_EQ(over[2][ResultRow::Time], 10);
    EXPECT_EQ(over[0][ResultRow::ShearRate], 200 * 1.7023 * 3.185);
    EXPECT_EQ(over[0][ResultRow::Fann], 400 / 5.11 / 8.012);

    state.OverlapTestName = "custom over";
    const ResultTable custom = query.dosqloverlap();
    ASSERT_EQ(custom.size(), 1u);
    EXPECT_EQ(custom[0][ResultRow::ShearRate], 100 * 2.5);
    EXPECT_EQ(custom[0][ResultRow::RotorBob], 2.5);
    EXPECT_EQ(custom[0][ResultRow::Fann], 300 / 5.11 / 8.012);

    // The open test's rotor-bob state is untouched by either overlay.
    EXPECT_EQ(state.RotorBob, 6);
    EXPECT_FALSE(state.CustomRB);
    EXPECT_EQ(state.StressFactor, 8.012f);
    EXPECT_EQ(state.RateFactor, 0.1574f);

    state.OverlapTestName = "missing";
    EXPECT_TRUE(query.dosqloverlap().empty());
}

TEST(ResultQuery, FactorsAreTheDecimalTextsOfTheSinglePrecisionValues)
{
    EXPECT_EQ(ResultConversion::singleFactor(3.185f), 3.185);
    EXPECT_EQ(ResultConversion::singleFactor(0.2215f), 0.2215);
    EXPECT_EQ(ResultConversion::singleFactor(8.012f), 8.012);
    EXPECT_NE(static_cast<double>(0.2215f), 0.2215); // why the text matters
    EXPECT_EQ(ResultConversion::doubleFactor(1.234), 1.234);
}
