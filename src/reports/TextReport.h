#pragma once
// The text report of the open test ("Report"): a comma-separated file with a short header of the
// test's related information, a heading line and one line per result row, numbers formatted as the
// results grid shows them, an accumulated elapsed time and the gel as a dial reading.
// Windows-1252 bytes, CR LF line ends, no quoting.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

#include <QByteArray>

struct ReportedTestInfo;
class WorkProgress;

class TextReport {
public:
    // rows: the open test's result rows as the grid loader read them; si: the unit system they are in.
    // progress (optional) counts the lines written; when it asks to stop, the building ends early and the
    // unfinished text is of no use.
    static QByteArray build(const ReportedTestInfo &info, const ResultTable &rows, bool si,
                            WorkProgress *progress = nullptr);
};
