// The one-page PDF lab report, read back with poppler's tools: one page of the locale's paper, the text
// extractable, the chart drawn as shapes and text (no picture in the file), nothing left on failure.
#include "reports/PdfReport.h"
#include "reports/ReportSource.h"
#include "results/DerivedValues.h"
#include "tests/reports/ReportFixtures.h"
#include "tests/support/PdfText.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

ReportSource sourceOf(const ResultTable &rows, bool si, const ReportedTestInfo &info = ReportFixtures::eiInfo())
{
    return ReportSource::of(info, rows, DerivedValues::fromResults(rows, si ? 2 : 1), si);
}

} // namespace

TEST(PdfReport, PaperSizeFollowsTheLocale)
{
    struct Case {
        const char *locale;
        QPageSize::PageSizeId size;
    };
    const Case cases[] = {
        {"en_US", QPageSize::Letter}, {"en_CA", QPageSize::Letter}, {"fr_CA", QPageSize::Letter},
        {"es_MX", QPageSize::Letter}, {"en_PH", QPageSize::Letter}, {"en_GB", QPageSize::A4},
        {"de_DE", QPageSize::A4},     {"fr_FR", QPageSize::A4},     {"nb_NO", QPageSize::A4},
        {"C", QPageSize::A4},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PdfReport::pageSizeFor(QLocale(QString::fromLatin1(c.locale))).id(), c.size) << c.locale;
}

TEST(PdfReport, OnePageWithTheTestTheChartTheReadingsAndTheModels)
{
    TempDir dir;
    for (const QPageSize::PageSizeId size : {QPageSize::A4, QPageSize::Letter}) {
        SCOPED_TRACE(int(size));
        const QString path = dir.file(size == QPageSize::A4 ? "a4.pdf" : "letter.pdf");
        QString error;
        ASSERT_TRUE(PdfReport::save(sourceOf(ReportFixtures::fannSixSpeedRows(), false), path, QPageSize(size), &error))
            << error.toStdString();
        const QString info = PdfText::info(path);
        EXPECT_TRUE(info.contains(QRegularExpression("Pages: +1\n"))) << info.toStdString();
        EXPECT_TRUE(info.contains(size == QPageSize::A4 ? "595 x 842 pts (A4)" : "612 x 792 pts (letter)"))
            << info.toStdString();
        // Vector drawing: the file holds no image at all.
        EXPECT_TRUE(PdfText::images(path).isEmpty()) << PdfText::images(path).join('\n').toStdString();

        const QString text = PdfText::text(path);
        for (const char *expected :
             {"K7100 Test Report", "EI units", "Test Name:", "Mud A-12", "Fluid ID:", "WBM 12.5 ppg",
              // the chart's own texts: title, subtitle, axis titles, legend
              "Shear Stress Vs. Shear Rate", "Shear Rate (1/S)", "Herschel-Bulkley fit", "Power law, annulus",
              "Dial readings", "Rheology models", "Herschel-Bulkley, least squares"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
        // A dial reading per speed, PV/YP and a model value each with its unit.
        for (const char *pattern :
             {"600\\.0 +1021\\.38 +60\\.00", "3\\.0 +5\\.11 +7\\.00", "PV +20\\.00 cP", "YP +20\\.00 lb/100ft2",
              "10-second gel +N/A lb/100ft2", "K +5\\.3355 dyn·s\\^n/cm2"})
            EXPECT_TRUE(text.contains(QRegularExpression(QString::fromUtf8(pattern)))) << pattern;
    }
}

TEST(PdfReport, MetricUnitsAndALongFlowCurveStayOnOnePage)
{
    // Fifty falling speeds in one run: more readings than the page has room for.
    ResultTable rows;
    for (int s = 1; s <= 50; ++s) {
        const double speed = 600 - (s - 1) * 12;
        const double dial = 10 + speed / 12;
        rows.push_back(ReportFixtures::row({double(s), 60, 120, speed * 1.7023, speed, dial * 5.11, 100, 0, 1, dial}));
    }
    ReportedTestInfo info = ReportFixtures::siInfo();
    info.desc = QString("A long description ").repeated(40);
    TempDir dir;
    const QString path = dir.file("long.pdf");
    QString error;
    ASSERT_TRUE(PdfReport::save(sourceOf(rows, true, info), path, QPageSize(QPageSize::A4), &error));
    EXPECT_TRUE(PdfText::info(path).contains(QRegularExpression("Pages: +1\n")));
    const QString text = PdfText::text(path);
    EXPECT_TRUE(text.contains("SI units"));
    EXPECT_TRUE(text.contains(QRegularExpression("\\.\\.\\. and \\d+ more steps"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Readings +50"))) << text.toStdString();
    EXPECT_TRUE(text.contains("dyn/cm2"));
}

TEST(PdfReport, AFailedSaveLeavesNoFile)
{
    TempDir dir;
    QString error;
    EXPECT_FALSE(PdfReport::save(sourceOf({}, false), dir.file("missing/r.pdf"), QPageSize(QPageSize::A4), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QDir(dir.file("missing")).exists());

    // A folder where the file should go: refused, the folder left as it was.
    ASSERT_TRUE(QDir().mkpath(dir.file("r.pdf/inside")));
    EXPECT_FALSE(PdfReport::save(sourceOf(ReportFixtures::fannSixSpeedRows(), false), dir.file("r.pdf"),
                                 QPageSize(QPageSize::A4), &error));
    EXPECT_EQ(QDir(dir.file("r.pdf")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"inside"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"r.pdf"}));
}
