// The workbook of a calibration check: its cells, and saving it through the save dialog (read back with
// openpyxl, an independent reader), cancelled, refused or with nothing to export.
#include "calcheck/CalibrationWorkbook.h"
#include "platform/WorkbookModel.h"
#include "realtime/RealTimeReading.h"
#include "tests/calcheck/CalCheckFixture.h"
#include "tests/support/Openpyxl.h"

#include <QFile>

using calcheck::reading;

namespace {

// A 50 cP check: four targets sent; 3, 6 and 10 measured, 100 not yet, 800 not run.
CalibrationTable fiftyCentipoiseCheck()
{
    CalibrationTable t;
    t.reset(CalibrationPlan::forViscosity(50), QDateTime(QDate(2026, 1, 15), QTime(9, 30, 5)));
    for (const QByteArray &m : {reading(1, 28, 3), reading(2, 28, 7), reading(3, 28, 9)})
        EXPECT_TRUE(t.take(RealTimeReading::decode(m)));
    return t;
}

// The sheet's values, one line per row, cells separated by "|" (empty cells empty), as openpyxl reads them.
QStringList readBack(const QString &path)
{
    QString error;
    const QStringList lines =
        Openpyxl::run(QStringLiteral("import sys, openpyxl\n"
                                     "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                     "print(ws.title)\n"
                                     "for row in ws.iter_rows(values_only=True):\n"
                                     "    print('|'.join('' if v is None else str(v) for v in row))\n"),
                      {path}, &error);
    return error.isEmpty() ? lines : QStringList{error};
}

class CalibrationWorkbookTest : public CalCheckFixture {};

} // namespace

TEST(CalibrationWorkbook, HoldsViscosityTimeAndEveryTargetWithNAWhereNotMeasured)
{
    const WorkbookModel book = CalibrationWorkbook::build(fiftyCentipoiseCheck());
    ASSERT_EQ(book.sheets().size(), 1u);
    const WorkbookModel::Sheet &s = book.sheets().front();
    EXPECT_EQ(s.name(), QStringLiteral("Calibration Check"));
    EXPECT_EQ(s.textAt(3, 1), QStringLiteral("Calibration Fluid Viscosity:"));
    EXPECT_EQ(s.numberAt(3, 2), 50.0);
    EXPECT_EQ(s.textAt(4, 2), QStringLiteral("2026-01-15 09:30:05"));
    EXPECT_EQ(s.textAt(6, 1), QStringLiteral("Shear Stress  (dyn/cm2)"));
    EXPECT_EQ(s.textAt(6, 4), QStringLiteral("Error (dyn/cm2)"));
    EXPECT_EQ(s.textAt(6, 5), QStringLiteral("Error (%)"));

    struct Row {
        int target;
        std::optional<double> speed, measured, error, percent;
    };
    const Row rows[] = {
        {3, 3.52, 3, 0.0, 0.0},
        {6, 7.05, 7, 1.0, 16.7},
        {10, 11.75, 9, -1.0, 10.0},
        {100, 117.49, std::nullopt, std::nullopt, std::nullopt},
        {800, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };
    for (int i = 0; i < 5; ++i) {
        const int r = 7 + i;
        const Row &e = rows[i];
        EXPECT_EQ(s.numberAt(r, 1), double(e.target)) << r;
        const std::optional<double> cells[] = {e.speed, e.measured, e.error, e.percent};
        for (int c = 0; c < 4; ++c) {
            if (cells[c]) {
                ASSERT_TRUE(s.numberAt(r, c + 2).has_value()) << r << "," << c + 2;
                EXPECT_NEAR(*s.numberAt(r, c + 2), *cells[c], 1e-9) << r << "," << c + 2;
            } else {
                EXPECT_EQ(s.textAt(r, c + 2), QStringLiteral("N/A")) << r << "," << c + 2;
            }
        }
    }
    EXPECT_EQ(s.styleAt(7, 4).numberFormat, "0.0");
    EXPECT_EQ(s.styleAt(7, 2).numberFormat, "0.00");
}

TEST_F(CalibrationWorkbookTest, ExportWritesTheChosenFileAndOpensIt)
{
    prompts.fileAnswers = {dir.file(QStringLiteral("check"))};
    prompts.desktopOpens = true;
    const QString path = CalibrationWorkbook::exportTo(ctx, fiftyCentipoiseCheck());
    EXPECT_EQ(path, dir.file(QStringLiteral("check.xlsx")));
    ASSERT_TRUE(QFile::exists(path));
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::SaveFile);
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("Export to Excel"));
    EXPECT_EQ(prompts.records[0].text, dir.file(QStringLiteral("Calibration check 2026-01-15 09-30.xlsx")));
    EXPECT_EQ(prompts.records[1].kind, PromptRecord::OpenDesktop);
    EXPECT_EQ(prompts.records[1].text, path);

    const QStringList lines = readBack(path);
    const QStringList expected = {
        QStringLiteral("Calibration Check"),
        QStringLiteral("Auto Calibration Check||||"),
        QStringLiteral("||||"),
        QStringLiteral("Calibration Fluid Viscosity:|50|cP||"),
        QStringLiteral("Date and Time:|2026-01-15 09:30:05|||"),
        QStringLiteral("||||"),
        QStringLiteral("Shear Stress  (dyn/cm2)|Speed (Rpm)|Measured Shear Stress (dyn/cm2)|Error (dyn/cm2)|Error (%)"),
        QStringLiteral("3|3.52|3|0|0"),
        QStringLiteral("6|7.05|7|1|16.7"),
        QStringLiteral("10|11.75|9|-1|10"),
        QStringLiteral("100|117.49|N/A|N/A|N/A"),
        QStringLiteral("800|N/A|N/A|N/A|N/A"),
    };
    EXPECT_EQ(lines.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());

    // The table's values are numbers a spreadsheet adds up, each under the format showing the screen's
    // digits; "N/A" is the only text.
    QString error;
    const QStringList kinds = Openpyxl::run(QStringLiteral("import sys, openpyxl\n"
                                                           "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                                           "for row in ws.iter_rows(min_row=7, max_row=11):\n"
                                                           "    print('|'.join(c.data_type + ' ' + c.number_format\n"
                                                           "                   for c in row))\n"),
                                            {path}, &error);
    EXPECT_EQ(kinds.join(QLatin1Char('\n')).toStdString(),
              QStringList({QStringLiteral("n General|n 0.00|n 0|n 0.0|n 0.0"),
                           QStringLiteral("n General|n 0.00|n 0|n 0.0|n 0.0"),
                           QStringLiteral("n General|n 0.00|n 0|n 0.0|n 0.0"),
                           QStringLiteral("n General|n 0.00|s General|s General|s General"),
                           QStringLiteral("n General|s General|s General|s General|s General")})
                  .join(QLatin1Char('\n'))
                  .toStdString())
        << error.toStdString();
}

TEST_F(CalibrationWorkbookTest, SavedFileWithoutASpreadsheetApplicationIsSaidOnce)
{
    prompts.fileAnswers = {dir.file(QStringLiteral("check.xlsx"))};
    ASSERT_FALSE(CalibrationWorkbook::exportTo(ctx, fiftyCentipoiseCheck()).isEmpty());
    ASSERT_EQ(prompts.messageTexts().size(), 1);
    EXPECT_TRUE(prompts.lastMessage()->text.contains(dir.file(QStringLiteral("check.xlsx"))));
}

TEST_F(CalibrationWorkbookTest, FileThatCannotBeWrittenIsToldOnceWithItsNameAndKeepsAnEarlierOne)
{
    // A directory in the way of the file: nothing can replace it.
    const QString blocked = dir.file(QStringLiteral("blocked.xlsx"));
    ASSERT_TRUE(QDir().mkdir(blocked));
    const QString missingDir = dir.file(QStringLiteral("no such folder/check.xlsx"));
    for (const QString &target : {blocked, missingDir}) {
        prompts.clear();
        prompts.fileAnswers = {target};
        EXPECT_TRUE(CalibrationWorkbook::exportTo(ctx, fiftyCentipoiseCheck()).isEmpty());
        ASSERT_EQ(prompts.messageTexts().size(), 1) << target.toStdString();
        EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Export to Excel"));
        EXPECT_EQ(prompts.lastMessage()->icon, MsgIcon::Critical);
        EXPECT_TRUE(prompts.lastMessage()->text.contains(QDir::toNativeSeparators(target)));
    }
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    EXPECT_FALSE(QFile::exists(missingDir));
}

TEST_F(CalibrationWorkbookTest, CancelledDialogWritesNothing)
{
    EXPECT_TRUE(CalibrationWorkbook::exportTo(ctx, fiftyCentipoiseCheck()).isEmpty());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::SaveFile);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(CalibrationWorkbookTest, NothingToExportBeforeTheFirstStart)
{
    EXPECT_TRUE(CalibrationWorkbook::exportTo(ctx, CalibrationTable()).isEmpty());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::Message);
    EXPECT_EQ(prompts.records[0].text, CalibrationWorkbook::nothingToExportText());
}
