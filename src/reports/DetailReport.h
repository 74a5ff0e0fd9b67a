#pragma once
// The detailed spreadsheet of the open test ("Detail Excel"): header block, two heading rows, one sheet
// row per result row from row 11 (total time, formatted values, the gel as a dial reading), and the
// PV/YP and gel values on the rows they were read at. Built as a WorkbookModel; no file is touched.
#include "platform/WorkbookModel.h"
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

#include <QString>
#include <vector>

struct ReportedTestInfo;
struct DerivedValues;
class WorkProgress;

class DetailReport {
public:
    static constexpr int HeadingRow = 9;
    static constexpr int FirstDataRow = 11;

    // The derived cells to place, by result-row index (0 = the first result row).
    struct DerivedCells {
        struct PvYp {
            int row; // the last row of the pair's low-speed step
            double pv;
            double yp;
        };
        struct Gel {
            int row; // the 3 rpm reading
            double dial;
        };
        std::vector<PvYp> pvYp;
        std::vector<Gel> gel10s, gel10m, gel30m;

        // The pairs and gels the grid loader derived for the open test; empty slots are left out.
        static DerivedCells from(const DerivedValues &derived);
    };

    // rows: the open test's result rows as the grid loader read them; si: the unit system they are in.
    // progress (optional) counts the rows written; when it asks to stop, the building ends early and the
    // unfinished workbook is of no use.
    static WorkbookModel build(const ReportedTestInfo &info, const ResultTable &rows, bool si,
                               const DerivedCells &derived, WorkProgress *progress = nullptr);
};
