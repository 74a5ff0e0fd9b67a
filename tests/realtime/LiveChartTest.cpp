// The live chart's point store and time window, read back from the chart model.
#include "realtime/LiveChart.h"

#include "platform/ChartModel.h"
#include "realtime/RealTimeReadouts.h"

#include <gtest/gtest.h>

namespace {

const QDateTime start(QDate(2026, 3, 2), QTime(10, 0, 0));

RealTimeReadouts readoutsFor(int k)
{
    RealTimeReadouts r;
    r.chartStress = k;
    r.chartViscosity = k + 0.5;
    r.chartTemperature = 70 + k % 10;
    r.chartDial = k / 5.11;
    return r;
}

double at(double seconds)
{
    return ChartModel::chartTime(start.addMSecs(qint64(seconds * 1000)));
}

} // namespace

TEST(LiveChart, BuildSetsTitlesSeriesColoursAndAxes)
{
    ChartModel model;
    LiveChart chart(model);
    chart.build(start);
    EXPECT_EQ(model.title(), QStringLiteral("Shear Stress ,Viscosity & Temperature Vs. Time"));
    EXPECT_EQ(model.subtitle(), QString());
    EXPECT_EQ(model.xLabel(), QStringLiteral("Time (S)"));
    EXPECT_EQ(model.xKind(), AxisKind::DateTime);
    ASSERT_EQ(model.seriesCount(), 4);
    EXPECT_EQ(model.pointCapacity(), 1500);

    struct Series {
        const char *label;
        ChartColor color;
        int axis;
    };
    const Series series[] = {{"Shear Stress", {0, 0, 255}, 0},
                             {"Viscosity", {0, 255, 0}, 1},
                             {"Temperature", {255, 0, 0}, 2},
                             {"Dial Reading", {128, 128, 0}, 3}};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(model.seriesLabel(s), QString::fromLatin1(series[s].label));
        EXPECT_EQ(model.seriesColor(s), series[s].color);
        EXPECT_EQ(model.seriesYAxis(s), series[s].axis);
        EXPECT_EQ(model.yAxisColor(series[s].axis), series[s].color);
        EXPECT_EQ(model.writtenCount(s), 0);
    }
    struct Axis {
        const char *label;
        AxisSide side;
        AxisRange range;
    };
    const Axis axes[] = {{"Shear Stress (dyn/cm2)", AxisSide::Left, {0.0, std::nullopt}},
                         {"Viscosity (Cp)", AxisSide::Right, {0.0, std::nullopt}},
                         {"Temperature (°F)", AxisSide::Left, {10.0, 230.0}},
                         {"Dial Reading (degree)", AxisSide::Right, {}}};
    ASSERT_EQ(model.yAxisCount(), 4);
    for (int a = 0; a < 4; ++a) {
        EXPECT_EQ(model.yLabel(a), QString::fromUtf8(axes[a].label));
        EXPECT_EQ(model.yAxisSide(a), axes[a].side);
        EXPECT_EQ(model.yRange(a), axes[a].range);
    }
    EXPECT_EQ(chart.pointIndex(), 1);
    EXPECT_EQ(model.xRange(), (AxisRange{at(0), at(20 * 60)}));
}

TEST(LiveChart, StoreShiftsBy200BeforeThe1499thReading)
{
    ChartModel model;
    LiveChart chart(model);
    chart.build(start);
    for (int k = 1; k <= 1498; ++k)
        chart.addReading(start.addSecs(k), readoutsFor(k));
    EXPECT_EQ(chart.pointIndex(), 1499);
    EXPECT_EQ(model.writtenCount(0), 1498);

    chart.addReading(start.addSecs(1499), readoutsFor(1499));
    EXPECT_EQ(chart.pointIndex(), 1300);
    for (int s = 0; s < 4; ++s) {
        ASSERT_TRUE(model.point(s, 1299).has_value());
        EXPECT_EQ(model.point(s, 1299)->x(), at(1499));
        // Slot 0 and the 199 oldest readings left; reading 200 is now first.
        EXPECT_EQ(model.point(s, 0)->x(), at(200));
        EXPECT_FALSE(model.point(s, 1300).has_value());
        EXPECT_EQ(model.writtenCount(s), 1300);
    }
    EXPECT_DOUBLE_EQ(model.point(0, 1299)->y(), 1499);
    EXPECT_DOUBLE_EQ(model.point(1, 1299)->y(), 1499.5);
    EXPECT_DOUBLE_EQ(model.point(2, 1299)->y(), 79);
    EXPECT_DOUBLE_EQ(model.point(3, 1299)->y(), 1499 / 5.11);
}

TEST(LiveChart, WindowMovesOn30SecondsOnceAReadingIsPastIt)
{
    struct Case {
        const char *name;
        double seconds;
        double min, max;
    };
    const Case cases[] = {
        {"at 20 min the window stays", 20 * 60, 0, 20 * 60},
        {"at 20 min 1 s it moves", 20 * 60 + 1, 30, 20 * 60 + 30},
        {"within the moved window it stays", 20 * 60 + 30, 30, 20 * 60 + 30},
        {"past it again", 20 * 60 + 31, 60, 21 * 60},
    };
    ChartModel model;
    LiveChart chart(model);
    chart.build(start.addSecs(-100));
    chart.startAt(start);
    EXPECT_EQ(chart.startTime(), at(0));
    for (const Case &c : cases) {
        chart.addReading(start.addMSecs(qint64(c.seconds * 1000)), readoutsFor(1));
        EXPECT_EQ(chart.xAxisMin(), at(c.min)) << c.name;
        EXPECT_EQ(chart.xAxisMax(), at(c.max)) << c.name;
        EXPECT_EQ(model.xRange(), (AxisRange{at(c.min), at(c.max)})) << c.name;
    }
}

TEST(LiveChart, ShowAllAndLastThreeMinutesLastUntilTheNextBuild)
{
    ChartModel model;
    LiveChart chart(model);
    chart.build(start);
    chart.showLastMinutes();
    EXPECT_EQ(model.xRange(), (AxisRange{at(0), at(180)})) << "before any reading: the first 3 minutes";
    for (int k = 1; k <= 600; ++k)
        chart.addReading(start.addSecs(k), readoutsFor(k));
    EXPECT_EQ(model.xRange(), (AxisRange{at(600 - 180), at(600)}));
    chart.addReading(start.addSecs(1300), readoutsFor(1)); // also past the 20-minute window
    EXPECT_EQ(model.xRange(), (AxisRange{at(1300 - 180), at(1300)}));

    chart.showAll();
    EXPECT_TRUE(model.xRange().isAutomatic());
    chart.addReading(start.addSecs(1400), readoutsFor(1));
    EXPECT_TRUE(model.xRange().isAutomatic());
    EXPECT_EQ(chart.xAxisMax(), at(20 * 60 + 60)) << "the window is still kept up behind the scenes";

    chart.build(start.addSecs(2000));
    EXPECT_EQ(chart.view(), LiveChart::View::Window);
    EXPECT_EQ(model.xRange(), (AxisRange{at(2000), at(2000 + 20 * 60)}));
    EXPECT_EQ(model.writtenCount(0), 0);
}
