#include "reports/DetailReport.h"

#include "common/NumberText.h"
#include "platform/WorkProgress.h"
#include "reports/ReportSheet.h"
#include "reports/ReportValues.h"
#include "reports/ReportedTestInfo.h"
#include "reports/TotalTime.h"
#include "results/DerivedValues.h"

#include <utility>

namespace {

const QString kFine = QStringLiteral("#0.#####");
const QString kSpeed = QStringLiteral("#0.###");

template <typename T> T slot(const std::vector<T> &table, size_t i)
{
    return i < table.size() ? table[i] : T{};
}

// Gel slots count from 1; slot 0 holds gels read before any 10-second gel, which no report shows.
std::vector<DetailReport::DerivedCells::Gel> gelsOf(const std::vector<double> &values, const std::vector<int> &rows)
{
    std::vector<DetailReport::DerivedCells::Gel> out;
    for (size_t i = 1; i < values.size(); ++i) {
        if (values[i] != 0.0)
            out.push_back({slot(rows, i), values[i]});
    }
    return out;
}

} // namespace

DetailReport::DerivedCells DetailReport::DerivedCells::from(const DerivedValues &d)
{
    DerivedCells cells;
    // Only the pairs the search completed: a search given up half-way leaves a low step in the next
    // free slot, and that slot has no PV or YP to show.
    for (int i = 1; i <= d.pairCount; ++i) {
        const int lowStep = slot(d.PairLowStep, static_cast<size_t>(i));
        if (lowStep == 0)
            continue;
        cells.pvYp.push_back({slot(d.LastRow, static_cast<size_t>(lowStep)), slot(d.PV, static_cast<size_t>(i)),
                              slot(d.YP, static_cast<size_t>(i))});
    }
    cells.gel10s = gelsOf(d.Gel10s, d.Gel10sRow);
    cells.gel10m = gelsOf(d.Gel10m, d.Gel10mRow);
    cells.gel30m = gelsOf(d.Gel30m, d.Gel30mRow);
    return cells;
}

WorkbookModel DetailReport::build(const ReportedTestInfo &info, const ResultTable &rows, bool si,
                                  const DerivedCells &derived, WorkProgress *progress)
{
    WorkbookModel book;
    WorkbookModel::Sheet &sheet = book.addSheet(QStringLiteral("Sheet1"));
    ReportSheet::writeHeaderBlock(sheet, info);
    ReportSheet::writeHeadings(sheet, HeadingRow, ReportSheet::DetailColumns, si);
    if (rows.empty())
        return book;

    sheet.reserveRows(FirstDataRow + static_cast<int>(rows.size()));
    if (progress)
        progress->beginPart(static_cast<qint64>(rows.size()));
    TotalTime total;
    int r = FirstDataRow;
    for (const ResultRow &f : rows) {
        if (progress && progress->checkpoint(r - FirstDataRow))
            return book;
        sheet.setNumber(r, 1, f[ResultRow::Step]);
        sheet.setNumber(r, 2, f[ResultRow::Time]);
        sheet.setNumber(r, 3, total.next(f[ResultRow::Step], f[ResultRow::Time]));
        sheet.setNumber(r, 4, f[ResultRow::Temperature]);
        ReportSheet::setPictured(sheet, r, 5, f[ResultRow::ShearRate], kFine);
        ReportSheet::setPictured(sheet, r, 6, f[ResultRow::Speed], kSpeed);
        ReportSheet::setPictured(sheet, r, 7, f[ResultRow::ShearStress], kFine);
        if (ReportValues::speedShowsZero(f))
            sheet.setText(r, 8, std::string("N/A"));
        else if (si)
            sheet.setNumber(r, 8, f[ResultRow::Viscosity]);
        else
            ReportSheet::setPictured(sheet, r, 8, f[ResultRow::Viscosity], kFine);
        ReportSheet::setPictured(sheet, r, 9, f[ResultRow::Gel], kFine);
        ReportSheet::setPictured(sheet, r, 10, f[ResultRow::RotorBob], kFine);
        ReportSheet::setPictured(sheet, r, 11, f[ResultRow::Fann], kFine);
        ReportSheet::setPictured(sheet, r, 12, ReportValues::gelDialReading(f[ResultRow::Gel], si), kFine);
        ++r;
    }
    const int lastRow = r - 1;
    const int dataRows = static_cast<int>(rows.size());
    for (int c = 5; c <= 12; ++c) {
        // The SI viscosity is written unformatted.
        if (c != 8 || !si)
            ReportSheet::pictureColumn(sheet, c, FirstDataRow, lastRow, c == 6 ? kSpeed : kFine);
    }
    ReportSheet::formatTable(sheet, HeadingRow, lastRow, ReportSheet::DetailColumns, dataRows);

    // A derived value belongs on a row of this test; an index outside the rows is not placed anywhere.
    auto sheetRow = [&](int index) { return index >= 0 && index < dataRows ? FirstDataRow + index : 0; };
    for (const auto &p : derived.pvYp) {
        if (const int row = sheetRow(p.row)) {
            sheet.setNumber(row, 13, p.pv);
            sheet.setNumber(row, 14, p.yp);
        }
    }
    // The three gels alike: the dial reading as "#0.#####" shows it, left out when that reads as zero.
    const std::pair<int, const std::vector<DerivedCells::Gel> *> gels[] = {
        {15, &derived.gel10s}, {16, &derived.gel10m}, {17, &derived.gel30m}};
    for (const auto &[column, list] : gels) {
        for (const auto &g : *list) {
            if (const int row = sheetRow(g.row); row && NumberText::FormatValue(g.dial, kFine) != 0.0)
                ReportSheet::pictureCell(sheet, row, column, g.dial, kFine);
        }
    }
    ReportSheet::setPageSetup(sheet, HeadingRow);
    return book;
}
