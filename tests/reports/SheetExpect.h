#pragma once
// Table-driven checks of workbook-model cells for the spreadsheet report tests.
#include "platform/WorkbookModel.h"

#include <QString>
#include <gtest/gtest.h>

#include <optional>
#include <string>

struct CellExpect {
    int row;
    int column;
    std::optional<double> number; // a number cell with this value
    QString text = {};            // else a text cell with this text ("" with no number: nothing there)
    std::string format = {};      // a number cell's number format ("" is General)
};

// A number shown in the General format.
inline CellExpect num(int row, int column, double value)
{
    return {row, column, value};
}
// A number shown through a picture: the value the picture shows, the picture as its number format.
inline CellExpect pic(int row, int column, double value, const char *picture)
{
    return {row, column, value, {}, picture};
}
inline CellExpect txt(int row, int column, const QString &text)
{
    return {row, column, std::nullopt, text};
}
inline CellExpect none(int row, int column)
{
    return {row, column, std::nullopt, QString()};
}

inline void expectCells(const WorkbookModel::Sheet &sheet, std::initializer_list<CellExpect> cells)
{
    for (const CellExpect &e : cells) {
        SCOPED_TRACE(testing::Message() << "row " << e.row << " column " << e.column);
        const WorkbookCell *c = sheet.cell(e.row, e.column);
        if (e.number) {
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->kind, WorkbookCell::Kind::Number);
            EXPECT_DOUBLE_EQ(c->number, *e.number);
            EXPECT_EQ(sheet.styleAt(e.row, e.column).numberFormat, e.format);
        } else if (!e.text.isEmpty()) {
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->kind, WorkbookCell::Kind::Text);
            EXPECT_EQ(sheet.textAt(e.row, e.column), e.text);
        } else {
            EXPECT_TRUE(c == nullptr || c->kind == WorkbookCell::Kind::Blank);
        }
    }
}
