#include "reports/DetailReport.h"
#include "reports/ReportSheet.h"
#include "results/DerivedValues.h"
#include "tests/reports/BorderShorthands.h"
#include "tests/reports/ReportFixtures.h"
#include "tests/reports/SheetExpect.h"

#include <gtest/gtest.h>

using ReportFixtures::table;

namespace {

WorkbookModel detail(const ResultTable &rows, bool si = false, const DetailReport::DerivedCells &derived = {},
                     const ReportedTestInfo &info = ReportFixtures::eiInfo())
{
    return DetailReport::build(info, rows, si, derived);
}

void expectSides(const WorkbookModel::Sheet &s, int row, int column, BorderLine left, BorderLine top, BorderLine bottom,
                 BorderLine right)
{
    SCOPED_TRACE(testing::Message() << "borders of row " << row << " column " << column);
    const CellStyle &st = s.styleAt(row, column);
    EXPECT_EQ(st.left, left);
    EXPECT_EQ(st.top, top);
    EXPECT_EQ(st.bottom, bottom);
    EXPECT_EQ(st.right, right);
}

} // namespace

TEST(DetailReport, headerBlock_labelsAndRelatedValues_textStaysText_nullLeavesTheCellEmpty)
{
    ReportedTestInfo info = ReportFixtures::eiInfo();
    info.testName = QStringLiteral("=HYPERLINK(\"x\")");
    info.mudId = QStringLiteral("-12");
    const WorkbookModel book = detail({}, false, {}, info);
    const auto &s = book.sheets().front();
    expectCells(s,
                {
                    txt(1, 1, QStringLiteral("K7100 Test Report")),
                    none(1, 2),
                    none(2, 1),
                    txt(3, 1, QStringLiteral("Test Name:")),
                    txt(3, 2, QStringLiteral("=HYPERLINK(\"x\")")),
                    txt(4, 1, QStringLiteral("Fluid ID:")),
                    txt(4, 2, QStringLiteral("-12")),
                    txt(5, 1, QStringLiteral("Sample Time:")),
                    txt(5, 2, QStringLiteral("2024-03-14 10:30")),
                    txt(6, 1, QStringLiteral("Company:")),
                    none(6, 2),
                    txt(7, 1, QStringLiteral("Description:")),
                    txt(7, 2, QStringLiteral("Hot rolled 16 h at 150°F")),
                    none(8, 1),
                });
}

TEST(DetailReport, headingRows_allSeventeenColumns_EIandSI)
{
    const QString top[17] = {"Step #",       "Step Time", "Total Time", "Temp",       "Shear Rate",  "Speed",
                             "Shear Stress", "Viscosity", "Gel ",       "Rb Factor",  "Fann® 35 F1", "Fann® 35 F1",
                             " PV ",         " YP ",      "10sec. Gel", "10min. Gel", "30min. Gel"};
    const QString bottomEI[17] = {"",
                                  "(S)",
                                  "(S)",
                                  "(°F)",
                                  "(1/S)",
                                  "(Rpm)",
                                  "(lb/100ft2)",
                                  "(cP)",
                                  "(lb/100ft2)",
                                  "",
                                  "Reading (deg)",
                                  "Gel Dial Read (deg)",
                                  "(cP)",
                                  "Fann® 35(deg)",
                                  "Fann® 35(deg)",
                                  "Fann® 35(deg)",
                                  "Fann® 35(deg)"};
    for (const bool si : {false, true}) {
        SCOPED_TRACE(si ? "SI" : "EI");
        const WorkbookModel book = detail(ReportFixtures::eiRows(), si);
        const auto &s = book.sheets().front();
        for (int c = 1; c <= 17; ++c) {
            QString bottom = bottomEI[c - 1];
            if (si && c == 4)
                bottom = QStringLiteral("(C°)");
            if (si && (c == 7 || c == 9))
                bottom = QStringLiteral("(dyn/cm2)");
            EXPECT_EQ(s.textAt(9, c), top[c - 1]) << "column " << c;
            EXPECT_EQ(s.textAt(10, c), bottom) << "column " << c;
        }
        EXPECT_EQ(s.cell(9, 18), nullptr);
    }
}

TEST(DetailReport, dataRows_EI_numbersUnderTheirPictures_NAasText)
{
    const WorkbookModel book = detail(ReportFixtures::eiRows());
    const auto &s = book.sheets().front();
    expectCells(s,
                {
                    num(11, 1, 1),
                    num(11, 2, 30),
                    num(11, 3, 30),
                    num(11, 4, 120),
                    pic(11, 5, 1021.38, "#0.#####"),
                    pic(11, 6, 600, "#0.###"),
                    pic(11, 7, 62.5, "#0.#####"),
                    pic(11, 8, 30.59372, "#0.#####"),
                    pic(11, 9, 0, "#0.#####"),
                    pic(11, 10, 1, "#0.#####"),
                    pic(11, 11, 58.5616, "#0.#####"),
                    pic(11, 12, 0, "#0.#####"),
                    none(11, 13),
                    num(12, 2, 59.5),
                    num(12, 3, 60),
                    num(12, 4, 120.04),
                    pic(12, 7, 62.75, "#0.#####"),
                    pic(12, 8, 30.71612, "#0.#####"),
                    pic(12, 11, 58.79589, "#0.#####"),
                    num(13, 1, 2),
                    num(13, 2, 3.2),
                    num(13, 3, 63),
                    num(13, 4, 119.95),
                    pic(13, 5, 510.69, "#0.#####"),
                    pic(13, 6, 300, "#0.###"),
                    pic(13, 8, 40.33425, "#0.#####"),
                    pic(13, 11, 38.60391, "#0.#####"),
                    // the standing rotor: speed shown as 0 in the grid, so no viscosity
                    num(14, 3, 70),
                    pic(14, 5, 0, "#0.#####"),
                    pic(14, 6, 0, "#0.###"),
                    pic(14, 7, 0.2, "#0.#####"),
                    txt(14, 8, "N/A"),
                    pic(14, 9, 4.5, "#0.#####"),
                    pic(14, 11, 0, "#0.#####"),
                    pic(14, 12, 4.21644, "#0.#####"),
                    num(15, 1, 3),
                    num(15, 3, 85),
                    pic(15, 5, 5.1069, "#0.#####"),
                    pic(15, 6, 3, "#0.###"),
                    pic(15, 8, 929.99, "#0.#####"),
                    pic(15, 9, 9.75, "#0.#####"),
                    pic(15, 12, 9.13562, "#0.#####"),
                    none(16, 1),
                });
}

TEST(DetailReport, dataRows_SI_viscosityUnformattedNumber_gelDialOver511)
{
    const WorkbookModel book = detail(ReportFixtures::siRows(), true);
    const auto &s = book.sheets().front();
    expectCells(s,
                {
                    num(11, 3, 20),
                    num(11, 4, 48.888888888888886),
                    pic(11, 5, 766.035, "#0.#####"),
                    pic(11, 6, 450, "#0.###"),
                    pic(11, 7, 299.25, "#0.#####"),
                    num(11, 8, 39.06),
                    pic(11, 10, 1.5, "#0.#####"),
                    pic(11, 11, 58.56164, "#0.#####"),
                    pic(11, 12, 0, "#0.#####"),
                    num(12, 3, 30),
                    num(12, 8, 52.25),
                    pic(12, 5, 383.0175, "#0.#####"),
                    pic(12, 7, 200.125, "#0.#####"),
                    num(13, 3, 32),
                    txt(13, 8, "N/A"),
                    pic(13, 9, 12.775, "#0.#####"),
                    pic(13, 11, 0.62622, "#0.#####"),
                    pic(13, 12, 2.5, "#0.#####"),
                    num(14, 3, 632),
                    num(14, 4, -5.5),
                    num(14, 8, 300.04),
                    pic(14, 9, 15.33, "#0.#####"),
                    pic(14, 12, 3, "#0.#####"),
                });
}

TEST(DetailReport, totalTime_roundsEachStepsLastTimeHalfToEven)
{
    struct Case {
        const char *what;
        ResultTable rows;
        std::vector<double> totals;
    };
    const Case cases[] = {
        {"59.5 rounds to 60", table({{1, 30}, {1, 59.5}, {2, 10}, {2, 20}}), {30, 60, 70, 80}},
        {"a half goes to the even second", table({{1, 2.5}, {2, 3.5}, {3, 0.5}}), {2, 6, 6}},
        {"steps skipped and a test starting at step 2", table({{2, 10}, {2, 40.4}, {5, 1}}), {10, 40, 41}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const WorkbookModel book = detail(c.rows);
        const auto &s = book.sheets().front();
        for (size_t i = 0; i < c.totals.size(); ++i)
            EXPECT_EQ(s.numberAt(DetailReport::FirstDataRow + int(i), 3), c.totals[i]) << "row " << i;
    }
}

TEST(DetailReport, standingRotor_isNA_whenTheGridShowsSpeedZero)
{
    struct Case {
        double speed;
        bool na;
    };
    const Case cases[] = {{0.000001, true}, {0.004, true}, {0.0049, true}, {0.005, false}, {0.5, false}};
    for (const bool si : {false, true}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << "speed " << c.speed << (si ? " SI" : " EI"));
            const WorkbookModel book = detail(table({{1, 10, 100, 0, c.speed, 1, 123.5}}), si);
            const auto &s = book.sheets().front();
            if (c.na) {
                EXPECT_EQ(s.textAt(11, 8), QStringLiteral("N/A"));
            } else if (si) {
                EXPECT_EQ(s.numberAt(11, 8), 123.5);
            } else {
                EXPECT_EQ(s.numberAt(11, 8), 123.5);
                EXPECT_EQ(s.styleAt(11, 8).numberFormat, "#0.#####");
            }
        }
    }
}

TEST(DetailReport, pvYp_standOnTheLowSpeedRow_resultRow7IsSheetRow18)
{
    DetailReport::DerivedCells derived;
    derived.pvYp = {{7, 20, 20}, {23, 1.5, -0.25}};
    const WorkbookModel book = detail(ReportFixtures::fannSixSpeedRows(), false, derived);
    const auto &s = book.sheets().front();
    expectCells(s,
                {num(18, 13, 20), num(18, 14, 20), num(34, 13, 1.5), num(34, 14, -0.25), none(17, 13), none(19, 13),
                 none(11, 13), none(18, 15)});
    // the derived cells keep the table's frame
    expectSides(s, 18, 13, T, T, T, T);
}

TEST(DetailReport, gels_standOnTheir3rpmRows_allThreeAsNumbers_zeroLeftOut)
{
    // 600, rest 10 s, 3 rpm, 600, rest 600 s, 3 rpm, 600, rest 1800 s, 3 rpm: one row per step.
    const ResultTable rows = table({{1, 60, 120, 0, 600},
                                    {2, 10, 120, 0, 0.000001},
                                    {3, 5, 120, 0, 3},
                                    {4, 60, 120, 0, 600},
                                    {5, 600, 120, 0, 0.000001},
                                    {6, 5, 120, 0, 3},
                                    {7, 60, 120, 0, 600},
                                    {8, 1800, 120, 0, 0.000001},
                                    {9, 5, 120, 0, 3}});
    DetailReport::DerivedCells derived;
    derived.gel10s = {{2, 7.5}, {5, 0.000001}};
    derived.gel10m = {{5, 12.345678}};
    derived.gel30m = {{8, 15.2}, {40, 3}};
    const WorkbookModel book = detail(rows, false, derived);
    const auto &s = book.sheets().front();
    expectCells(s,
                {pic(13, 15, 7.5, "#0.#####"), none(16, 15), pic(16, 16, 12.34568, "#0.#####"),
                 pic(19, 17, 15.2, "#0.#####"), none(13, 16), none(13, 17), none(12, 15)});
    EXPECT_EQ(s.lastRow(), 19); // an index beyond the rows is not placed
}

TEST(DetailReport, formatting_fillBordersWidthsAndPageSetup)
{
    const WorkbookModel book = detail(ReportFixtures::eiRows());
    const auto &s = book.sheets().front();

    for (int r = 8; r <= 11; ++r) {
        for (int c = 1; c <= 18; ++c) {
            const bool heading = (r == 9 || r == 10) && c <= 17;
            EXPECT_EQ(s.styleAt(r, c).filled, heading) << r << "," << c;
            if (heading) {
                EXPECT_EQ(s.styleAt(r, c).fillRgb, 0xCCCCFFu);
            }
        }
    }
    // rows 9..15, columns 1..17: thick frame, thin lines between columns and rows
    expectSides(s, 9, 1, K, K, T, T);
    expectSides(s, 9, 17, T, K, T, K);
    expectSides(s, 10, 5, T, T, T, T);
    expectSides(s, 12, 8, T, T, T, T);
    expectSides(s, 15, 1, K, T, K, T);
    expectSides(s, 15, 17, T, T, K, K);
    expectSides(s, 8, 1, N, N, N, N);
    expectSides(s, 16, 1, N, N, N, N);
    expectSides(s, 12, 18, N, N, N, N);

    // fitted to the longest shown text of each whole column (the title sits in column 1)
    EXPECT_DOUBLE_EQ(s.columnWidth(1), 19.0);  // "K7100 Test Report"
    EXPECT_DOUBLE_EQ(s.columnWidth(2), 26.0);  // the description
    EXPECT_DOUBLE_EQ(s.columnWidth(8), 11.0);  // "Viscosity"
    EXPECT_DOUBLE_EQ(s.columnWidth(12), 21.0); // "Gel Dial Read (deg)"
    EXPECT_DOUBLE_EQ(s.columnWidth(17), 15.0); // "Fann® 35(deg)"
    EXPECT_DOUBLE_EQ(s.columnWidth(18), 0.0);

    const PageSetup &p = s.pageSetup();
    EXPECT_TRUE(p.landscape);
    EXPECT_EQ(p.fitPagesWide, 1);
    EXPECT_EQ(p.fitPagesTall, 11);
    EXPECT_EQ(p.titleFirstRow, 9);
    EXPECT_EQ(p.titleLastRow, 10);
}

TEST(DetailReport, oneDataRow_hasNoInsideHorizontalLines)
{
    const WorkbookModel book = detail(table({{1, 10, 100, 5, 3, 2, 60, 0, 1, 0.4}}));
    const auto &s = book.sheets().front();
    for (int c = 1; c <= 17; ++c) {
        const BorderLine left = c == 1 ? K : T;
        const BorderLine right = c == 17 ? K : T;
        expectSides(s, 9, c, left, K, N, right);
        expectSides(s, 10, c, left, N, N, right);
        expectSides(s, 11, c, left, N, K, right);
    }
}

TEST(DetailReport, emptyTest_headerAndHeadingsOnly_noFormattingOrPageSetup)
{
    const WorkbookModel book = detail({});
    const auto &s = book.sheets().front();
    EXPECT_EQ(s.textAt(9, 1), QStringLiteral("Step #"));
    EXPECT_EQ(s.textAt(10, 12), QStringLiteral("Gel Dial Read (deg)"));
    EXPECT_EQ(s.lastRow(), 10);
    EXPECT_FALSE(s.styleAt(9, 1).filled);
    EXPECT_EQ(s.styleAt(9, 1).top, N);
    EXPECT_DOUBLE_EQ(s.columnWidth(1), 0.0);
    EXPECT_FALSE(s.pageSetup().landscape);
    EXPECT_EQ(s.pageSetup().titleFirstRow, 0);
}

// The gels as the grid load derives them (600 rpm, rest, 3 rpm three times) land on the 3 rpm rows.
TEST(DetailReport, gelsDerivedByTheGridLoad_landOnTheir3rpmRows)
{
    const double toEI = 5.11 / 4.788; // dial degrees -> lb/100ft2
    const ResultTable rows = table({{1, 60, 120, 1021.38, 600},
                                    {2, 10, 120, 0, 0.000001},
                                    {3, 5, 120, 5.1, 3, 0, 0, 7 * toEI},
                                    {4, 60, 120, 1021.38, 600},
                                    {5, 600, 120, 0, 0.000001},
                                    {6, 5, 120, 5.1, 3, 0, 0, 9.5 * toEI},
                                    {7, 60, 120, 1021.38, 600},
                                    {8, 1800, 120, 0, 0.000001},
                                    {9, 5, 120, 5.1, 3, 0, 0, 12.25 * toEI}});
    const auto derived = DetailReport::DerivedCells::from(DerivedValues::fromResults(rows, 1));
    const WorkbookModel book = detail(rows, false, derived);
    const auto &s = book.sheets().front();
    expectCells(s,
                {pic(13, 15, 7, "#0.#####"), pic(16, 16, 9.5, "#0.#####"), pic(19, 17, 12.25, "#0.#####"), none(13, 13),
                 none(16, 15), none(19, 16), none(12, 15), none(14, 15)});
}
