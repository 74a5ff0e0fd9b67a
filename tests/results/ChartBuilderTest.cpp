// The result charts as a model: the ten chart types' texts and columns, the sort, the elapsed time, the
// reset and the overlays, all without a display or a database.
#include "platform/ChartModel.h"
#include "results/ChartPlotPoints.h"
#include "results/ChartTypes.h"
#include "results/ResultChartBuilder.h"
#include "tests/results/ChartTestRows.h"

#include <gtest/gtest.h>

using namespace ChartTestRows;

namespace {

struct TypeCase {
    int type;
    const char *listText;
    const char *title;
    const char *xEI;
    const char *xSI;
    const char *yEI;
    const char *ySI;
    int xColumn; // -1: elapsed time
    int yColumn;
};

const TypeCase TypeCases[] = {
    {0, "Shr. Stress Vs. Shr. Rate", "Shear Stress Vs. Shear Rate", "Shear Rate (1/S)", "Shear Rate (1/S)",
     "Shear Stress (lb/100ft2)", "Shear Stress (dyn/cm2)", 3, 5},
    {1, "Viscocity Vs. Shear Rate", "Viscosity Vs. Shear Rate", "Shear Rate (1/S)", "Shear Rate (1/S)",
     "Viscosity (Cp)", "Viscosity (Cp)", 3, 6},
    {2, "Shr. Stress Vs. Speed", "Shear Stress vs. Speed", "Speed (Rpm)", "Speed (Rpm)", "Shear Stress (lb/100ft2)",
     "Shear Stress (dyn/cm2)", 4, 5},
    {3, "Viscocity Vs. Speed", "Viscosity Vs. Speed", "Speed(Rpm)", "Speed(Rpm)", "Viscosity (Cp)", "Viscosity (Cp)", 4,
     6},
    {4, "Viscocity Vs. Temperature", "Viscosity Vs. Temperature", "Temperature (°F)", "Temperature (°C)",
     "Viscosity (Cp)", "Viscosity (Cp)", 2, 6},
    {5, "Shr. Stress Vs. Temperature", "Shear Stress vs. Temperature", "Temperature (°F)", "Temperature (°C)",
     "Shear Stress (lb/100ft2)", "Shear Stress (dyn/cm2)", 2, 5},
    {6, "Shr. Stress Vs. Time", "Shear Stress vs. Time", "Time (S)", "Time (S)", "Shear Stress (lb/100ft2)",
     "Shear Stress (dyn/cm2)", -1, 5},
    {7, "Viscocity Vs. Time", "Viscosity Vs. Time", "Time (S)", "Time (S)", "Viscosity (Cp)", "Viscosity (Cp)", -1, 6},
    {8, "Temperature Vs. Time", "Temperature vs. Time", "Time (S)", "Time (S)", "Temperature (°F)", "Temperature (°C)",
     -1, 2},
    {9, "Fann_Deg Vs. Speed", "fann35 Dial vs. Speed", "Speed (Rpm)", "Speed (Rpm)", "fann35 Dial (Deg)",
     "fann35 Dial (Deg)", 4, 9},
};

struct BuilderTest : ::testing::Test {
    ChartModel model;
    ResultChartBuilder builder{model};
};

} // namespace

TEST_F(BuilderTest, EveryChartTypeHasItsTitlesAndLabelsInBothUnitSystems)
{
    ASSERT_EQ(ChartTypes::listTexts().size(), 10);
    for (const TypeCase &c : TypeCases) {
        EXPECT_EQ(ChartTypes::listTexts().at(c.type), QString::fromUtf8(c.listText));
        for (const bool si : {false, true}) {
            builder.reset(si);
            builder.drawOpenTest(c.type, {distinctColumns(10)}, si);
            EXPECT_EQ(model.title(), QString::fromUtf8(c.title)) << c.type;
            EXPECT_EQ(model.xLabel(), QString::fromUtf8(si ? c.xSI : c.xEI)) << c.type << " si " << si;
            EXPECT_EQ(model.yLabel(), QString::fromUtf8(si ? c.ySI : c.yEI)) << c.type << " si " << si;
            EXPECT_EQ(builder.chartType(), c.type);
        }
    }
}

TEST_F(BuilderTest, EveryChartTypePlotsItsColumns)
{
    // Column c of the row holds 10.5 + c; step 1, so the elapsed time is the recorded time (column 1).
    for (const TypeCase &c : TypeCases) {
        builder.reset(false);
        builder.drawOpenTest(c.type, {distinctColumns(10.5)}, false);
        const int xColumn = c.xColumn < 0 ? 1 : c.xColumn;
        ASSERT_EQ(model.writtenCount(0), 1) << c.type;
        EXPECT_EQ(model.point(0, 0), QPointF(10.5 + xColumn, 10.5 + c.yColumn)) << c.type;
    }
}

TEST_F(BuilderTest, PlottedValuesAreKeptInSinglePrecision)
{
    ResultTable rows = readings({{1, 1, 0.1, 1.0 / 3.0}});
    builder.reset(false);
    builder.drawOpenTest(2, rows, false);
    EXPECT_EQ(model.xValue(0, 0), single(0.1));
    EXPECT_EQ(model.yValue(0, 0), single(1.0 / 3.0));
    EXPECT_NE(model.xValue(0, 0), 0.1);
}

TEST_F(BuilderTest, SortedTypesDrawTheSixSpeedsFromLowToHigh)
{
    for (const int type : {0, 1, 2, 3, 9}) {
        builder.reset(false);
        builder.drawOpenTest(type, sixSpeeds(), false);
        const QList<QPointF> drawn = model.writtenPoints(0);
        for (int i = 1; i < drawn.size(); ++i)
            EXPECT_LT(drawn[i - 1].x(), drawn[i].x()) << "type " << type << " point " << i;
    }
    builder.reset(false);
    builder.drawOpenTest(2, sixSpeeds(), false);
    EXPECT_EQ(xs(model.writtenPoints(0)), QList<double>({3, 6, 100, 200, 300, 600}));
    // Each stress moved with its speed.
    EXPECT_EQ(model.point(0, 0), QPointF(3, 7));
    EXPECT_EQ(model.point(0, 5), QPointF(600, 60));
}

TEST_F(BuilderTest, TheExchangeSortSwapsOnlyOnAStrictlySmallerX)
{
    QList<QPointF> ties = {{2, 10}, {2, 20}, {1, 30}};
    ChartPlotPoints::exchangeSortByX(ties, 3);
    EXPECT_EQ(ties, QList<QPointF>({{1, 30}, {2, 20}, {2, 10}}));

    QList<QPointF> partly = {{3, 0}, {2, 0}, {1, 0}, {0, 0}};
    ChartPlotPoints::exchangeSortByX(partly, 3); // only the first m points take part
    EXPECT_EQ(xs(partly), QList<double>({1, 2, 3, 0}));
    ChartPlotPoints::exchangeSortByX(partly, 99); // m beyond the points is cut
    EXPECT_EQ(xs(partly), QList<double>({0, 1, 2, 3}));
}

TEST_F(BuilderTest, TimeChartsAddTheRoundedEndOfEachEarlierStep)
{
    // Step 1 ends at 59.6 s (60 once rounded), step 2 at 120 s.
    const ResultTable rows =
        readings({{1, 30, 600, 1}, {1, 59.6, 600, 2}, {2, 5, 300, 3}, {2, 120, 300, 4}, {3, 7, 200, 5}});
    const std::vector<double> elapsed = ChartPlotPoints::elapsedTimes(rows);
    EXPECT_EQ(elapsed, std::vector<double>({30, 59.6, 65, 180, 187}));

    for (const int type : {6, 7, 8}) {
        builder.reset(false);
        builder.drawOpenTest(type, rows, false);
        // Not sorted, and in single precision.
        EXPECT_EQ(xs(model.writtenPoints(0)), QList<double>({30, single(59.6), 65, 180, 187})) << type;
    }
}

TEST_F(BuilderTest, ElapsedTimeRoundsHalvesToTheEvenSecondAndStartsAtStepOne)
{
    // 2.5 s rounds to 2, 3.5 s to 4; a table starting at step 2 adds nothing (the last time is still 0).
    const ResultTable rows = readings({{2, 2.5, 3, 1}, {3, 3.5, 3, 1}, {4, 1, 3, 1}, {4, 2, 3, 1}});
    EXPECT_EQ(ChartPlotPoints::elapsedTimes(rows), std::vector<double>({2.5, 5.5, 7, 8}));
}

TEST_F(BuilderTest, ResetReturnsTheChartToItsNotDrawnStart)
{
    builder.reset(false);
    builder.drawOpenTest(4, sixSpeeds(), false);
    builder.addOverlay(sixSpeeds());
    model.setXScale(AxisScale::Log);
    model.setYScale(AxisScale::Log);
    model.setPlottingMethod(PlottingMethod::Spline);
    model.setSubtitle("Some test");

    for (const bool si : {false, true}) {
        builder.reset(si);
        EXPECT_FALSE(builder.isDrawn());
        EXPECT_EQ(builder.chartType(), 0);
        EXPECT_EQ(builder.seriesCount(), 1);
        EXPECT_EQ(builder.pointCount(), 9999);
        EXPECT_EQ(model.seriesCount(), 1);
        EXPECT_EQ(model.pointCapacity(), 9999);
        EXPECT_EQ(model.writtenCount(0), 0);
        EXPECT_EQ(model.seriesLabel(0), "Shear Stress");
        EXPECT_EQ(model.seriesColor(0), (ChartColor{0, 0, 255}));
        EXPECT_EQ(model.title(), "Shear Stress Vs. Shear Rate");
        EXPECT_EQ(model.subtitle(), "");
        EXPECT_EQ(model.xLabel(), "Shear Rate (1/S)");
        EXPECT_EQ(model.yLabel(), si ? "Shear Stress (dyn/cm2)" : "Shear Stress (lb/100ft2)");
        EXPECT_EQ(model.xScale(), AxisScale::Linear);
        EXPECT_EQ(model.yScale(), AxisScale::Linear);
        EXPECT_EQ(model.plottingMethod(), PlottingMethod::Lines);
    }
}

TEST_F(BuilderTest, AnEmptyOpenTestDrawsNothingAndHoldsNoPoints)
{
    builder.reset(false);
    builder.drawOpenTest(0, {}, false);
    EXPECT_TRUE(builder.isDrawn());
    EXPECT_EQ(builder.pointCount(), 0);
    EXPECT_EQ(model.pointCapacity(), 0);
    EXPECT_TRUE(model.visiblePoints(0).isEmpty());
}

TEST_F(BuilderTest, AnOpenTestOf9999RowsCountsAsDrawn)
{
    ResultTable rows(9999, distinctColumns(1));
    builder.reset(false);
    builder.drawOpenTest(6, rows, false);
    EXPECT_TRUE(builder.isDrawn());
    const auto overlay = builder.addOverlay(sixSpeeds());
    EXPECT_EQ(overlay.series, 1);
    EXPECT_EQ(model.writtenCount(0), 9999); // the open test stays as drawn
}

TEST_F(BuilderTest, OverlaysAddOneSortedSeriesEachWithTheirOwnColour)
{
    builder.reset(false);
    builder.drawOpenTest(0, sixSpeeds(), false);
    const auto first = builder.addOverlay(sixSpeeds(2.0));
    const auto second = builder.addOverlay(readings({{1, 1, 300, 1}, {2, 1, 100, 2}, {3, 1, 600, 3}}));

    EXPECT_EQ(first.series, 1);
    EXPECT_EQ(second.series, 2);
    EXPECT_FALSE(first.overCapacity);
    EXPECT_EQ(builder.seriesCount(), 3);
    EXPECT_EQ(model.seriesCount(), 3);
    for (int s = 0; s < 3; ++s) {
        const QList<QPointF> drawn = model.writtenPoints(s);
        ASSERT_FALSE(drawn.isEmpty()) << s;
        for (int i = 1; i < drawn.size(); ++i)
            EXPECT_LE(drawn[i - 1].x(), drawn[i].x()) << "series " << s;
    }
    EXPECT_EQ(model.writtenCount(2), 3);
    EXPECT_EQ(model.yValue(2, 2), 3.0); // 600 rpm came last after the sort
    EXPECT_NE(model.seriesColor(1), model.seriesColor(0));
    EXPECT_NE(model.seriesColor(2), model.seriesColor(1));
}

TEST_F(BuilderTest, AnOverlayOnATimeChartUsesItsOwnStepOffsets)
{
    builder.reset(false);
    builder.drawOpenTest(6, readings({{1, 10, 3, 1}, {1, 100, 3, 1}, {2, 10, 3, 1}}), false);
    builder.addOverlay(readings({{1, 20, 3, 1}, {2, 20, 3, 1}, {2, 40, 3, 1}}));
    EXPECT_EQ(xs(model.writtenPoints(0)), QList<double>({10, 100, 110}));
    EXPECT_EQ(xs(model.writtenPoints(1)), QList<double>({20, 40, 60}));
}

TEST_F(BuilderTest, AnOverlayLargerThanTheOpenTestIsCutAtItsCapacity)
{
    builder.reset(false);
    builder.drawOpenTest(2, readings({{1, 1, 300, 1}, {2, 1, 200, 2}}), false);
    const auto overlay = builder.addOverlay(readings({{1, 1, 600, 1}, {2, 1, 3, 2}, {3, 1, 100, 3}}));
    EXPECT_TRUE(overlay.overCapacity);
    EXPECT_EQ(overlay.pointsRead, 3);
    EXPECT_EQ(overlay.pointsDrawn, 2);
    // The two rows that fitted, sorted.
    EXPECT_EQ(xs(model.writtenPoints(1)), QList<double>({3, 600}));

    const auto same = builder.addOverlay(readings({{1, 1, 600, 1}, {2, 1, 3, 2}}));
    EXPECT_FALSE(same.overCapacity);
    const auto empty = builder.addOverlay({});
    EXPECT_EQ(empty.series, 3);
    EXPECT_EQ(model.seriesCount(), 4);
    EXPECT_EQ(model.writtenCount(3), 0);
}

TEST_F(BuilderTest, NoOverlayBeforeTheOpenTestIsDrawn)
{
    builder.reset(false);
    const auto overlay = builder.addOverlay(sixSpeeds());
    EXPECT_EQ(overlay.series, -1);
    EXPECT_EQ(model.seriesCount(), 1);
    EXPECT_EQ(model.writtenCount(0), 0);
}

TEST_F(BuilderTest, OverCapacityMessagesDependOnTheChartType)
{
    EXPECT_EQ(ChartTypes::overCapacityMessage(0),
              "Last opened test has more data points than the first one.  Please open the one with the most "
              "sample points first, then overlay others.");
    for (int type = 1; type < 10; ++type)
        EXPECT_EQ(ChartTypes::overCapacityMessage(type),
                  "Last opened test has more data points than the first one.  Please open a test with more "
                  "sample points first, then overlay others.")
            << type;
}
