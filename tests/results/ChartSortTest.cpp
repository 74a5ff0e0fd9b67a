// The chart's fast exchange sort against the classic exchange sort itself, kept here as the oracle: the
// same points in the same places, tie order included, on random inputs with many ties and on the plotted
// columns of every chart type of tests recorded from the simulated instrument and read back as the
// program reads them.
#include "link/DownloadStream.h"
#include "realtime/MessageFramer.h"
#include "realtime/RealTimeReading.h"
#include "realtime/RecordedPoint.h"
#include "results/ChartPlotPoints.h"
#include "results/ChartTypes.h"
#include "results/ResultQuery.h"
#include "sim/InstrumentSimulator.h"
#include "tests/results/StoredTestFixture.h"

#include "common/ProgramState.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace {

// The exchange sort as the chart has always described it: O(m²), the reference for the fast one.
void literalExchangeSort(QList<QPointF> &points, int m)
{
    m = std::min(m, int(points.size()));
    for (int i = 1; i <= m; ++i)
        for (int j = i; j <= m; ++j)
            if (points[j - 1].x() < points[i - 1].x())
                std::swap(points[i - 1], points[j - 1]);
}

// Every point carries its original index as y, so equal x values are told apart by where they came from.
QList<QPointF> numbered(const QList<double> &xs)
{
    QList<QPointF> out;
    for (qsizetype i = 0; i < xs.size(); ++i)
        out.append(QPointF(xs[i], double(i)));
    return out;
}

// Bit-exact comparison (NaN equals NaN, -0 differs from +0), with the first difference named.
::testing::AssertionResult samePoints(const QList<QPointF> &expected, const QList<QPointF> &actual)
{
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure() << "sizes " << expected.size() << " and " << actual.size();
    auto same = [](double a, double b) {
        return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
    };
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (!same(expected[i].x(), actual[i].x()) || !same(expected[i].y(), actual[i].y()))
            return ::testing::AssertionFailure()
                << "point " << i << ": expected (" << expected[i].x() << ", " << expected[i].y() << "), got ("
                << actual[i].x() << ", " << actual[i].y() << ") of " << expected.size();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult sortsLikeTheExchangeSort(const QList<QPointF> &points, int m)
{
    QList<QPointF> expected = points;
    literalExchangeSort(expected, m);
    QList<QPointF> actual = points;
    ChartPlotPoints::exchangeSortByX(actual, m);
    return samePoints(expected, actual);
}

// Random x values of one kind, for `count` points.
struct RandomKind {
    const char *name;
    std::function<double(QRandomGenerator &, int index, int count)> draw;
};

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

const RandomKind RandomKinds[] = {
    {"two values", [](QRandomGenerator &r, int, int) { return double(r.bounded(2)); }},
    {"three values", [](QRandomGenerator &r, int, int) { return double(r.bounded(3)); }},
    {"a dozen speeds",
     [](QRandomGenerator &r, int, int) {
         static const double speeds[] = {600, 300, 200, 100, 6, 3, 0.000001, 1.5, 60, 30, 450, 900};
         return speeds[r.bounded(12)];
     }},
    {"many values, many ties",
     [](QRandomGenerator &r, int, int n) {
         const int values = std::max(1, n / 4);
         return double(r.bounded(values));
     }},
    {"all different", [](QRandomGenerator &r, int, int) { return r.generateDouble() * 1000.0; }},
    {"falling with ties",
     [](QRandomGenerator &r, int i, int n) {
         const int tie = (n - i) / 3; // three points a value
         return double(tie) + (r.bounded(8) == 0 ? 1.0 : 0.0);
     }},
    {"rising with ties",
     [](QRandomGenerator &r, int i, int) {
         const int tie = i / 4; // four points a value
         return double(tie) - (r.bounded(8) == 0 ? 2.0 : 0.0);
     }},
    {"up and down",
     [](QRandomGenerator &, int i, int n) {
         const int middle = n / 2;
         const int tie = std::abs(i - middle) / 2;
         return double(tie);
     }},
    {"with NaN and infinities",
     [](QRandomGenerator &r, int, int) {
         static const double values[] = {NaN, Inf, -Inf, 1, 2, 2, 3, 0.0, -0.0, -1};
         return values[r.bounded(10)];
     }},
    {"signed zeros", [](QRandomGenerator &r, int, int) { return r.bounded(2) ? 0.0 : -0.0; }},
};

} // namespace

TEST(ChartSort, TheClassicExamplesStillHold)
{
    // Equal values are never exchanged directly: 2, 2, 1 ends as 1 and the two 2s reversed.
    QList<QPointF> ties = numbered({2, 2, 1});
    ChartPlotPoints::exchangeSortByX(ties, 3);
    EXPECT_EQ(ties, (QList<QPointF>{{1, 2}, {2, 1}, {2, 0}}));
    // A point whose x is NaN stays where it is; the others sort around it.
    QList<QPointF> withNan = numbered({3, NaN, 1, 2});
    ChartPlotPoints::exchangeSortByX(withNan, 4);
    EXPECT_EQ(withNan[1].y(), 1.0);
    EXPECT_EQ(withNan[0], QPointF(1, 2));
    EXPECT_EQ(withNan[2], QPointF(2, 3));
    EXPECT_EQ(withNan[3], QPointF(3, 0));
}

TEST(ChartSort, EveryShortInputOfThreeValuesSortsLikeTheExchangeSort)
{
    // All 3^8 sequences of up to eight points over three values: every way ties can meet.
    for (int m = 0; m <= 8; ++m) {
        int total = 1;
        for (int k = 0; k < m; ++k)
            total *= 3;
        for (int code = 0; code < total; ++code) {
            QList<double> xs;
            for (int k = 0, c = code; k < m; ++k, c /= 3)
                xs.append(double(c % 3));
            ASSERT_TRUE(sortsLikeTheExchangeSort(numbered(xs), m)) << "sequence " << code << " of length " << m;
        }
    }
}

TEST(ChartSort, RandomInputsSortLikeTheExchangeSort)
{
    QRandomGenerator random(20240317);
    for (const RandomKind &kind : RandomKinds) {
        for (int trial = 0; trial < 60; ++trial) {
            const int n = trial < 40 ? int(random.bounded(40)) : int(random.bounded(700));
            QList<double> xs;
            for (int i = 0; i < n; ++i)
                xs.append(kind.draw(random, i, n));
            // Mostly the whole series; sometimes only its first m points (an overlay cut at the capacity).
            const int m = trial % 5 == 4 ? int(random.bounded(n + 1)) : n;
            ASSERT_TRUE(sortsLikeTheExchangeSort(numbered(xs), m)) << kind.name << ", trial " << trial;
        }
    }
}

namespace {

// A test recorded from the simulated instrument the way the real-time screen stores it: a sequence that
// heats the sample from ambient, runs the six-speed ladder with gel rests on the way, and cools it again,
// one reading a second (whole degrees F, speeds in hundredths of an rpm).
std::vector<StoredPoint> recordedRun(std::optional<double> customRateFactor)
{
    SimulatorOptions options;
    options.noise = 1.5;
    options.heaterTimeConstant = 90;
    options.customRateFactor = customRateFactor;
    InstrumentSimulator instrument(options);

    QList<DownloadStep> steps;
    const double speeds[] = {600, 300, 200, 100, 6, 3, 0, 3, 600, 0, 3};
    const double temperatures[] = {120, 150, 190, 250, 250, 250, 250, 250, 200, 150, 120};
    int stepNo = 1;
    for (int lap = 0; lap < 2; ++lap)
        for (size_t i = 0; i < std::size(speeds); ++i)
            steps.append({stepNo++, 75.0 + 10.0 * double(i % 3), temperatures[i] - 30.0 * lap, speeds[i]});
    instrument.receive(DownloadStream::stream(steps, 1));
    instrument.receive(QByteArray(1, char(5)));

    MessageFramer framer;
    RunFactors factors;
    if (customRateFactor) {
        factors.customRB = true;
        factors.customStressFactor = 1.0;
        factors.customRateFactor = *customRateFactor;
    }
    std::vector<StoredPoint> points;
    for (int second = 0; second < 4000 && instrument.nextEventAt() >= 0; ++second) {
        instrument.advanceTo(instrument.nextEventAt());
        framer.append(instrument.takeOutput());
        while (const auto message = framer.next()) {
            const RealTimeReading reading = RealTimeReading::decode(*message);
            if (!reading.isValid())
                continue;
            const RecordedPoint p = RecordedPoint::from(reading, 1, factors);
            points.push_back({double(p.stepNo), p.time, p.temperature, p.speed, p.shearStress, p.gel, p.rbFactor});
        }
    }
    return points;
}

} // namespace

TEST(ChartSort, EveryChartTypeOfARecordedTestSortsLikeTheExchangeSort)
{
    struct Case {
        const char *name;
        std::optional<double> customRateFactor;
        int unitSystem;
    };
    const Case cases[] = {
        {"R1-B1, EI", std::nullopt, UnitsEI},
        {"R1-B1, SI", std::nullopt, UnitsSI},
        {"custom rotor-bob, EI", 1.234, UnitsEI},
        {"custom rotor-bob, SI", 1.234, UnitsSI},
    };
    for (const Case &c : cases) {
        StoredTestFixture store;
        const std::vector<StoredPoint> run = recordedRun(c.customRateFactor);
        ASSERT_GT(run.size(), 1500u) << c.name;
        store.addTest(1, QStringLiteral("Recorded run"), run);
        ProgramState state;
        state.UnitSystem = c.unitSystem;
        state.CurrentTestName = QStringLiteral("Recorded run");
        const ResultTable rows = ResultQuery(store.db(), state).dosql();
        ASSERT_EQ(rows.size(), run.size()) << c.name;
        EXPECT_EQ(state.CustomRB, c.customRateFactor.has_value()) << c.name;
        for (int type = 0; type < ChartTypes::Count; ++type) {
            const QList<QPointF> points = ChartPlotPoints::pointsFor(type, rows);
            EXPECT_TRUE(sortsLikeTheExchangeSort(points, int(points.size()))) << c.name << ", chart type " << type;
        }
    }
}

TEST(ChartSort, PlottedPointsAreSortedOnlyForTheSortedChartTypes)
{
    StoredTestFixture store;
    const std::vector<StoredPoint> run = recordedRun(std::nullopt);
    store.addTest(1, QStringLiteral("Recorded run"), run);
    ProgramState state;
    state.CurrentTestName = QStringLiteral("Recorded run");
    const ResultTable rows = ResultQuery(store.db(), state).dosql();
    for (int type = 0; type < ChartTypes::Count; ++type) {
        QList<QPointF> expected = ChartPlotPoints::pointsFor(type, rows);
        if (ChartTypes::info(type).sortedByX)
            literalExchangeSort(expected, int(expected.size()));
        EXPECT_TRUE(samePoints(expected, ChartPlotPoints::plotted(type, rows))) << "chart type " << type;
    }
}
