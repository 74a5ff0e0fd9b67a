#pragma once
// The layout the two spreadsheet reports share: the header block with the test's related information,
// the two heading rows over the data columns, the framed and filled table, and the page setup that
// repeats the heading rows on every printed page.
#include "platform/WorkbookModel.h"

struct ReportedTestInfo;

namespace ReportSheet {

// Palette colour 24 of the classic spreadsheet palette (light blue-violet), the heading rows' fill.
constexpr uint32_t HeadingFill = 0xCCCCFF;
// The detailed export's columns; the brief report uses the first twelve.
constexpr int DetailColumns = 17;
constexpr int BriefColumns = 12;

// Row 1 "K7100 Test Report", rows 3 to 7 the labels and the related values in column 2 (a null value
// leaves its cell empty). Every value is written as text.
void writeHeaderBlock(WorkbookModel::Sheet &sheet, const ReportedTestInfo &info);

// The heading texts of columns 1..columns in rows headingRow and headingRow + 1, in EI or SI units.
void writeHeadings(WorkbookModel::Sheet &sheet, int headingRow, int columns, bool si);

// Fits columns 1..lastColumn to their contents, fills the heading rows and frames the table from the
// first heading row to lastRow: thick outer lines, thin lines between columns, and thin lines between
// rows only when the table has at least two data rows.
void formatTable(WorkbookModel::Sheet &sheet, int headingRow, int lastRow, int lastColumn, int dataRows);

// Heading rows repeated on every printed page, landscape, fitted 1 page wide by 11 pages tall.
void setPageSetup(WorkbookModel::Sheet &sheet, int headingRow);

// A value the report shows through a picture ("#0.#####", "####0.0##"): the cell holds the number the
// picture shows (rounded the same way), so a spreadsheet adds and charts it. The picture itself becomes the
// number format (pictureColumn for a column of such cells, pictureCell for one): a spreadsheet's format
// language reads these pictures as the reports do, down to the point after a whole number ("600.").
void setPictured(WorkbookModel::Sheet &sheet, int row, int column, double value, const QString &picture);
void pictureColumn(WorkbookModel::Sheet &sheet, int column, int firstRow, int lastRow, const QString &picture);
void pictureCell(WorkbookModel::Sheet &sheet, int row, int column, double value, const QString &picture);

} // namespace ReportSheet
