// The main window's chart as the operator drives it: the chart-type list, the scale options, opening a
// test, overlays, the plotting method and printing; on the offscreen platform.
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/ChartView.h"
#include "results/ChartTypes.h"
#include "results/MainChartController.h"
#include "tests/results/ChartTestRows.h"
#include "tests/results/StoredTestFixture.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

#include <QButtonGroup>
#include <QChart>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QXYSeries>
#include <gtest/gtest.h>

using namespace ChartTestRows;

namespace {

struct ControllerTest : ::testing::Test {
    ProgramState state;
    ScriptedPrompts prompts;
    AppContext ctx;
    QWidget window;
    QWidget *chartArea = new QWidget(&window);
    QComboBox *list = new QComboBox(&window);
    QRadioButton *option1 = new QRadioButton("Normal", &window);
    QRadioButton *option2 = new QRadioButton("Log", &window);
    QRadioButton *option3 = new QRadioButton("Normal", &window);
    QRadioButton *option4 = new QRadioButton("Log", &window);
    QButtonGroup xGroup, yGroup;
    std::unique_ptr<MainChartController> chart;
    QString nextOverlay;

    ControllerTest()
    {
        ctx.state = &state;
        ctx.prompts = &prompts;
        xGroup.addButton(option1);
        xGroup.addButton(option2);
        yGroup.addButton(option3);
        yGroup.addButton(option4);
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(chartArea, 1);
        for (QWidget *w : std::initializer_list<QWidget *>{list, option1, option2, option3, option4})
            layout->addWidget(w);
        window.resize(1000, 560);
        chart = std::make_unique<MainChartController>(ctx, chartArea,
                                                      MainChartControls{list, option1, option2, option3, option4});
        OverlayCommand::Hooks hooks;
        hooks.chooseTest = [this] {
            state.OverlapTestName = nextOverlay;
            return !nextOverlay.isEmpty();
        };
        hooks.overlapRows = [](ProgramState &snapshot, WorkProgress &) {
            return snapshot.OverlapTestName == "Mud B" ? sixSpeeds(1.4) : readings({{1, 1, 300, 30}, {2, 1, 3, 5}});
        };
        chart->setOverlayHooks(hooks);
        chart->setOpenTestRows([this] { return std::make_shared<const ResultTable>(openRows); });
    }

    ResultTable openRows;

    void openTest(const QString &name, const ResultTable &rows)
    {
        state.CurrentTestName = name;
        openRows = rows;
        chart->showOpenTest();
        chart->view()->refresh();
    }

    void choose(int type)
    {
        emit list->activated(type);
        chart->view()->refresh();
    }

    // Saves what the chart shows when K7100_CHART_SHOTS names a folder (for a look by eye).
    void shot(const QString &name)
    {
        const QString dir = qEnvironmentVariable("K7100_CHART_SHOTS");
        if (dir.isEmpty())
            return;
        window.show();
        chart->view()->refresh();
        QCoreApplication::processEvents();
        window.grab().save(QDir(dir).filePath(name + ".png"));
    }
};

} // namespace

TEST_F(ControllerTest, TheListHoldsTheTenChartTypesAndTheChartSitsInItsArea)
{
    ASSERT_EQ(list->count(), 10);
    EXPECT_EQ(list->itemText(3), "Viscocity Vs. Speed");
    EXPECT_EQ(list->toolTip(), "Use this drop-down menu to select different chart types");
    EXPECT_EQ(option2->toolTip(), "Click here to select log chart scale");
    EXPECT_EQ(chart->view()->parentWidget(), chartArea);
    EXPECT_EQ(chart->view()->objectName(), "Pesgo1");
}

TEST_F(ControllerTest, OpeningATestDrawsTypeZeroWithItsNameAndNormalScales)
{
    option2->setChecked(true);
    option4->setChecked(true);
    list->setCurrentIndex(5);
    openTest("Mud A", sixSpeeds());

    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_TRUE(option1->isChecked());
    EXPECT_TRUE(option3->isChecked());
    EXPECT_EQ(chart->model().title(), "Shear Stress Vs. Shear Rate");
    EXPECT_EQ(chart->model().subtitle(), "Mud A");
    EXPECT_EQ(chart->builder().chartType(), 0);
    EXPECT_EQ(chart->view()->drawnSeries(0)->count(), 6);
    EXPECT_TRUE(chart->view()->chart()->title().contains("Mud A"));
    EXPECT_TRUE(chart->view()->accessibleName().contains("Shear Stress Vs. Shear Rate"));
}

TEST_F(ControllerTest, ChoosingAChartTypeRedrawsTheOpenTestInIt)
{
    openTest("Mud A", sixSpeeds());
    choose(3);
    EXPECT_EQ(chart->model().title(), "Viscosity Vs. Speed");
    EXPECT_EQ(chart->model().xLabel(), "Speed(Rpm)");
    EXPECT_EQ(chart->model().subtitle(), "Mud A");
    EXPECT_EQ(chart->builder().chartType(), 3);
    EXPECT_EQ(xs(chart->view()->drawnSeries(0)->points()), QList<double>({3, 6, 100, 200, 300, 600}));

    state.UnitSystem = UnitsSI;
    choose(8);
    EXPECT_EQ(chart->model().yLabel(), "Temperature (°C)");
}

TEST_F(ControllerTest, WithNoTestOpenTheListFallsBackToItsFirstEntry)
{
    list->setCurrentIndex(4);
    choose(4);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_FALSE(chart->builder().isDrawn());
}

TEST_F(ControllerTest, LogScalesDrawTheSeriesWithoutItsStandingRotorPoint)
{
    ResultTable rows = sixSpeeds();
    rows.push_back(readings({{7, 10, 0, 4}}).front()); // a rest step: speed and shear rate 0
    openTest("Mud A", rows);
    option2->click();
    option4->click();
    chart->view()->refresh();
    EXPECT_EQ(chart->model().xScale(), AxisScale::Log);
    EXPECT_EQ(chart->model().yScale(), AxisScale::Log);
    EXPECT_EQ(chart->view()->drawnSeries(0)->count(), 6);
    EXPECT_EQ(chart->model().writtenCount(0), 7);
    EXPECT_EQ(chart->model().point(0, 0), QPointF(0, 4)); // kept, only not drawn

    option1->click();
    chart->view()->refresh();
    EXPECT_EQ(chart->view()->drawnSeries(0)->count(), 7);

    // Another chart type starts linear again, and the options say so.
    option4->click();
    choose(9);
    EXPECT_EQ(chart->model().yScale(), AxisScale::Linear);
    EXPECT_TRUE(option3->isChecked());
    EXPECT_FALSE(option4->isChecked());
}

TEST_F(ControllerTest, OverlaysAreLabelledAndGoWhenTheChartTypeChanges)
{
    openTest("Mud A", sixSpeeds());
    nextOverlay = "Mud B";
    EXPECT_EQ(chart->overlap(), OverlayCommand::Outcome::Drawn);
    chart->view()->refresh();
    EXPECT_EQ(chart->model().seriesCount(), 2);
    EXPECT_EQ(chart->view()->drawnSeries(1)->name(), "Mud B");
    EXPECT_EQ(chart->view()->drawnSeries(0)->name(), "Mud A");
    shot("type0-overlay");

    choose(0);
    EXPECT_EQ(chart->model().seriesCount(), 1);
}

TEST_F(ControllerTest, ThePlottingMethodAppliesAtOnceAndAResetGoesBackToLines)
{
    openTest("Mud A", sixSpeeds());
    state.PlottingMethod = 3;
    chart->applyPlottingMethod();
    EXPECT_EQ(chart->model().plottingMethod(), PlottingMethod::PointsWithPowerCurve);
    chart->view()->refresh();
    EXPECT_EQ(chart->view()->chart()->series().size(), 2); // the points and their power curve
    shot("type0-power");

    choose(1);
    EXPECT_EQ(chart->model().plottingMethod(), PlottingMethod::Lines);
    EXPECT_EQ(state.PlottingMethod, 0);
}

TEST_F(ControllerTest, PrintingPutsTheChartAsShownIntoThePrintout)
{
    TempDir dir;
    openTest("Mud A", sixSpeeds());
    nextOverlay = "Mud B";
    chart->overlap();
    prompts.printPdfPath = dir.file("chart.pdf");
    ASSERT_TRUE(chart->printChart());

    QProcess text;
    text.start("pdftotext", {"-layout", prompts.printPdfPath, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains("Shear Stress Vs. Shear Rate")) << out.toStdString();
    EXPECT_TRUE(out.contains("Shear Stress (lb/100ft2)"));
    EXPECT_TRUE(out.contains("Mud A"));
    EXPECT_TRUE(out.contains("Mud B"));
    const QString keep = qEnvironmentVariable("K7100_CHART_SHOTS");
    if (!keep.isEmpty())
        QFile::copy(prompts.printPdfPath, QDir(keep).filePath("printed.pdf"));
}

TEST_F(ControllerTest, ScreenshotsOfTheTimeAndDialChartsOnLogScales)
{
    // A test with a gel rest (speed 0) in the middle, drawn as types 6 and 9 on log scales.
    openTest("Mud A",
             readings({{1, 30, 600, 60},
                       {1, 60, 600, 61},
                       {2, 60, 300, 40},
                       {3, 10, 0, 12},
                       {4, 60, 3, 7},
                       {5, 60, 100, 23},
                       {6, 60, 200, 32}}));
    choose(6);
    option2->click();
    option4->click();
    chart->view()->refresh();
    EXPECT_EQ(chart->view()->drawnSeries(0)->count(), 7);
    shot("type6-log");

    choose(9);
    option2->click();
    option4->click();
    chart->view()->refresh();
    EXPECT_EQ(chart->view()->drawnSeries(0)->count(), 6); // the rest step has speed 0
    shot("type9-log");
}

TEST_F(ControllerTest, AnEmptyTestOpenedAfterAnotherDrawsNoneOfTheOldPoints)
{
    openTest("Mud A", sixSpeeds());
    openTest("Nothing recorded", {});
    EXPECT_EQ(chart->model().pointCapacity(), 0);
    EXPECT_EQ(chart->view()->drawnSeries(0)->count(), 0);
    choose(2);
    EXPECT_EQ(chart->model().writtenCount(0), 0);
}

TEST_F(ControllerTest, TheWindowsOwnHandlersCanDriveItInsteadOfItsConnections)
{
    QWidget frame; // the two options of a scale share a frame, which makes them exclusive
    QComboBox ownList;
    QRadioButton normal(&frame), log(&frame);
    MainChartController driven(ctx, nullptr, MainChartControls{&ownList, &normal, &log, nullptr, nullptr, false});
    driven.setOpenTestRows([] { return std::make_shared<const ResultTable>(sixSpeeds()); });
    state.CurrentTestName = "Mud A";
    driven.showOpenTest();

    emit ownList.activated(4);
    log.click();
    EXPECT_EQ(driven.builder().chartType(), 0);
    EXPECT_EQ(driven.model().xScale(), AxisScale::Linear);

    driven.selectChartType(4);
    driven.setXLog(true);
    EXPECT_EQ(driven.builder().chartType(), 4);
    EXPECT_EQ(ownList.currentIndex(), 4);
    EXPECT_TRUE(log.isChecked());
    EXPECT_FALSE(normal.isChecked());
}

TEST_F(ControllerTest, TheOverlayReadsTheChosenStoredTestFromTheDatabase)
{
    StoredTestFixture stored;
    stored.addTest(1, "Base", {point(1, 60, 600, 300), point(2, 60, 300, 200), point(3, 60, 3, 40)});
    // Stored with rotor-bob 2 (shear rate factor 3.185) and out of speed order.
    stored.addTest(2, "Other", {point(1, 60, 3, 50, 2), point(2, 60, 600, 400, 2)});
    ctx.database = &stored.database();
    MainChartController fromDb(ctx, nullptr, MainChartControls{});
    OverlayCommand::Hooks dialog;
    dialog.chooseTest = [this] {
        state.OverlapTestName = "Other";
        return true;
    };
    fromDb.setOverlayHooks(dialog); // the row reader stays the database one
    state.CurrentTestName = "Base";
    fromDb.setOpenTestRows(
        [&] { return std::make_shared<const ResultTable>(ResultQuery(stored.db(), state).dosql()); });
    fromDb.showOpenTest();

    ASSERT_EQ(fromDb.overlap(), OverlayCommand::Outcome::Drawn);
    ASSERT_EQ(fromDb.model().writtenCount(1), 2);
    EXPECT_NEAR(fromDb.model().xValue(1, 0), 3 * 1.7023 * 3.185, 1e-3);
    EXPECT_NEAR(fromDb.model().xValue(1, 1), 600 * 1.7023 * 3.185, 1e-2);
    EXPECT_NEAR(fromDb.model().yValue(1, 1), 400 / 4.788, 1e-4);
    EXPECT_EQ(fromDb.model().seriesLabel(1), "Other");
    EXPECT_EQ(fromDb.model().seriesLabel(0), "Base");
}

TEST_F(ControllerTest, TheChartAreaMayGoBeforeTheController)
{
    auto *area = new QWidget;
    auto early = std::make_unique<MainChartController>(ctx, area, MainChartControls{});
    QPointer<ChartView> view = early->view();
    delete area;
    EXPECT_TRUE(view.isNull());
    EXPECT_FALSE(early->printChart());
    early.reset(); // must not touch the deleted view
}
