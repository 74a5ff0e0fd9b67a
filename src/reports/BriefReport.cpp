#include "reports/BriefReport.h"

#include "reports/ReportSheet.h"
#include "reports/ReportValues.h"
#include "reports/ReportedTestInfo.h"
#include "reports/TotalTime.h"

#include <algorithm>

namespace {

const QString kBrief = QStringLiteral("####0.0##");
const QString kBriefViscositySI = QStringLiteral("####0.0#");

// Columns 5 to 12 all take three optional decimals, but the SI viscosity two.
const QString &pictureOf(int column, bool si)
{
    return column == 8 && si ? kBriefViscositySI : kBrief;
}

} // namespace

WorkbookModel BriefReport::build(const ReportedTestInfo &info, const ResultTable &rows, bool si)
{
    WorkbookModel book;
    WorkbookModel::Sheet &sheet = book.addSheet(QStringLiteral("Sheet1"));
    ReportSheet::writeHeaderBlock(sheet, info);
    if (rows.empty())
        return book;
    ReportSheet::writeHeadings(sheet, HeadingRow, ReportSheet::BriefColumns, si);

    // A sheet ends at row 1048576, which also bounds the loop for a nonsensical stored step number.
    const double lastStep = std::min(rows.back()[ResultRow::Step], double(1048576 - FirstDataRow + 1));
    TotalTime total;
    size_t next = 0;
    const ResultRow *kept = nullptr;
    int r = FirstDataRow;
    for (int s = 1; s <= lastStep; ++s, ++r) {
        while (next < rows.size() && rows[next][ResultRow::Step] <= s)
            kept = &rows[next++];
        // Steps before the first reading have nothing to repeat: their row stays empty inside the frame.
        if (!kept)
            continue;
        const ResultRow &f = *kept;
        sheet.setNumber(r, 1, f[ResultRow::Step]);
        sheet.setNumber(r, 2, f[ResultRow::Time]);
        sheet.setNumber(r, 3, total.next(f[ResultRow::Step], f[ResultRow::Time]));
        sheet.setNumber(r, 4, f[ResultRow::Temperature]);
        const double pictured[] = {f[ResultRow::ShearRate],   f[ResultRow::Speed],
                                   f[ResultRow::ShearStress], f[ResultRow::Viscosity],
                                   f[ResultRow::Gel],         f[ResultRow::RotorBob],
                                   f[ResultRow::Fann],        ReportValues::gelDialReading(f[ResultRow::Gel], si)};
        for (int c = 5; c <= 12; ++c)
            ReportSheet::setPictured(sheet, r, c, pictured[c - 5], pictureOf(c, si));
    }
    const int dataRows = r - FirstDataRow;
    const int lastRow = std::max(r - 1, HeadingRow + 1);
    if (dataRows > 0) {
        for (int c = 5; c <= 12; ++c)
            ReportSheet::pictureColumn(sheet, c, FirstDataRow, r - 1, pictureOf(c, si));
    }
    ReportSheet::formatTable(sheet, HeadingRow, lastRow, ReportSheet::BriefColumns, dataRows);
    ReportSheet::setPageSetup(sheet, HeadingRow);
    return book;
}
