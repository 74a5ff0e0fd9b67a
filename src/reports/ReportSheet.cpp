#include "reports/ReportSheet.h"

#include "common/NumberText.h"
#include "reports/ReportedTestInfo.h"

#include <QString>

namespace ReportSheet {
namespace {

struct Heading {
    const char16_t *top;
    const char16_t *bottomEI;
    const char16_t *bottomSI;
};

const Heading kHeadings[DetailColumns] = {
    {u"Step #", u"", u""},
    {u"Step Time", u"(S)", u"(S)"},
    {u"Total Time", u"(S)", u"(S)"},
    {u"Temp", u"(°F)", u"(C°)"},
    {u"Shear Rate", u"(1/S)", u"(1/S)"},
    {u"Speed", u"(Rpm)", u"(Rpm)"},
    {u"Shear Stress", u"(lb/100ft2)", u"(dyn/cm2)"},
    {u"Viscosity", u"(cP)", u"(cP)"},
    {u"Gel ", u"(lb/100ft2)", u"(dyn/cm2)"},
    {u"Rb Factor", u"", u""},
    {u"Fann® 35 F1", u"Reading (deg)", u"Reading (deg)"},
    {u"Fann® 35 F1", u"Gel Dial Read (deg)", u"Gel Dial Read (deg)"},
    {u" PV ", u"(cP)", u"(cP)"},
    {u" YP ", u"Fann® 35(deg)", u"Fann® 35(deg)"},
    {u"10sec. Gel", u"Fann® 35(deg)", u"Fann® 35(deg)"},
    {u"10min. Gel", u"Fann® 35(deg)", u"Fann® 35(deg)"},
    {u"30min. Gel", u"Fann® 35(deg)", u"Fann® 35(deg)"},
};

void writeLabelled(WorkbookModel::Sheet &sheet, int row, const QString &label, const std::optional<QString> &value)
{
    sheet.setText(row, 1, label);
    if (value)
        sheet.setText(row, 2, *value);
}

} // namespace

void writeHeaderBlock(WorkbookModel::Sheet &sheet, const ReportedTestInfo &info)
{
    sheet.setText(1, 1, QStringLiteral("K7100 Test Report"));
    writeLabelled(sheet, 3, QStringLiteral("Test Name:"), info.testName);
    writeLabelled(sheet, 4, QStringLiteral("Fluid ID:"), info.mudId);
    writeLabelled(sheet, 5, QStringLiteral("Sample Time:"), info.sampleTime);
    writeLabelled(sheet, 6, QStringLiteral("Company:"), info.companyName);
    writeLabelled(sheet, 7, QStringLiteral("Description:"), info.desc);
}

void writeHeadings(WorkbookModel::Sheet &sheet, int headingRow, int columns, bool si)
{
    for (int c = 1; c <= columns && c <= DetailColumns; ++c) {
        const Heading &h = kHeadings[c - 1];
        sheet.setText(headingRow, c, QString::fromUtf16(h.top));
        sheet.setText(headingRow + 1, c, QString::fromUtf16(si ? h.bottomSI : h.bottomEI));
    }
}

void formatTable(WorkbookModel::Sheet &sheet, int headingRow, int lastRow, int lastColumn, int dataRows)
{
    sheet.autoFitColumns(1, lastColumn);
    sheet.setFill({headingRow, 1, headingRow + 1, lastColumn}, HeadingFill);

    sheet.setBorders({headingRow, 1, lastRow, lastColumn}, BorderLine::Thick, BorderLine::Thin,
                     dataRows >= 2 ? BorderLine::Thin : BorderLine::None);
}

void setPictured(WorkbookModel::Sheet &sheet, int row, int column, double value, const QString &picture)
{
    sheet.setNumber(row, column, NumberText::FormatValue(value, picture));
}

void pictureColumn(WorkbookModel::Sheet &sheet, int column, int firstRow, int lastRow, const QString &picture)
{
    sheet.setNumberFormat({firstRow, column, lastRow, column}, picture.toStdString());
}

void pictureCell(WorkbookModel::Sheet &sheet, int row, int column, double value, const QString &picture)
{
    setPictured(sheet, row, column, value, picture);
    pictureColumn(sheet, column, row, row, picture);
}

void setPageSetup(WorkbookModel::Sheet &sheet, int headingRow)
{
    PageSetup &page = sheet.pageSetup();
    page.titleFirstRow = headingRow;
    page.titleLastRow = headingRow + 1;
    page.landscape = true;
    page.fitPagesWide = 1;
    page.fitPagesTall = 11;
}

} // namespace ReportSheet
