#include "calcheck/CalibrationWorkbook.h"

#include "calcheck/CalibrationTable.h"
#include "common/AppContext.h"
#include "common/NumberText.h"
#include "platform/Prompts.h"
#include "platform/WorkbookModel.h"
#include "platform/XlsxWriter.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kHeaderRow = 6;
constexpr int kColumns = 5;

void setNumberOrNA(WorkbookModel::Sheet &sheet, int row, int column, bool present, double value,
                   const std::string &format)
{
    if (!present) {
        sheet.setText(row, column, CalibrationRow::notMeasured());
        return;
    }
    sheet.setNumber(row, column, value);
    sheet.setNumberFormat({row, column, row, column}, format);
}

} // namespace

WorkbookModel CalibrationWorkbook::build(const CalibrationTable &table)
{
    WorkbookModel book;
    WorkbookModel::Sheet &sheet = book.addSheet(sheetName());
    sheet.setText(1, 1, QStringLiteral("Auto Calibration Check"));
    sheet.setBold({1, 1, 1, 1}, true);

    sheet.setText(3, 1, QStringLiteral("Calibration Fluid Viscosity:"));
    sheet.setNumber(3, 2, table.plan().viscosity);
    sheet.setText(3, 3, QStringLiteral("cP"));
    sheet.setText(4, 1, QStringLiteral("Date and Time:"));
    sheet.setText(4, 2, table.startedAt().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));

    const QString headers[kColumns] = {QStringLiteral("Shear Stress  (dyn/cm2)"), QStringLiteral("Speed (Rpm)"),
                                       QStringLiteral("Measured Shear Stress (dyn/cm2)"),
                                       QStringLiteral("Error (dyn/cm2)"), QStringLiteral("Error (%)")};
    for (int c = 0; c < kColumns; ++c)
        sheet.setText(kHeaderRow, c + 1, headers[c]);
    sheet.setBold({kHeaderRow, 1, kHeaderRow, kColumns}, true);

    int row = kHeaderRow + 1;
    for (const CalibrationRow &r : table.rows()) {
        sheet.setNumber(row, 1, r.target);
        // Hundredths of rpm are what the instrument was sent.
        setNumberOrNA(sheet, row, 2, r.run, NumberText::RoundHalfAwayFromZero(r.speedRpm, 2), "0.00");
        setNumberOrNA(sheet, row, 3, r.run && r.measured.has_value(), r.measured.value_or(0), "0");
        // The errors as the screen shows them, kept as numbers for further use.
        const bool measured = r.run && r.measured.has_value();
        setNumberOrNA(sheet, row, 4, measured, NumberText::Val(r.error), "0.0");
        setNumberOrNA(sheet, row, 5, measured, NumberText::Val(r.percentError), "0.0");
        ++row;
    }
    const CellRange grid{kHeaderRow, 1, row - 1, kColumns};
    for (BorderEdge edge : {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom, BorderEdge::Right,
                            BorderEdge::InsideVertical, BorderEdge::InsideHorizontal})
        sheet.setBorder(grid, edge, BorderLine::Thin);
    sheet.autoFitColumns(1, kColumns);
    return book;
}

QString CalibrationWorkbook::proposedPath(const QDateTime &startedAt, const QString &workDir)
{
    const QString name = QStringLiteral("Calibration check ") + startedAt.toString(QStringLiteral("yyyy-MM-dd hh-mm"))
        + QStringLiteral(".xlsx");
    return QDir(workDir.isEmpty() ? QDir::currentPath() : workDir).filePath(name);
}

QString CalibrationWorkbook::exportTo(AppContext &context, const CalibrationTable &table)
{
    Prompts &prompts = *context.prompts;
    if (!table.hasCheck()) {
        prompts.message(nothingToExportText(), dialogTitle(), MsgButtons::Ok, MsgIcon::Information);
        return {};
    }
    QString path = prompts.saveFileName(dialogTitle(), proposedPath(table.startedAt(), context.workDir),
                                        QStringLiteral("Excel Workbook (*.xlsx)"));
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".xlsx");

    QString reason;
    if (!XlsxWriter::write(build(table), path, &reason)) {
        prompts.message(QStringLiteral("The calibration check could not be saved to\n%1\n\n%2")
                            .arg(QDir::toNativeSeparators(path), reason),
                        dialogTitle(), MsgButtons::Ok, MsgIcon::Critical);
        return {};
    }
    if (!prompts.openWithDesktop(path))
        prompts.message(QStringLiteral("The calibration check was saved to\n%1").arg(QDir::toNativeSeparators(path)),
                        dialogTitle(), MsgButtons::Ok, MsgIcon::Information);
    return path;
}
