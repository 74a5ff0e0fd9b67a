#include "reports/BriefReport.h"
#include "tests/reports/ReportFixtures.h"
#include "tests/reports/SheetExpect.h"

#include <gtest/gtest.h>

using ReportFixtures::table;

namespace {

WorkbookModel brief(const ResultTable &rows, bool si = false)
{
    return BriefReport::build(ReportFixtures::eiInfo(), rows, si);
}

} // namespace

TEST(BriefReport, oneRowPerStep_lastReadingOfEach_totals300_600_1200)
{
    const WorkbookModel book = brief(table({{1, 100}, {1, 300}, {2, 150}, {2, 300}, {3, 200}, {3, 599.6}}));
    const auto &s = book.sheets().front();
    expectCells(s,
                {
                    num(12, 1, 1),
                    num(12, 2, 300),
                    num(12, 3, 300),
                    num(13, 1, 2),
                    num(13, 2, 300),
                    num(13, 3, 600),
                    num(14, 1, 3),
                    num(14, 2, 599.6),
                    num(14, 3, 1200),
                    none(15, 1),
                });
}

TEST(BriefReport, stepWithoutReadings_repeatsTheStepBefore_includingItsStepNumber)
{
    const WorkbookModel book = brief(table({{1, 60, 120, 5, 3}, {2, 30, 121, 10, 6}, {4, 45, 122, 20, 12}}));
    const auto &s = book.sheets().front();
    expectCells(s,
                {
                    num(13, 1, 2),
                    num(13, 2, 30),
                    num(13, 3, 90),
                    num(13, 4, 121),
                    pic(13, 6, 6.0, "####0.0##"),
                    num(14, 1, 2),
                    num(14, 2, 30),
                    num(14, 3, 90),
                    num(14, 4, 121),
                    pic(14, 6, 6.0, "####0.0##"),
                    num(15, 1, 4),
                    num(15, 2, 45),
                    num(15, 3, 135),
                    pic(15, 6, 12.0, "####0.0##"),
                    none(16, 1),
                });
}

TEST(BriefReport, testStartingAfterStep1_leavesTheEarlierStepRowsEmpty)
{
    const WorkbookModel book = brief(table({{2, 30, 121, 10, 6}, {2, 40, 121, 10, 6}}));
    const auto &s = book.sheets().front();
    expectCells(s, {none(12, 1), none(12, 6), num(13, 1, 2), num(13, 3, 40)});
    EXPECT_EQ(s.styleAt(12, 1).left, BorderLine::Thick); // the empty row is still inside the frame
    EXPECT_EQ(s.styleAt(13, 12).bottom, BorderLine::Thick);
}

TEST(BriefReport, pictureColumns_numbersWithThreeOptionalDecimals_SIviscosityTwo)
{
    // f3..f9 and the gel dial reading, EI and SI, from the same row
    const ResultTable rows = table({{1, 30, 48.888888, 1021.38, 600, 62.5, 30.59372, 12.775, 1, 58.5616}});
    struct Case {
        bool si;
        double viscosity;
        const char *viscosityPicture;
        double gelDial;
    };
    const Case cases[] = {{false, 30.594, "####0.0##", 11.97}, {true, 30.59, "####0.0#", 2.5}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.si ? "SI" : "EI");
        const WorkbookModel book = brief(rows, c.si);
        const auto &s = book.sheets().front();
        const char *three = "####0.0##";
        expectCells(s,
                    {num(12, 4, 48.888888), pic(12, 5, 1021.38, three), pic(12, 6, 600, three), pic(12, 7, 62.5, three),
                     pic(12, 8, c.viscosity, c.viscosityPicture), pic(12, 9, 12.775, three), pic(12, 10, 1, three),
                     pic(12, 11, 58.562, three), pic(12, 12, c.gelDial, three), none(12, 13)});
    }
}

TEST(BriefReport, headingsFormattingAndPageSetup_shiftedOneRowDown_twelveColumns)
{
    for (const bool si : {false, true}) {
        SCOPED_TRACE(si ? "SI" : "EI");
        const WorkbookModel book = brief(ReportFixtures::eiRows(), si);
        const auto &s = book.sheets().front();
        expectCells(s,
                    {txt(1, 1, "K7100 Test Report"), txt(3, 2, "Mud A-12"), none(6, 2), none(9, 1),
                     txt(10, 1, "Step #"), txt(10, 9, "Gel "), txt(10, 12, "Fann® 35 F1"), none(10, 13),
                     txt(11, 4, si ? "(C°)" : "(°F)"), txt(11, 7, si ? "(dyn/cm2)" : "(lb/100ft2)"),
                     txt(11, 12, "Gel Dial Read (deg)")});
        for (int c = 1; c <= 13; ++c) {
            EXPECT_EQ(s.styleAt(10, c).filled, c <= 12) << c;
            EXPECT_EQ(s.styleAt(11, c).filled, c <= 12) << c;
            EXPECT_FALSE(s.styleAt(9, c).filled) << c;
            EXPECT_FALSE(s.styleAt(12, c).filled) << c;
        }
        // three steps: rows 10..14 framed, thin lines inside
        EXPECT_EQ(s.styleAt(10, 1).top, BorderLine::Thick);
        EXPECT_EQ(s.styleAt(10, 1).left, BorderLine::Thick);
        EXPECT_EQ(s.styleAt(12, 6).top, BorderLine::Thin);
        EXPECT_EQ(s.styleAt(12, 6).right, BorderLine::Thin);
        EXPECT_EQ(s.styleAt(14, 12).bottom, BorderLine::Thick);
        EXPECT_EQ(s.styleAt(14, 12).right, BorderLine::Thick);
        EXPECT_EQ(s.styleAt(13, 13).left, BorderLine::None);
        EXPECT_EQ(s.styleAt(15, 1).top, BorderLine::None);
        // the last reading of each step: 59.5 s -> 60, then 70 and 85
        expectCells(s, {num(12, 3, 60), num(13, 3, 70), num(14, 3, 85), none(15, 3)});

        EXPECT_DOUBLE_EQ(s.columnWidth(12), 21.0);
        EXPECT_DOUBLE_EQ(s.columnWidth(13), 0.0);
        const PageSetup &p = s.pageSetup();
        EXPECT_TRUE(p.landscape);
        EXPECT_EQ(p.fitPagesWide, 1);
        EXPECT_EQ(p.fitPagesTall, 11);
        EXPECT_EQ(p.titleFirstRow, 10);
        EXPECT_EQ(p.titleLastRow, 11);
    }
}

TEST(BriefReport, oneStep_oneDataRow_noInsideHorizontalLines)
{
    const WorkbookModel book = brief(table({{1, 10}, {1, 20}, {1, 30}}));
    const auto &s = book.sheets().front();
    expectCells(s, {num(12, 2, 30), none(13, 1)});
    for (int c = 1; c <= 12; ++c) {
        EXPECT_EQ(s.styleAt(10, c).bottom, BorderLine::None) << c;
        EXPECT_EQ(s.styleAt(11, c).top, BorderLine::None) << c;
        EXPECT_EQ(s.styleAt(11, c).bottom, BorderLine::None) << c;
        EXPECT_EQ(s.styleAt(12, c).top, BorderLine::None) << c;
        EXPECT_EQ(s.styleAt(12, c).bottom, BorderLine::Thick) << c;
        EXPECT_EQ(s.styleAt(12, c).right, c == 12 ? BorderLine::Thick : BorderLine::Thin) << c;
    }
}

TEST(BriefReport, emptyTest_headerBlockOnly)
{
    const WorkbookModel book = brief({});
    const auto &s = book.sheets().front();
    EXPECT_EQ(s.textAt(7, 1), QStringLiteral("Description:"));
    EXPECT_EQ(s.lastRow(), 7);
    EXPECT_EQ(s.pageSetup().titleFirstRow, 0);
}
