#include "reports/BriefReport.h"

#include "common/NumberText.h"
#include "reports/ReportSheet.h"
#include "reports/ReportValues.h"
#include "reports/ReportedTestInfo.h"
#include "reports/TotalTime.h"

#include <algorithm>

namespace {

const QString kBrief = QStringLiteral("####0.0##");
const QString kBriefViscositySI = QStringLiteral("####0.0#");

} // namespace

WorkbookModel BriefReport::build(const ReportedTestInfo &info, const ResultTable &rows, bool si)
{
    WorkbookModel book;
    WorkbookModel::Sheet &sheet = book.addSheet(QStringLiteral("Sheet1"));
    ReportSheet::writeHeaderBlock(sheet, info);
    if (rows.empty())
        return book;
    ReportSheet::writeHeadings(sheet, HeadingRow, ReportSheet::BriefColumns, si);

    auto text = [&](int row, int column, double value, const QString &picture) {
        sheet.setText(row, column, NumberText::Format(value, picture));
    };

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
        text(r, 5, f[ResultRow::ShearRate], kBrief);
        text(r, 6, f[ResultRow::Speed], kBrief);
        text(r, 7, f[ResultRow::ShearStress], kBrief);
        text(r, 8, f[ResultRow::Viscosity], si ? kBriefViscositySI : kBrief);
        text(r, 9, f[ResultRow::Gel], kBrief);
        text(r, 10, f[ResultRow::RotorBob], kBrief);
        text(r, 11, f[ResultRow::Fann], kBrief);
        text(r, 12, ReportValues::gelDialReading(f[ResultRow::Gel], si), kBrief);
    }
    const int dataRows = r - FirstDataRow;
    const int lastRow = std::max(r - 1, HeadingRow + 1);
    ReportSheet::formatTable(sheet, HeadingRow, lastRow, ReportSheet::BriefColumns, dataRows);
    ReportSheet::setPageSetup(sheet, HeadingRow);
    return book;
}
