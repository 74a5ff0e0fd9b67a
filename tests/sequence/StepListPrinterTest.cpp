#include "sequence/StepListPrinter.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QList<QStringList> numberedRows(int n)
{
    QList<QStringList> rows;
    for (int r = 1; r <= n; ++r)
        rows << QStringList{QString::number(r),       QString::number(r * 60),  QStringLiteral("100.0"),
                            QStringLiteral("300.00"), QStringLiteral("510.69"), QStringLiteral("10")};
    return rows;
}

// The PDF's text, page by page, as pdftotext lays it out.
QStringList pdfPages(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace

TEST(StepListPrinter, RowLinePadsFiveCellsTo19Characters)
{
    const QString line = StepListPrinter::rowLine({"1", "600", "100.0", "100.00", "170.23", "10"});
    EXPECT_EQ(line,
              QStringLiteral("1                  600                100.0              100.00             "
                             "170.23             "));
    EXPECT_EQ(line.size(), 5 * 19);
    // A 20-character cell is not cut and gets no blank after it.
    const QString longCell = QStringLiteral("12345678901234567890");
    EXPECT_EQ(StepListPrinter::rowLine({longCell, "2"}),
              longCell + QStringLiteral("2") + QString(18, QLatin1Char(' ')));
}

TEST(StepListPrinter, PagesBreakAfterRows39And79)
{
    const auto pages = StepListPrinter::pages(QStringLiteral("Mud A"), numberedRows(85));
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0][0], QStringLiteral("Below is the list of the test steps of Mud A"));
    EXPECT_EQ(pages[0][1], QString());
    EXPECT_EQ(pages[0][2], QStringLiteral("Step No   Elaps Time(S) Temperature(°F) Speed(Rpm)    Shear Rate(1/S)"));
    EXPECT_EQ(pages[0].size(), 3 + 39);
    EXPECT_TRUE(pages[0].last().startsWith(QStringLiteral("39 ")));
    EXPECT_EQ(pages[1].size(), 40);
    EXPECT_TRUE(pages[1].first().startsWith(QStringLiteral("40 ")));
    EXPECT_TRUE(pages[1].last().startsWith(QStringLiteral("79 ")));
    EXPECT_EQ(pages[2].size(), 6);
}

TEST(StepListPrinter, NoBlankPageAfterAFullLastPage)
{
    EXPECT_EQ(StepListPrinter::pages(QStringLiteral("S"), numberedRows(39)).size(), 1);
    EXPECT_EQ(StepListPrinter::pages(QStringLiteral("S"), numberedRows(40)).size(), 2);
    EXPECT_EQ(StepListPrinter::pages(QStringLiteral("S"), {}).size(), 1);
}

TEST(StepListPrinter, PrintsToThePrinterTheDialogChose)
{
    TempDir dir;
    ScriptedPrompts prompts;
    prompts.printPdfPath = dir.file(QStringLiteral("steps.pdf"));
    const QList<QStringList> rows = numberedRows(45);
    ASSERT_TRUE(StepListPrinter::print(prompts, QStringLiteral("Mud \"A\""), rows));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::Print);

    // pdftotext rebuilds the blanks between words from their positions, so lines are compared with
    // runs of blanks folded; the exact padding is checked on the text lines above.
    const QStringList pdf = pdfPages(prompts.printPdfPath);
    ASSERT_EQ(pdf.size(), 2);
    const auto printed = StepListPrinter::pages(QStringLiteral("Mud \"A\""), rows);
    ASSERT_EQ(printed.size(), 2);
    for (int p = 0; p < 2; ++p) {
        SCOPED_TRACE(p + 1);
        QStringList expected, actual;
        for (const QString &l : printed[p])
            if (!l.trimmed().isEmpty())
                expected << l.simplified();
        for (const QString &l : pdf[p].split(QLatin1Char('\n')))
            if (!l.trimmed().isEmpty())
                actual << l.simplified();
        EXPECT_EQ(actual, expected);
    }
    EXPECT_EQ(pdf[0].split(QLatin1Char('\n')).first().simplified(),
              QStringLiteral("Below is the list of the test steps of Mud \"A\""));
    EXPECT_TRUE(pdf[0].contains(QStringLiteral("\n39 ")));
    EXPECT_TRUE(pdf[1].trimmed().startsWith(QStringLiteral("40 ")));
    EXPECT_FALSE(pdf[1].contains(QStringLiteral("Below is the list")));
    // The record rate is not printed: each row ends with its shear rate.
    EXPECT_TRUE(pdf[1].trimmed().endsWith(QStringLiteral("510.69")));
}

TEST(StepListPrinter, CancelledDialogPrintsNothing)
{
    TempDir dir;
    ScriptedPrompts prompts; // no PDF path: the dialog is cancelled
    EXPECT_FALSE(StepListPrinter::print(prompts, QStringLiteral("S"), numberedRows(3)));
    EXPECT_EQ(prompts.messageTexts().size(), 0);
}
