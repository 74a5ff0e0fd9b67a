#pragma once
// "Export to Excel" of the calibration screen: the check as a one-sheet workbook (fluid viscosity, date
// and time of Start, and per target stress its speed, the measured stress, the error and the percent
// error, "N/A" where a target was not run or not yet measured), saved where the operator chooses. The
// file appears only when complete (XlsxWriter writes a temporary file and renames it), and is then opened
// with the desktop's spreadsheet application when there is one.
#include <QDateTime>
#include <QString>

struct AppContext;
class CalibrationTable;
class WorkbookModel;

class CalibrationWorkbook {
public:
    static QString dialogTitle() { return QStringLiteral("Export to Excel"); }
    static QString sheetName() { return QStringLiteral("Calibration Check"); }
    static QString nothingToExportText()
    {
        return QStringLiteral("There is no calibration check to export yet. Start a check first.");
    }

    // The workbook of a started check.
    static WorkbookModel build(const CalibrationTable &table);

    // "Calibration check 2026-01-15 09-00.xlsx" in workDir.
    static QString proposedPath(const QDateTime &startedAt, const QString &workDir);

    // Asks for the file name, writes the workbook and opens it. Returns the path written, "" when the
    // operator cancelled, there was nothing to export or the file could not be written (each told once).
    static QString exportTo(AppContext &context, const CalibrationTable &table);
};
