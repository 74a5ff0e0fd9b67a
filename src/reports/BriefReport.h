#pragma once
// The brief spreadsheet of the open test ("Brief Excel"): the header block, two heading rows from row
// 10 and one row per step from row 12 holding the last reading of that step (a step without readings
// repeats the nearest earlier step's), with its total time and the gel as a dial reading. No PV, YP or
// gel columns. Built as a WorkbookModel; no file is touched.
#include "platform/WorkbookModel.h"
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

struct ReportedTestInfo;

class BriefReport {
public:
    static constexpr int HeadingRow = 10;
    static constexpr int FirstDataRow = 12;

    // rows: the open test's result rows in step and time order; si: the unit system they are in.
    static WorkbookModel build(const ReportedTestInfo &info, const ResultTable &rows, bool si);
};
