#include "reports/RheologySheet.h"

#include "reports/ReportSheet.h"
#include "reports/ReportedTestInfo.h"
#include "results/RheologyTable.h"

#include <cmath>
#include <string>

namespace {

std::string decimalsFormat(int decimals)
{
    return decimals <= 0 ? std::string("0") : "0." + std::string(size_t(decimals), '0');
}

// Heading cells of one table: bold, filled like the report's heading rows, framed.
void writeHeading(WorkbookModel::Sheet &sheet, int row, const QStringList &texts)
{
    for (int c = 0; c < texts.size(); ++c)
        sheet.setText(row, c + 1, texts.at(c));
    const CellRange range{row, 1, row, int(texts.size())};
    sheet.setBold(range, true);
    sheet.setFill(range, ReportSheet::HeadingFill);
}

void frame(WorkbookModel::Sheet &sheet, int headingRow, int lastRow, int columns)
{
    sheet.setBorders({headingRow, 1, lastRow, columns}, BorderLine::Thick, BorderLine::Thin,
                     lastRow > headingRow + 1 ? BorderLine::Thin : BorderLine::None);
}

} // namespace

namespace RheologySheet {

void add(WorkbookModel &book, const ReportedTestInfo &info, const RheologyModels &models, bool si)
{
    WorkbookModel::Sheet &sheet = book.addSheet(QStringLiteral("Rheology"));
    sheet.setText(1, 1, QStringLiteral("Rheology Models"));
    sheet.setBold({1, 1, 1, 1}, true);
    sheet.setText(3, 1, QStringLiteral("Test Name:"));
    if (info.testName)
        sheet.setText(3, 2, *info.testName);
    sheet.setText(4, 1, QStringLiteral("Units:"));
    sheet.setText(4, 2, si ? QStringLiteral("SI (stresses in dyn/cm2)") : QStringLiteral("EI (stresses in lb/100ft2)"));

    int row = ModelHeadingRow;
    writeHeading(
        sheet, row,
        {QStringLiteral("Model"), QStringLiteral("Parameter"), QStringLiteral("Value"), QStringLiteral("Unit")});
    for (const RheologyModelRows &model : RheologyTable::models(models, si)) {
        bool first = true;
        for (const RheologyParameter &p : model.parameters) {
            ++row;
            if (first)
                sheet.setText(row, 1, model.model);
            first = false;
            sheet.setText(row, 2, p.name);
            if (p.value && std::isfinite(*p.value)) {
                sheet.setNumber(row, 3, *p.value);
                sheet.setNumberFormat({row, 3, row, 3}, decimalsFormat(p.decimals));
            } else {
                sheet.setText(row, 3, p.text());
            }
            if (!p.unit.isEmpty())
                sheet.setText(row, 4, p.unit);
        }
    }
    frame(sheet, ModelHeadingRow, row, 4);

    row += 2;
    sheet.setText(row, 1, QStringLiteral("Flow curve readings used"));
    sheet.setBold({row, 1, row, 1}, true);
    const int readingHeading = ++row;
    writeHeading(sheet, readingHeading, RheologyTable::readingHeadings());
    for (const FlowReading &r : models.flowCurve.readings) {
        ++row;
        sheet.setNumber(row, 1, r.step);
        sheet.setNumber(row, 2, r.speed);
        sheet.setNumber(row, 3, r.shearRate);
        sheet.setNumber(row, 4, r.dial);
        sheet.setNumberFormat({row, 2, row, 2}, "0.0");
        sheet.setNumberFormat({row, 3, row, 4}, "0.00");
    }
    frame(sheet, readingHeading, row, 4);
    sheet.autoFitColumns(1, 4);
}

} // namespace RheologySheet
