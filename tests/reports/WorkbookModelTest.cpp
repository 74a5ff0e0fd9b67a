#include "platform/WorkbookModel.h"
#include "tests/reports/BorderShorthands.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Sides {
    BorderLine left, top, bottom, right;
};

Sides sidesAt(const WorkbookModel::Sheet &s, int row, int column)
{
    const CellStyle &st = s.styleAt(row, column);
    return {st.left, st.top, st.bottom, st.right};
}

} // namespace

TEST(WorkbookModel, valuesKeepTheirKind_textNeverBecomesANumberOrFormula)
{
    WorkbookModel book;
    auto &s = book.addSheet(QStringLiteral("One"));
    s.setNumber(2, 3, 59.5);
    s.setText(2, 4, QStringLiteral("=SUM(A1:A2)"));
    s.setText(2, 5, QStringLiteral("10."));
    s.setNumber(3, 1, std::numeric_limits<double>::infinity());
    s.setText(0, 1, QStringLiteral("ignored"));
    s.setNumber(1, 0, 1.0);

    EXPECT_EQ(s.numberAt(2, 3), 59.5);
    EXPECT_EQ(s.textAt(2, 3), QString());
    EXPECT_EQ(s.textAt(2, 4), QStringLiteral("=SUM(A1:A2)"));
    EXPECT_FALSE(s.numberAt(2, 5).has_value());
    EXPECT_EQ(s.textAt(2, 5), QStringLiteral("10."));
    EXPECT_EQ(s.textAt(3, 1), QStringLiteral("#NUM!"));
    EXPECT_EQ(s.cell(1, 1), nullptr);
    EXPECT_EQ(s.lastRow(), 3);
    EXPECT_EQ(s.lastColumn(), 5);

    // Rewriting a cell changes its kind but keeps its style.
    s.setFill({2, 3, 2, 3}, 0xCCCCFF);
    s.setText(2, 3, QStringLiteral("N/A"));
    EXPECT_EQ(s.textAt(2, 3), QStringLiteral("N/A"));
    EXPECT_TRUE(s.styleAt(2, 3).filled);
    // An empty text empties the cell but keeps its style.
    s.setText(2, 3, QString());
    EXPECT_EQ(s.cell(2, 3)->kind, WorkbookCell::Kind::Blank);
    EXPECT_TRUE(s.styleAt(2, 3).filled);
}

TEST(WorkbookModel, rangeBorders_outerThickInsideThin_setBothSidesOfEachLine)
{
    WorkbookModel book;
    auto &s = book.addSheet({});
    const CellRange block{2, 2, 4, 4};
    for (BorderEdge e : {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom, BorderEdge::Right})
        s.setBorder(block, e, BorderLine::Thick);
    s.setBorder(block, BorderEdge::InsideVertical, BorderLine::Thin);
    s.setBorder(block, BorderEdge::InsideHorizontal, BorderLine::Thin);

    struct Case {
        int row, column;
        Sides expected;
    };
    const Case cases[] = {
        {2, 2, {K, K, T, T}}, {2, 3, {T, K, T, T}}, {2, 4, {T, K, T, K}}, {3, 2, {K, T, T, T}},
        {3, 3, {T, T, T, T}}, {3, 4, {T, T, T, K}}, {4, 2, {K, T, K, T}}, {4, 3, {T, T, K, T}},
        {4, 4, {T, T, K, K}}, {1, 2, {N, N, N, N}}, {3, 5, {N, N, N, N}},
    };
    for (const Case &c : cases) {
        const Sides got = sidesAt(s, c.row, c.column);
        SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << c.column);
        EXPECT_EQ(got.left, c.expected.left);
        EXPECT_EQ(got.top, c.expected.top);
        EXPECT_EQ(got.bottom, c.expected.bottom);
        EXPECT_EQ(got.right, c.expected.right);
    }
    // Styled positions without a value are blanks that still carry their borders.
    ASSERT_NE(s.cell(3, 3), nullptr);
    EXPECT_EQ(s.cell(3, 3)->kind, WorkbookCell::Kind::Blank);
}

TEST(WorkbookModel, setBorders_inOnePass_drawsWhatTheSingleEdgesDraw)
{
    for (const BorderLine insideH : {BorderLine::Thin, BorderLine::None}) {
        WorkbookModel book;
        auto &byEdges = book.addSheet(QStringLiteral("edges"));
        auto &byFrame = book.addSheet(QStringLiteral("frame"));
        const CellRange block{3, 2, 7, 6};
        for (BorderEdge e : {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom, BorderEdge::Right})
            byEdges.setBorder(block, e, BorderLine::Thick);
        byEdges.setBorder(block, BorderEdge::InsideVertical, BorderLine::Thin);
        if (insideH != BorderLine::None)
            byEdges.setBorder(block, BorderEdge::InsideHorizontal, insideH);
        byFrame.setBorders(block, BorderLine::Thick, BorderLine::Thin, insideH);
        for (int r = 1; r <= 8; ++r) {
            for (int c = 1; c <= 7; ++c) {
                SCOPED_TRACE(testing::Message() << r << "," << c);
                EXPECT_EQ(byFrame.styleAt(r, c), byEdges.styleAt(r, c));
            }
        }
        EXPECT_EQ(byFrame.styleAt(5, 4).top, insideH);
    }
}

TEST(WorkbookModel, texts_readBackAfterManyWritesAndRewrites)
{
    WorkbookModel book;
    auto &s = book.addSheet({});
    for (int r = 1; r <= 2000; ++r) {
        s.setText(r, 1, QStringLiteral("row %1").arg(r));
        s.setText(r, 2, QStringLiteral("Fann® %1 °F").arg(r));
    }
    s.setText(7, 1, QStringLiteral("rewritten"));
    s.setNumber(8, 2, 4.5);
    EXPECT_EQ(s.textAt(1, 1), QStringLiteral("row 1"));
    EXPECT_EQ(s.textAt(7, 1), QStringLiteral("rewritten"));
    EXPECT_EQ(s.textAt(8, 2), QString());
    EXPECT_EQ(s.numberAt(8, 2), 4.5);
    EXPECT_EQ(s.textAt(2000, 2), QStringLiteral("Fann® 2000 °F"));
    EXPECT_EQ(s.text(*s.cell(1999, 1)), std::string_view("row 1999"));
    EXPECT_EQ(s.text(*s.cell(8, 2)), std::string_view());
}

TEST(WorkbookModel, styles_areSharedBetweenCells)
{
    WorkbookModel book;
    auto &s = book.addSheet({});
    for (int r = 1; r <= 500; ++r)
        for (int c = 1; c <= 10; ++c)
            s.setNumber(r, c, r * c);
    s.setFill({1, 1, 2, 10}, 0xCCCCFF);
    s.setBorder({1, 1, 500, 10}, BorderEdge::InsideVertical, BorderLine::Thin);
    s.setBold({1, 1, 1, 1}, true);
    s.setNumberFormat({5, 5, 5, 5}, "0.00");

    // default, then the few combinations of fill, left/right lines, bold and number format
    EXPECT_LE(s.styles().size(), 12u);
    EXPECT_EQ(s.styleAt(5, 5).numberFormat, "0.00");
    EXPECT_TRUE(s.styleAt(1, 1).bold);
    EXPECT_FALSE(s.styleAt(1, 2).bold);
    EXPECT_EQ(s.styleAt(2, 10).fillRgb, 0xCCCCFFu);
    EXPECT_FALSE(s.styleAt(3, 10).filled);
    EXPECT_EQ(s.styleAt(3, 10).left, BorderLine::Thin);
    EXPECT_EQ(s.styleAt(3, 10).right, BorderLine::None);
}

TEST(WorkbookModel, autoFit_followsTheLongestShownText)
{
    WorkbookModel book;
    auto &s = book.addSheet({});
    s.setText(1, 1, QStringLiteral("K7100 Test Report")); // 17 characters
    s.setText(9, 1, QStringLiteral("Step #"));
    s.setNumber(2, 2, 37.77777777777778);        // shown as 11 characters
    s.setText(3, 2, QStringLiteral("Fann® 35")); // 8 characters, 9 bytes
    s.setText(4, 3, QStringLiteral("Fann® 35"));
    s.setFill({5, 4, 5, 4}, 0xCCCCFF); // blank column 4 keeps its width
    s.autoFitColumns(1, 4);

    EXPECT_DOUBLE_EQ(s.columnWidth(1), 19.0);
    EXPECT_DOUBLE_EQ(s.columnWidth(2), 13.0);
    EXPECT_DOUBLE_EQ(s.columnWidth(3), 10.0);
    EXPECT_DOUBLE_EQ(s.columnWidth(4), 0.0);
    EXPECT_EQ(s.displayText(*s.cell(2, 2)), QStringLiteral("37.77777778"));
}

TEST(WorkbookModel, sheetsStayPutWhenMoreAreAdded)
{
    WorkbookModel book;
    auto &first = book.addSheet(QStringLiteral("A"));
    first.setNumber(1, 1, 1.0);
    for (int i = 0; i < 20; ++i)
        book.addSheet(QStringLiteral("S%1").arg(i));
    EXPECT_EQ(first.name(), QStringLiteral("A"));
    EXPECT_EQ(first.numberAt(1, 1), 1.0);
    EXPECT_EQ(book.sheets().size(), 21u);
}
