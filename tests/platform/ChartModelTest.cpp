// The chart model without any widget: the point table, scales that hide what they cannot show, the
// least-squares curves of the plotting methods and the change signals a view relies on.
#include "platform/ChartModel.h"

#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QList<QPointF> pts(std::initializer_list<std::pair<double, double>> list)
{
    QList<QPointF> out;
    for (const auto &[x, y] : list)
        out.append(QPointF(x, y));
    return out;
}

} // namespace

TEST(ChartModelPoints, WrittenSlotsReadBackAndUnwrittenOnesStayInvisible)
{
    ChartModel m;
    m.setSize(2, 5);
    EXPECT_TRUE(m.setPoint(0, 0, 1.5, 2.5));
    EXPECT_TRUE(m.setPoint(0, 3, 4.0, -1.0));
    EXPECT_EQ(m.point(0, 0), QPointF(1.5, 2.5));
    EXPECT_EQ(m.point(0, 3), QPointF(4.0, -1.0));
    EXPECT_FALSE(m.point(0, 1).has_value());
    EXPECT_EQ(m.xValue(0, 1), 0.0);
    EXPECT_EQ(m.writtenCount(0), 2);
    EXPECT_EQ(m.endIndex(0), 4);
    EXPECT_EQ(m.visiblePoints(0), pts({{1.5, 2.5}, {4.0, -1.0}}));
    EXPECT_TRUE(m.visiblePoints(1).isEmpty());
}

TEST(ChartModelPoints, WritesOutsideTheSizeAreRefused)
{
    ChartModel m;
    m.setSize(1, 3);
    EXPECT_FALSE(m.setPoint(0, 3, 1, 1));
    EXPECT_FALSE(m.setPoint(0, -1, 1, 1));
    EXPECT_FALSE(m.setPoint(1, 0, 1, 1));
    EXPECT_EQ(m.writtenCount(0), 0);
}

TEST(ChartModelPoints, ResizingKeepsValuesInsideTheNewSize)
{
    ChartModel m;
    m.setSize(2, 4);
    m.setPoint(0, 1, 1, 10);
    m.setPoint(0, 3, 3, 30);
    m.setPoint(1, 0, 5, 50);
    m.setSize(3, 2);
    EXPECT_EQ(m.point(0, 1), QPointF(1, 10));
    EXPECT_EQ(m.writtenCount(0), 1);
    EXPECT_EQ(m.endIndex(0), 2);
    EXPECT_EQ(m.point(1, 0), QPointF(5, 50));
    EXPECT_EQ(m.writtenCount(2), 0);
}

TEST(ChartModelPoints, SeriesPointsAreCutAtTheCapacityAndClearTheRest)
{
    ChartModel m;
    m.setSize(1, 3);
    m.setPoint(0, 2, 9, 9);
    EXPECT_EQ(m.setSeriesPoints(0, pts({{1, 1}, {2, 2}})), 2);
    EXPECT_FALSE(m.point(0, 2).has_value());
    EXPECT_EQ(m.setSeriesPoints(0, pts({{1, 1}, {2, 2}, {3, 3}, {4, 4}})), 3);
    EXPECT_EQ(m.writtenPoints(0), pts({{1, 1}, {2, 2}, {3, 3}}));
}

TEST(ChartModelPoints, ShiftDropsTheOldestAndLeavesEmptySlotsAtTheEnd)
{
    ChartModel m;
    m.setSize(2, 6);
    for (int i = 0; i < 6; ++i) {
        m.setPoint(0, i, i, 10 * i);
        m.setPoint(1, i, i, -i);
    }
    QSignalSpy shifted(&m, &ChartModel::pointsShifted);
    m.shiftLeft(2);
    ASSERT_EQ(shifted.count(), 1);
    EXPECT_EQ(shifted.at(0).at(0).toInt(), 2);
    EXPECT_EQ(m.point(0, 0), QPointF(2, 20));
    EXPECT_EQ(m.point(1, 3), QPointF(5, -5));
    EXPECT_FALSE(m.point(0, 4).has_value());
    EXPECT_FALSE(m.point(1, 5).has_value());
    EXPECT_EQ(m.writtenCount(0), 4);
    EXPECT_EQ(m.endIndex(0), 4);

    m.shiftLeft(100); // more than the capacity empties the table
    EXPECT_EQ(m.writtenCount(0), 0);
    EXPECT_EQ(m.endIndex(1), 0);
}

TEST(ChartModelScales, LogAxesLeaveOutWhatTheyCannotShowButKeepTheValues)
{
    ChartModel m;
    m.setSize(1, 5);
    m.setSeriesPoints(0, pts({{0, 5}, {1, 0}, {2, -3}, {3, 7}, {-1, 2}}));

    m.setYScale(AxisScale::Log);
    EXPECT_EQ(m.visiblePoints(0), pts({{0, 5}, {3, 7}, {-1, 2}}));
    m.setXScale(AxisScale::Log);
    EXPECT_EQ(m.visiblePoints(0), pts({{3, 7}}));
    m.setYScale(AxisScale::Linear);
    EXPECT_EQ(m.visiblePoints(0), pts({{1, 0}, {2, -3}, {3, 7}}));
    m.setXScale(AxisScale::Linear);
    EXPECT_EQ(m.visiblePoints(0), m.writtenPoints(0));
    EXPECT_EQ(m.writtenPoints(0), pts({{0, 5}, {1, 0}, {2, -3}, {3, 7}, {-1, 2}}));
}

TEST(ChartModelScales, EachSeriesIsFilteredByItsOwnYAxisAndNonFiniteValuesNeverShow)
{
    ChartModel m;
    m.setYAxisCount(2);
    m.setSize(2, 3);
    m.setSeriesYAxis(1, 1);
    m.setSeriesPoints(0, pts({{1, 0}, {2, NAN}, {3, 1}}));
    m.setSeriesPoints(1, pts({{1, 0}, {2, INFINITY}, {3, 1}}));
    m.setYScale(AxisScale::Log, 1);
    EXPECT_EQ(m.visiblePoints(0), pts({{1, 0}, {3, 1}}));
    EXPECT_EQ(m.visiblePoints(1), pts({{3, 1}}));
}

TEST(ChartModelScales, DateTimeXValuesAreNeverTreatedAsLogarithmic)
{
    ChartModel m;
    m.setSize(1, 2);
    m.setXKind(AxisKind::DateTime);
    m.setXScale(AxisScale::Log);
    const QDateTime t(QDate(2024, 3, 1), QTime(10, 0, 0), Qt::UTC);
    m.setPoint(0, 0, ChartModel::chartTime(t), 1);
    EXPECT_EQ(m.visiblePoints(0).size(), 1);
    EXPECT_EQ(ChartModel::dateTimeOf(m.xValue(0, 0)), t);
}

TEST(ChartModelFit, StraightLineAndPowerCurveRecoverExactData)
{
    const auto line = FitCurve::straightLine(pts({{0, 2}, {1, 5}, {2, 8}, {4, 14}}));
    ASSERT_TRUE(line);
    EXPECT_NEAR(line->a, 2.0, 1e-12);
    EXPECT_NEAR(line->b, 3.0, 1e-12);
    EXPECT_EQ(line->xMin, 0.0);
    EXPECT_EQ(line->xMax, 4.0);

    // y = 5 x^0.5; the standing-rotor point (0, 0) and a negative one cannot enter a power fit.
    const auto power = FitCurve::powerCurve(pts({{0, 0}, {1, 5}, {4, 10}, {-2, 3}, {100, 50}}));
    ASSERT_TRUE(power);
    EXPECT_NEAR(power->a, 5.0, 1e-9);
    EXPECT_NEAR(power->b, 0.5, 1e-12);
    EXPECT_EQ(power->xMin, 1.0);
    EXPECT_EQ(power->xMax, 100.0);
    EXPECT_NEAR(power->valueAt(9), 15.0, 1e-9);
}

TEST(ChartModelFit, TooFewUsablePointsGiveNoCurve)
{
    struct Case {
        const char *name;
        QList<QPointF> points;
        bool line;
        bool power;
    };
    const Case cases[] = {
        {"empty", {}, false, false},
        {"one point", pts({{1, 1}}), false, false},
        {"same x", pts({{2, 1}, {2, 3}}), false, false},
        {"one positive point", pts({{0, 1}, {3, 2}, {4, -1}}), true, false},
        {"two positive points", pts({{1, 1}, {3, 2}}), true, true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FitCurve::straightLine(c.points).has_value(), c.line) << c.name;
        EXPECT_EQ(FitCurve::powerCurve(c.points).has_value(), c.power) << c.name;
    }
}

TEST(ChartModelFit, ThePlottingMethodChoosesTheCurveAndItsSamplesFollowTheScales)
{
    ChartModel m;
    m.setSize(1, 4);
    m.setSeriesPoints(0, pts({{0, 0}, {1, 2}, {10, 20}, {100, 200}}));
    EXPECT_FALSE(m.fit(0));
    m.setPlottingMethod(PlottingMethod::Spline);
    EXPECT_FALSE(m.fit(0));

    m.setPlottingMethod(PlottingMethod::PointsWithPowerCurve);
    auto f = m.fit(0);
    ASSERT_TRUE(f);
    EXPECT_NEAR(f->b, 1.0, 1e-12);
    m.setXScale(AxisScale::Log);
    const QList<QPointF> samples = m.fitPoints(0, 3);
    ASSERT_EQ(samples.size(), 3);
    EXPECT_NEAR(samples[0].x(), 1.0, 1e-12);
    EXPECT_NEAR(samples[1].x(), 10.0, 1e-9); // geometric spacing on a log axis
    EXPECT_NEAR(samples[2].y(), 200.0, 1e-9);

    // The best-fit line of (0,1) (1,1) (2,10) is y = -0.5 + 4.5 x: its sample at x = 0 cannot show on a
    // log y axis, the other samples do.
    m.setXScale(AxisScale::Linear);
    m.setSeriesPoints(0, pts({{0, 1}, {1, 1}, {2, 10}}));
    m.setPlottingMethod(PlottingMethod::PointsWithLine);
    EXPECT_EQ(m.fitPoints(0, 5).size(), 5);
    m.setYScale(AxisScale::Log);
    const QList<QPointF> positive = m.fitPoints(0, 5);
    ASSERT_EQ(positive.size(), 4);
    EXPECT_NEAR(positive[0].x(), 0.5, 1e-12);
    EXPECT_NEAR(positive[0].y(), 1.75, 1e-12);
}

TEST(ChartModelMethod, CodesFromTheSetupScreenMapToMethods)
{
    const std::pair<int, PlottingMethod> cases[] = {
        {0, PlottingMethod::Lines},          {1, PlottingMethod::Spline},
        {2, PlottingMethod::PointsWithLine}, {3, PlottingMethod::PointsWithPowerCurve},
        {4, PlottingMethod::Lines},          {-1, PlottingMethod::Lines},
    };
    for (const auto &[code, method] : cases)
        EXPECT_EQ(ChartModel::plottingMethodFromCode(code), method) << code;
}

TEST(ChartModelSignals, ChangesAreAnnouncedOnceAndOnlyWhenSomethingChanged)
{
    ChartModel m;
    QSignalSpy text(&m, &ChartModel::textChanged);
    QSignalSpy structure(&m, &ChartModel::structureChanged);
    QSignalSpy range(&m, &ChartModel::rangeChanged);
    QSignalSpy points(&m, &ChartModel::pointsChanged);

    m.setTitle("A");
    m.setTitle("A");
    EXPECT_EQ(text.count(), 1);

    m.setSize(1, 10);
    m.setSize(1, 10);
    m.setYScale(AxisScale::Log);
    m.setYScale(AxisScale::Log);
    EXPECT_EQ(structure.count(), 2);

    m.setXRange({0.0, std::nullopt});
    m.setXRange({0.0, std::nullopt});
    EXPECT_EQ(range.count(), 1);

    m.setPoint(0, 7, 1, 1);
    ASSERT_EQ(points.count(), 1);
    EXPECT_EQ(points.at(0).at(0).toInt(), 0);
    EXPECT_EQ(points.at(0).at(1).toInt(), 7);
}

TEST(ChartModelReset, ReturnsToAnEmptyLinearOneSeriesChartWithStraightLines)
{
    ChartModel m;
    m.setTitle("T");
    m.setYAxisCount(3);
    m.setSize(4, 10);
    m.setPoint(2, 1, 1, 1);
    m.setXScale(AxisScale::Log);
    m.setXKind(AxisKind::DateTime);
    m.setYRange({1.0, 2.0});
    m.setPlottingMethod(PlottingMethod::Spline);
    m.reset();
    EXPECT_EQ(m.title(), QString());
    EXPECT_EQ(m.seriesCount(), 1);
    EXPECT_EQ(m.pointCapacity(), 0);
    EXPECT_EQ(m.yAxisCount(), 1);
    EXPECT_EQ(m.xScale(), AxisScale::Linear);
    EXPECT_EQ(m.xKind(), AxisKind::Value);
    EXPECT_TRUE(m.yRange().isAutomatic());
    EXPECT_EQ(m.plottingMethod(), PlottingMethod::Lines);
}

TEST(ChartModelCurves, CurvesLiveBesideThePointTableUntilAReset)
{
    ChartModel m;
    m.setSize(1, 2);
    m.setSeriesPoints(0, pts({{1, 1}, {2, 2}}));
    QSignalSpy structure(&m, &ChartModel::structureChanged);
    QSignalSpy ranges(&m, &ChartModel::rangeChanged);
    ChartCurve fit{"Fit", {200, 0, 0}, true, pts({{0.5, -1}, {1, 1}, {2, std::nan("")}, {4, 16}})};
    m.setCurves({fit});
    EXPECT_EQ(structure.count(), 1);
    EXPECT_EQ(ranges.count(), 1);
    ASSERT_EQ(m.curves().size(), 1);
    EXPECT_EQ(m.curves().at(0).label, "Fit");
    // Neither the series count nor the capacity know of it.
    EXPECT_EQ(m.seriesCount(), 1);
    EXPECT_EQ(m.pointCapacity(), 2);
    // Drawable points only: no NaN, and nothing at or below zero on a log axis.
    EXPECT_EQ(m.visibleCurvePoints(0), pts({{0.5, -1}, {1, 1}, {4, 16}}));
    m.setYScale(AxisScale::Log);
    EXPECT_EQ(m.visibleCurvePoints(0), pts({{1, 1}, {4, 16}}));
    EXPECT_TRUE(m.visibleCurvePoints(1).isEmpty());
    // Clearing an empty list announces nothing; a reset takes the curves away.
    m.setCurves({});
    EXPECT_TRUE(m.curves().isEmpty());
    structure.clear();
    m.setCurves({});
    EXPECT_EQ(structure.count(), 0);
    m.setCurves({fit});
    m.reset();
    EXPECT_TRUE(m.curves().isEmpty());
}
