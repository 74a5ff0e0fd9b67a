#pragma once
// The main window's report commands: "Detail Excel" (cmdExport), "Brief Excel" (cmdBrief) and the
// File menu's "Report" (menureport). Each does nothing when no test is open or the open test's
// related information is gone. The window owns one instance, which keeps the text report's last file
// name as the next proposal. Once the file is chosen, the report is built and written as long work
// (AppContext::work) that the user can stop; a stopped report leaves no file behind and an earlier
// file of the same name as it was.
#include "platform/WorkbookModel.h"
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

#include <QString>
#include <optional>

struct AppContext;
struct DerivedValues;
struct ResultConversion;

class ReportCommands {
public:
    explicit ReportCommands(AppContext &ctx) : ctx_(ctx) {}

    // cmdExport. rows and derived: what the last grid load left for the open test (its result rows in
    // the current unit system and the PV/YP and gel tables); openTestId: the TestId opened last.
    void exportDetail(int openTestId, const ResultTable &rows, const DerivedValues &derived);

    // cmdBrief. Reads the open test's rows afresh by its id, with the conversion its grid was loaded with.
    void exportBrief(int openTestId, const ResultConversion &conversion);

    // menureport. rows: the open test's result rows as the last grid load left them.
    void writeTextReport(int openTestId, const ResultTable &rows);

    // What the two spreadsheet commands would write; nullopt when there is nothing to report.
    std::optional<WorkbookModel> detailWorkbook(int openTestId, const ResultTable &rows,
                                                const DerivedValues &derived) const;
    std::optional<WorkbookModel> briefWorkbook(int openTestId, const ResultConversion &conversion) const;

    // The file the text report was last asked to write ("" before the first).
    const QString &lastReportPath() const { return lastReportPath_; }

    // What the save dialog says when it is cancelled (shown, like any other error of the command).
    static QString cancelledText() { return QStringLiteral("Cancel was selected."); }

private:
    AppContext &ctx_;
    QString lastReportPath_;
};
