// The rheology commands of the main window as an operator uses them: the Rheology window, the model
// curves over the stress charts and the PDF lab report from the File menu.
#include "platform/ChartView.h"
#include "results/MainChartController.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/PdfText.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLegend>
#include <QListWidget>
#include <QRegularExpression>
#include <QTableWidget>
#include <QXYSeries>

namespace {

using RheologyWindowTest = MainWindowFixture;

// The table's rows as "model|parameter|value|unit", the model carried down to the rows that leave it out.
QStringList rowsOf(const QTableWidget *table)
{
    QStringList rows;
    QString model;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (!table->item(r, 0)->text().isEmpty())
            model = table->item(r, 0)->text();
        rows << QStringList{model, table->item(r, 1)->text(), table->item(r, 2)->text(), table->item(r, 3)->text()}
                    .join('|');
    }
    return rows;
}

QStringList readingsOf(const QTableWidget *table)
{
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << table->item(r, c)->text();
        rows << cells.join('|');
    }
    return rows;
}

} // namespace

TEST_F(RheologyWindowTest, WithNoOpenTestTheCommandsSaySo)
{
    window->cmdRheology_Click();
    window->MenuFilePdf_Click();
    EXPECT_EQ(prompts.messageTexts(), QStringList(2, "No opened test.  You must open a test first."));
    EXPECT_EQ(prompts.lastMessage()->title, "Operation Error");
    for (const PromptRecord &r : prompts.records)
        EXPECT_NE(r.kind, PromptRecord::SaveFile);
}

TEST_F(RheologyWindowTest, TheWindowShowsTheModelsOfTheOpenTestInItsUnits)
{
    openTest(QStringLiteral("Mud A"));
    QStringList models;
    QStringList readings;
    auto read = [&](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Rheology - Mud A");
        auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("tblModels"));
        auto *flow = dialog->findChild<QTableWidget *>(QStringLiteral("tblReadings"));
        ASSERT_TRUE(table && flow);
        EXPECT_EQ(table->accessibleName(), "Rheology models");
        EXPECT_EQ(flow->accessibleName(), "Flow curve readings");
        models = rowsOf(table);
        readings = readingsOf(flow);
        dialog->findChild<QPushButton *>(QStringLiteral("cmdClose"))->click();
    };
    whileModal(QStringLiteral("frmRheology"), read);
    window->findChild<QPushButton *>(QStringLiteral("cmdRheology"))->click();
    EXPECT_EQ(models.size(), 19);
    for (const char *row :
         {"Bingham plastic|PV|20.00|cP", "Bingham plastic|YP|20.00|lb/100ft2",
          "Gel strength|10-second gel|12.00|lb/100ft2", "Gel strength|30-minute gel|N/A|lb/100ft2",
          "Power law, pipe (600/300 rpm)|K|5.3355|dyn·s^n/cm2", "Herschel-Bulkley, API RP 13D|τy|6.00|lb/100ft2",
          "Herschel-Bulkley, least squares|Readings|6|"})
        EXPECT_TRUE(models.contains(QString::fromUtf8(row))) << row << "\n" << models.join('\n').toStdString();
    // The flow curve is steps 1 to 6; the 3 rpm gel readings of steps 9 and 12 are not in it.
    EXPECT_EQ(readings,
              QStringList({"1|600.0|1021.38|60.00", "2|300.0|510.69|40.00", "3|200.0|340.46|32.00",
                           "4|100.0|170.23|23.00", "5|6.0|10.21|8.00", "6|3.0|5.11|7.00"}));

    // In metric units, after the setup screen changed them: a dial degree is 5.11 dyn/cm2.
    state.UnitSystem = UnitsSI;
    state.UnitsChanged = true;
    window->Form_Activate();
    whileModal(QStringLiteral("frmRheology"), read);
    window->MenuFileRheology_Click();
    EXPECT_TRUE(models.contains("Herschel-Bulkley, API RP 13D|τy|30.66|dyn/cm2")) << models.join('\n').toStdString();
    EXPECT_TRUE(models.contains("Bingham plastic|YP|102.20|dyn/cm2"));
}

TEST_F(RheologyWindowTest, ModelCurvesAreDrawnOnTheStressChartsWhenAsked)
{
    QCheckBox *option = window->modelCurvesOption();
    ChartModel &chart = controller->chart().model();
    ChartView *view = controller->chart().view();
    openTest(QStringLiteral("Mud A"));
    // Off by default: the chart is as it always was.
    EXPECT_TRUE(option->isEnabled());
    EXPECT_FALSE(option->isChecked());
    EXPECT_TRUE(chart.curves().isEmpty());

    option->setChecked(true);
    ASSERT_EQ(chart.curves().size(), 3);
    EXPECT_EQ(chart.curves().at(0).label, "Herschel-Bulkley fit");
    view->refresh();
    ASSERT_EQ(view->drawnCurves().size(), 3u);
    EXPECT_EQ(view->drawnCurves().at(1)->name(), "Power law, pipe");
    EXPECT_TRUE(view->chart()->legend()->isVisible());
    // The fitted curve ends on the 600 rpm reading: 60 degrees shown as 64.035 lb/100ft2.
    EXPECT_NEAR(chart.curves().at(0).points.last().y(), 60 * 5.11 / 4.788, 0.5);

    struct Step {
        int type;
        bool curves;
    };
    for (const Step &s :
         {Step{1, false}, Step{4, false}, Step{9, true}, Step{2, true}, Step{6, false}, Step{0, true}}) {
        SCOPED_TRACE(s.type);
        window->chartTypeList()->setCurrentIndex(s.type);
        window->cmbChartType_Click();
        EXPECT_EQ(option->isEnabled(), s.curves);
        EXPECT_TRUE(option->isChecked()); // the choice stays for the next stress chart
        EXPECT_EQ(chart.curves().size(), s.curves ? 3 : 0);
    }
    // An overlay keeps them; switching the option off takes them away and leaves the overlay.
    FannTests::add(db.connection(), 2, QStringLiteral("Oil B"), FannTests::oilBasedMud());
    whileModal(QStringLiteral("frmOverlapTestName"), [](QWidget *dialog) {
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("List1"));
        list->setCurrentItem(list->findItems(QStringLiteral("Oil B"), Qt::MatchExactly).value(0));
        dialog->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
    });
    window->cmdOverlap_Click();
    EXPECT_EQ(chart.seriesCount(), 2);
    EXPECT_EQ(chart.curves().size(), 3);
    option->setChecked(false);
    EXPECT_TRUE(chart.curves().isEmpty());
    EXPECT_EQ(chart.seriesCount(), 2);
}

TEST_F(RheologyWindowTest, PdfReportFromTheFileMenu)
{
    openTest(QStringLiteral("Mud A"));
    prompts.fileAnswers = {dir.file("lab report")};
    window->MenuFilePdf_Click();
    ASSERT_TRUE(QFile::exists(dir.file("lab report.pdf")));
    const PromptRecord &asked = prompts.records.front();
    EXPECT_EQ(asked.kind, PromptRecord::SaveFile);
    EXPECT_EQ(asked.title, "Save PDF Report");
    EXPECT_TRUE(prompts.messageTexts().isEmpty()) << prompts.messageTexts().join('|').toStdString();
    const QString text = PdfText::text(dir.file("lab report.pdf"));
    for (const char *expected : {"K7100 Test Report", "Mud A", "WBM-7", "Daily check, rig 7", "Rheology models"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(text.contains(QRegularExpression("10-second gel +12\\.00 lb/100ft2"))) << text.toStdString();

    // Cancelled: nothing written, nothing said. A folder that does not exist: said, nothing written.
    prompts.clear();
    window->MenuFilePdf_Click();
    EXPECT_TRUE(prompts.messageTexts().isEmpty());
    prompts.fileAnswers = {dir.file("no such folder/r.pdf")};
    window->MenuFilePdf_Click();
    ASSERT_EQ(prompts.messageTexts().size(), 1);
    EXPECT_TRUE(prompts.messageTexts().front().startsWith("The PDF report could not be saved as"));
    EXPECT_FALSE(QFile::exists(dir.file("no such folder/r.pdf")));
}
