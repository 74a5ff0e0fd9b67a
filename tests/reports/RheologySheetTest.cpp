// The detailed workbook's "Rheology" sheet and the comma-separated readings: the models and the readings
// they used, read back with openpyxl; the first sheet exactly as before.
#include "reports/RheologySheet.h"
#include "platform/XlsxWriter.h"
#include "reports/DetailReport.h"
#include "reports/ReportFiles.h"
#include "reports/ReportSource.h"
#include "results/DerivedValues.h"
#include "tests/reports/ReportFixtures.h"
#include "tests/reports/SheetExpect.h"
#include "tests/support/Openpyxl.h"
#include "tests/support/TempDir.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Everything openpyxl reads of a sheet: each cell's value with its type, number format, bold, fill and
// borders, the column widths and the page setup, one line each.
const char *kSheetDump = R"(import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb[sys.argv[2]]
print('sheets', [s.title for s in wb.worksheets])
for row in ws.iter_rows():
    for c in row:
        b = c.border
        print(c.coordinate, repr(c.value), c.data_type, c.number_format, bool(c.font.b), c.fill.patternType,
              c.fill.fgColor.rgb if c.fill.patternType else None, b.left.style, b.top.style, b.bottom.style,
              b.right.style)
for letter, dim in sorted(ws.column_dimensions.items()):
    print('width', letter, dim.width)
print('page', ws.page_setup.orientation, ws.page_setup.fitToWidth, ws.page_setup.fitToHeight, ws.print_title_rows)
)";

QStringList dumpSheet(const QString &path, const QString &sheet)
{
    QString error;
    QStringList lines = Openpyxl::run(QString::fromUtf8(kSheetDump), {path, sheet}, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return lines;
}

} // namespace

TEST(RheologySheet, FirstSheetAsBeforeSecondSheetHoldsTheModels)
{
    TempDir dir;
    const ResultTable rows = ReportFixtures::fannSixSpeedRows();
    const DerivedValues derived = DerivedValues::fromResults(rows, 1);
    const ReportedTestInfo info = ReportFixtures::eiInfo();

    const WorkbookModel before = DetailReport::build(info, rows, false, DetailReport::DerivedCells::from(derived));
    const WorkbookModel now = ReportFiles::detailWorkbook(info, rows, false, derived);
    ASSERT_EQ(now.sheets().size(), 2u);
    EXPECT_EQ(now.sheets().at(1).name(), "Rheology");
    ASSERT_TRUE(XlsxWriter::write(before, dir.file("before.xlsx")));
    ASSERT_TRUE(XlsxWriter::write(now, dir.file("now.xlsx")));

    // Sheet 1 as openpyxl reads it: identical, cell for cell, format for format.
    QStringList first = dumpSheet(dir.file("now.xlsx"), "Sheet1");
    QStringList old = dumpSheet(dir.file("before.xlsx"), "Sheet1");
    ASSERT_GT(first.size(), 200);
    EXPECT_EQ(first.takeFirst(), "sheets ['Sheet1', 'Rheology']");
    EXPECT_EQ(old.takeFirst(), "sheets ['Sheet1']");
    EXPECT_EQ(first, old);

    // Sheet 2: the models with numbers under their decimals, N/A as text, and the readings used.
    QString error;
    QStringList cells = Openpyxl::cells(dir.file("now.xlsx"), &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    cells = cells.filter(QRegularExpression("^Rheology!"));
    for (const char *cell : {"Rheology!A1\tRheology Models",
                             "Rheology!B3\tMud A-12",
                             "Rheology!B4\tEI (stresses in lb/100ft2)",
                             "Rheology!A6\tModel",
                             "Rheology!D6\tUnit",
                             "Rheology!A7\tBingham plastic",
                             "Rheology!B7\tPV",
                             "Rheology!C7\t20",
                             "Rheology!D7\tcP",
                             "Rheology!C8\t20",
                             "Rheology!C9\t30",
                             "Rheology!A10\tGel strength",
                             "Rheology!C10\tN/A",
                             "Rheology!A13\tPower law, pipe (600/300 rpm)",
                             "Rheology!A17\tHerschel-Bulkley, API RP 13D",
                             "Rheology!B17\tτy",
                             "Rheology!C17\t6",
                             "Rheology!D19\tlb·s^n/100ft2",
                             "Rheology!B25\tReadings",
                             "Rheology!C25\t6",
                             "Rheology!A27\tFlow curve readings used",
                             "Rheology!A28\tStep",
                             "Rheology!D28\tFann 35 Dial (deg)",
                             "Rheology!A29\t1",
                             "Rheology!B29\t600",
                             "Rheology!D29\t60",
                             "Rheology!A34\t6",
                             "Rheology!B34\t3",
                             "Rheology!D34\t7"})
        EXPECT_TRUE(cells.contains(QString::fromUtf8(cell))) << cell << "\n" << cells.join('\n').toStdString();
    // The pipe power law's n as a number, with three decimals shown.
    const QStringList second = dumpSheet(dir.file("now.xlsx"), "Rheology");
    EXPECT_TRUE(second.contains(QRegularExpression(R"(C13 0\.58462\d+ n 0\.000 False .*)")))
        << second.join('\n').toStdString();
    EXPECT_TRUE(second.contains(QRegularExpression(R"(C10 'N/A' s General .*)")));
    EXPECT_TRUE(second.contains(QRegularExpression(R"(A6 'Model' s General True solid FFCCCCFF thick thick .*)")));
}

TEST(RheologySheet, MetricUnitsAndATestWithoutFlowCurve)
{
    const ResultTable rows = ReportFixtures::fannSixSpeedRows();
    WorkbookModel book;
    RheologySheet::add(book, ReportFixtures::eiInfo(),
                       RheologyModels::compute(rows, DerivedValues::fromResults(rows, 2)), true);
    const auto &si = book.sheets().front();
    expectCells(si, {txt(4, 2, "SI (stresses in dyn/cm2)"), txt(8, 4, "dyn/cm2"), pic(8, 3, 20 * 5.11, "0.00")});

    WorkbookModel empty;
    RheologySheet::add(empty, ReportFixtures::eiInfo(), RheologyModels{}, false);
    const auto &e = empty.sheets().front();
    // Every model N/A, the readings table only its headings.
    expectCells(e,
                {txt(7, 3, "N/A"), txt(17, 3, "N/A"), txt(25, 2, "Readings"), pic(25, 3, 0, "0"), txt(28, 1, "Step"),
                 none(29, 1)});
}

TEST(ReportFilesCsv, HeadingAndGridNumbersWithoutADanglingPoint)
{
    ReportSource source;
    source.rows = ReportFixtures::table({{1, 10, 212, 10.2138, 6, 8.5, 1234.5, 0, 1, 8},
                                         {2, 59.5, 32, 0.0000017023, 0.000001, -1.25, 7e9, 2.5, 1500, 0}});
    source.si = true;
    const QStringList lines = QString::fromUtf8(ReportFiles::csv(source)).split("\r\n");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0],
              "Step No,Elaps Time (S),Temp (C°),Shear rate (1/S),Speed (Rpm),Shear Stress (dyn/cm2),"
              "Viscosity (cP),Gel (dyn/cm2),Rb Factor,Fann® 35 F1 Reading");
    // The grid shows "10." and "212." and "0." for the standing rotor: here without the point.
    EXPECT_EQ(lines[1], "1,10,212,10.21,6,8.5,1234.50,0,1,8");
    EXPECT_EQ(lines[2], "2,59.5,32,0,0,-1.25,7000000000.00,2.5,1500,0");
    EXPECT_EQ(lines[3], "");
}
