// The command line writes the same files as the windows: the detailed and brief workbooks and the text
// report of a test exported through the main window and through `k7100daq export`, compared as openpyxl
// reads them (and byte for byte for the text report).
#include "tests/app/MainWindowFixture.h"
#include "tests/support/FileBytes.h"
#include "tests/support/Openpyxl.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

using SameFilesTest = MainWindowFixture;

int runProgram(const QStringList &arguments, const QString &workDir)
{
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(K7100_PROGRAM), arguments);
    if (!p.waitForFinished(60000))
        return -1;
    EXPECT_TRUE(p.readAllStandardError().isEmpty());
    return p.exitCode();
}

QStringList cellsOf(const QString &path)
{
    QString error;
    QStringList cells = Openpyxl::cells(path, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return cells;
}

} // namespace

TEST_F(SameFilesTest, WindowsAndCommandLineWriteTheSameReports)
{
    for (const int units : {UnitsEI, UnitsSI}) {
        SCOPED_TRACE(units);
        state.UnitSystem = units;
        openTest(QStringLiteral("Mud A"));
        prompts.fileAnswers = {dir.file("w_detail.xlsx"), dir.file("w_brief.xlsx"), dir.file("w_text.txt")};
        window->cmdExport_Click();
        window->cmdBrief_Click();
        window->menureport_Click();
        ASSERT_TRUE(prompts.messageTexts().isEmpty()) << prompts.messageTexts().join('|').toStdString();

        ASSERT_EQ(runProgram({"export", "Mud A", units == UnitsSI ? "--si" : "--ei", "--detail", "c_detail.xlsx",
                              "--brief", "c_brief.xlsx", "--text", "c_text.txt"},
                             dir.path()),
                  0);
        const QStringList windowDetail = cellsOf(dir.file("w_detail.xlsx"));
        ASSERT_GT(windowDetail.size(), 300);
        // The API τy on the Rheology sheet: 6 lb/100ft2, or 6 × 5.11 dyn/cm2.
        EXPECT_NEAR(windowDetail.filter(QRegularExpression("^Rheology!C17\t")).value(0).mid(13).toDouble(),
                    units == UnitsSI ? 6 * 5.11 : 6.0, 1e-9);
        EXPECT_EQ(cellsOf(dir.file("c_detail.xlsx")), windowDetail);
        EXPECT_EQ(cellsOf(dir.file("c_brief.xlsx")), cellsOf(dir.file("w_brief.xlsx")));
        EXPECT_EQ(readFile(dir.file("c_text.txt")), readFile(dir.file("w_text.txt")));
        EXPECT_FALSE(readFile(dir.file("w_text.txt")).isEmpty());
    }
}
