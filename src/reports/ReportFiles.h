#pragma once
// The report files of one test, as the windows and the command line write them: the detailed workbook
// (with its "Rheology" sheet), the brief workbook, the text report and the comma-separated readings.
#include "platform/WorkbookModel.h"
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

#include <QByteArray>

struct DerivedValues;
struct ReportSource;
struct ReportedTestInfo;

class WorkProgress;

namespace ReportFiles {

// "Detail Excel": the detailed sheet, then the "Rheology" sheet of the same rows. progress: how far the
// detailed sheet has come (a long test's takes a while).
WorkbookModel detailWorkbook(const ReportedTestInfo &info, const ResultTable &rows, bool si,
                             const DerivedValues &derived, WorkProgress *progress = nullptr);
WorkbookModel detailWorkbook(const ReportSource &source);
// "Brief Excel".
WorkbookModel briefWorkbook(const ReportSource &source);
// "Report" (Windows-1252 text, CR LF).
QByteArray textReport(const ReportSource &source);

// Every reading with the results grid's ten columns: one heading line (the grid's headings on one line
// each, in the source's unit system) and one line per result row with the numbers as the grid shows
// them (without a decimal point that no digit follows). Comma-separated, fields quoted only when they
// hold a comma, a quote or a line break; UTF-8, lines ended by CR LF.
QByteArray csv(const ReportSource &source);

} // namespace ReportFiles
