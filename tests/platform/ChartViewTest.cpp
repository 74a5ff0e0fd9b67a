// The Qt Charts view over a chart model: what it hands to Qt Charts (filtered for log axes, appended or
// replaced), its axes, and printing through the prompts seam.
#include "platform/ChartView.h"
#include "platform/ChartModel.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

#include <QChart>
#include <QCoreApplication>
#include <QDateTimeAxis>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QScatterSeries>
#include <QSplineSeries>
#include <QTest>
#include <QValueAxis>
#include <QXYSeries>
#include <gtest/gtest.h>

namespace {

QList<QPointF> pts(std::initializer_list<std::pair<double, double>> list)
{
    QList<QPointF> out;
    for (const auto &[x, y] : list)
        out.append(QPointF(x, y));
    return out;
}

struct ChartViewTest : ::testing::Test {
    ChartModel model;
    ChartView view;
    ChartViewTest()
    {
        view.resize(800, 500);
        view.setModel(&model);
    }
};

} // namespace

TEST_F(ChartViewTest, ZeroAndNegativePointsOnALogAxisAreLeftOutWhileTheRestIsDrawn)
{
    model.setSize(1, 5);
    model.setSeriesPoints(0, pts({{0, 0}, {1, 5}, {2, -1}, {3, 7}, {4, 9}}));
    model.setYScale(AxisScale::Log);
    model.setXScale(AxisScale::Log);
    view.refresh();

    QXYSeries *drawn = view.drawnSeries(0);
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->points(), pts({{1, 5}, {3, 7}, {4, 9}}));
    EXPECT_TRUE(drawn->isVisible());
    ASSERT_NE(qobject_cast<QLogValueAxis *>(view.drawnYAxis(0)), nullptr);
    EXPECT_TRUE(drawn->attachedAxes().contains(view.drawnYAxis(0)));
    auto *y = static_cast<QLogValueAxis *>(view.drawnYAxis(0));
    EXPECT_LE(y->min(), 5.0);
    EXPECT_GE(y->max(), 9.0);

    model.setYScale(AxisScale::Linear);
    model.setXScale(AxisScale::Linear);
    view.refresh();
    EXPECT_EQ(view.drawnSeries(0)->points(), model.writtenPoints(0));
    EXPECT_NE(qobject_cast<QValueAxis *>(view.drawnYAxis(0)), nullptr);
}

TEST_F(ChartViewTest, ARebuiltChartShowsNoTraceOfItsOldAxesEvenBeforeTheEventLoopRuns)
{
    model.setSize(1, 3);
    model.setSeriesPoints(0, pts({{1, 1}, {2, 4}, {3, 9}}));
    model.setXLabel("Old label");
    model.setXScale(AxisScale::Log);
    view.show();
    view.refresh();
    QCoreApplication::processEvents(); // lays the chart out (axis titles get their text)
    model.setXLabel("New label");
    model.setXScale(AxisScale::Linear);
    view.refresh();
    QCoreApplication::processEvents();

    QStringList texts;
    for (QGraphicsItem *item : view.chart()->scene()->items())
        if (auto *t = dynamic_cast<QGraphicsTextItem *>(item))
            texts << t->toPlainText();
    EXPECT_TRUE(texts.contains("New label")) << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains("Old label")) << texts.join('|').toStdString();
}

TEST_F(ChartViewTest, PointsWrittenAtTheEndAreAppendedAndEarlierOnesReplaced)
{
    model.setSize(2, 10);
    for (int i = 0; i < 4; ++i)
        model.setPoint(0, i, i, i * i);
    view.refresh();
    QXYSeries *drawn = view.drawnSeries(0);
    ASSERT_EQ(drawn->count(), 4);

    // New readings at the end keep the same drawn series object (no rebuild).
    model.setPoint(0, 4, 4, 16);
    model.setPoint(0, 5, 5, 25);
    view.refresh();
    EXPECT_EQ(view.drawnSeries(0), drawn);
    EXPECT_EQ(drawn->count(), 6);
    EXPECT_EQ(drawn->at(5), QPointF(5, 25));

    // A change below what is drawn is taken over too.
    model.setPoint(0, 1, 1, -1);
    view.refresh();
    EXPECT_EQ(drawn->at(1), QPointF(1, -1));

    model.shiftLeft(3);
    view.refresh();
    EXPECT_EQ(drawn->points(), pts({{3, 9}, {4, 16}, {5, 25}}));
    EXPECT_EQ(view.drawnSeries(1)->count(), 0);
}

TEST_F(ChartViewTest, ChangesAreAppliedOnTheNextEventLoopTurnWithoutAnExplicitRefresh)
{
    model.setTitle("Live");
    model.setSize(1, 3);
    model.setPoint(0, 0, 1, 1);
    QCoreApplication::processEvents();
    ASSERT_NE(view.drawnSeries(0), nullptr);
    EXPECT_EQ(view.drawnSeries(0)->count(), 1);
    EXPECT_TRUE(view.chart()->title().contains("Live"));
}

TEST_F(ChartViewTest, EachPlottingMethodDrawsItsOwnKindOfSeries)
{
    model.setSize(1, 4);
    model.setSeriesPoints(0, pts({{1, 2}, {2, 4.2}, {3, 5.9}, {4, 8.1}}));
    struct Case {
        PlottingMethod method;
        bool spline;
        bool scatter;
        qsizetype chartSeries;
    };
    const Case cases[] = {
        {PlottingMethod::Lines, false, false, 1},
        {PlottingMethod::Spline, true, false, 1},
        {PlottingMethod::PointsWithLine, false, true, 2},
        {PlottingMethod::PointsWithPowerCurve, false, true, 2},
    };
    for (const Case &c : cases) {
        model.setPlottingMethod(c.method);
        view.refresh();
        QXYSeries *drawn = view.drawnSeries(0);
        EXPECT_EQ(qobject_cast<QSplineSeries *>(drawn) != nullptr, c.spline) << int(c.method);
        EXPECT_EQ(qobject_cast<QScatterSeries *>(drawn) != nullptr, c.scatter) << int(c.method);
        EXPECT_EQ(view.chart()->series().size(), c.chartSeries) << int(c.method);
        EXPECT_EQ(drawn->count(), 4) << int(c.method);
    }
    // The fitted curve is the extra series, sampled across the data.
    for (QAbstractSeries *s : view.chart()->series()) {
        if (s == view.drawnSeries(0))
            continue;
        const auto *fit = qobject_cast<QLineSeries *>(s);
        ASSERT_NE(fit, nullptr);
        EXPECT_GT(fit->count(), 10);
        EXPECT_EQ(fit->at(0).x(), 1.0);
        EXPECT_EQ(fit->at(fit->count() - 1).x(), 4.0);
    }
}

TEST_F(ChartViewTest, SeveralYAxesWithSidesColoursAndFixedRanges)
{
    model.setYAxisCount(3);
    model.setSize(3, 4);
    model.setSeriesYAxis(1, 1);
    model.setSeriesYAxis(2, 2);
    model.setYAxisSide(AxisSide::Right, 1);
    model.setYAxisColor({255, 0, 0}, 2);
    model.setYRange({10.0, 230.0}, 2);
    model.setYRange({0.0, std::nullopt}, 0);
    model.setYLabel("Temperature", 2);
    model.setSeriesColor(2, {255, 0, 0});
    for (int i = 0; i < 4; ++i) {
        model.setPoint(0, i, i, 100 + i);
        model.setPoint(1, i, i, 5 * i);
        model.setPoint(2, i, i, 70 + i);
    }
    view.refresh();

    EXPECT_TRUE(view.drawnSeries(1)->attachedAxes().contains(view.drawnYAxis(1)));
    EXPECT_TRUE(view.drawnSeries(2)->attachedAxes().contains(view.drawnYAxis(2)));
    EXPECT_EQ(view.drawnYAxis(1)->alignment(), Qt::AlignRight);
    EXPECT_EQ(view.drawnYAxis(0)->alignment(), Qt::AlignLeft);
    EXPECT_EQ(view.drawnYAxis(2)->titleText(), "Temperature");
    EXPECT_EQ(view.drawnYAxis(2)->labelsColor(), QColor(255, 0, 0));
    EXPECT_EQ(view.drawnSeries(2)->color(), QColor(255, 0, 0));
    auto *temperature = static_cast<QValueAxis *>(view.drawnYAxis(2));
    EXPECT_EQ(temperature->min(), 10.0);
    EXPECT_EQ(temperature->max(), 230.0);
    auto *stress = static_cast<QValueAxis *>(view.drawnYAxis(0));
    EXPECT_EQ(stress->min(), 0.0);
    EXPECT_GE(stress->max(), 103.0);
}

TEST_F(ChartViewTest, DateTimeAxisFollowsAManualWindowAndThenAllPoints)
{
    const QDateTime start(QDate(2024, 5, 2), QTime(9, 0, 0));
    model.setXKind(AxisKind::DateTime);
    model.setSize(1, 100);
    for (int i = 0; i < 90; ++i)
        model.setPoint(0, i, ChartModel::chartTime(start.addSecs(60 * i)), i);
    model.setXRange({ChartModel::chartTime(start), ChartModel::chartTime(start.addSecs(20 * 60))});
    view.refresh();
    auto *x = qobject_cast<QDateTimeAxis *>(view.drawnXAxis());
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->min(), start);
    EXPECT_EQ(x->max(), start.addSecs(20 * 60));

    model.setXRange({});
    view.refresh();
    EXPECT_EQ(x->min(), start);
    EXPECT_EQ(x->max(), start.addSecs(89 * 60));
}

TEST_F(ChartViewTest, PrintingToPdfCarriesTheTitlesAndTheSeries)
{
    TempDir dir;
    model.setTitle("Shear Stress Vs. Shear Rate");
    model.setSubtitle("Mud sample 7");
    model.setXLabel("Shear Rate (1/S)");
    model.setSize(2, 3);
    model.setSeriesLabel(0, "Open test");
    model.setSeriesLabel(1, "Overlay");
    model.setSeriesPoints(0, pts({{1, 1}, {2, 4}, {3, 9}}));
    model.setSeriesPoints(1, pts({{1, 2}, {2, 3}, {3, 5}}));

    ScriptedPrompts prompts;
    prompts.printPdfPath = dir.file("chart.pdf");
    ASSERT_TRUE(view.print(prompts));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::Print);

    QProcess text;
    text.start("pdftotext", {prompts.printPdfPath, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains("Shear Stress Vs. Shear Rate")) << out.toStdString();
    EXPECT_TRUE(out.contains("Mud sample 7"));
    EXPECT_TRUE(out.contains("Shear Rate (1/S)"));
    EXPECT_TRUE(out.contains("Overlay"));
}

TEST_F(ChartViewTest, ACancelledOrFailedPrintSaysSoAndPrintsNothing)
{
    model.setSize(1, 1);
    model.setPoint(0, 0, 1, 1);
    ScriptedPrompts cancelled; // no PDF path: the dialog is cancelled
    EXPECT_FALSE(view.print(cancelled));
    EXPECT_TRUE(cancelled.messageTexts().isEmpty());

    ScriptedPrompts failing;
    failing.printPdfPath = "/nonexistent-folder/chart.pdf";
    EXPECT_FALSE(view.print(failing));
    ASSERT_NE(failing.lastMessage(), nullptr);
    EXPECT_EQ(failing.lastMessage()->title, "Print Error");
}

// A long test on screen: Qt Charts gets the series thinned to what the plot can show (with the ranges of
// all points), thinned anew for a new size, and the printed page gets every point.
TEST_F(ChartViewTest, ALongSeriesIsThinnedOnScreenAndPrintedWhole)
{
    const int n = 100000;
    QList<QPointF> points;
    for (int i = 0; i < n; ++i)
        points.append(QPointF(i * 0.01, 20 + (i % 97) * 0.1));
    const int spike = n / 2;
    points[spike].setY(900); // one spike, far above the rest
    model.setSize(1, n);
    model.setSeriesPoints(0, points);
    view.show();
    view.refresh();
    QCoreApplication::processEvents();

    QXYSeries *drawn = view.drawnSeries(0);
    ASSERT_NE(drawn, nullptr);
    const qsizetype onScreen = drawn->count();
    EXPECT_GT(onScreen, 100);
    EXPECT_LT(onScreen, 4 * 4 * 800);
    EXPECT_TRUE(drawn->points().contains(QPointF(spike * 0.01, 900)));
    auto *x = qobject_cast<QValueAxis *>(view.drawnXAxis());
    auto *y = qobject_cast<QValueAxis *>(view.drawnYAxis(0));
    ASSERT_TRUE(x && y);
    EXPECT_LE(x->min(), 0.0);
    EXPECT_GE(x->max(), (n - 1) * 0.01);
    EXPECT_GE(y->max(), 900.0);

    view.resize(400, 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drawn->count() < onScreen * 3 / 4; }, 5000)) << drawn->count();

    QList<qsizetype> counts;
    QObject::connect(drawn, &QXYSeries::pointsReplaced, [&] { counts << drawn->count(); });
    TempDir dir;
    ScriptedPrompts prompts;
    prompts.printPdfPath = dir.file("long.pdf");
    ASSERT_TRUE(view.print(prompts));
    EXPECT_TRUE(counts.contains(n)) << "every point was on the page";
    EXPECT_LT(drawn->count(), onScreen) << "and the screen is thinned again";
    EXPECT_EQ(model.writtenCount(0), n);
}

TEST_F(ChartViewTest, CurvesAreDrawnAsNamedLinesOverTheSeriesAndWidenTheAxes)
{
    model.setSize(1, 3);
    model.setSeriesLabel(0, "Readings");
    model.setSeriesPoints(0, pts({{1, 1}, {2, 4}, {3, 9}}));
    model.setCurves({{"Herschel-Bulkley fit", {200, 0, 0}, false, pts({{1, 1.2}, {2, 4.1}, {3, 9.3}})},
                     {"Power law, pipe", {0, 140, 0}, true, pts({{0.5, 0.4}, {3, 12}})}});
    view.refresh();
    ASSERT_EQ(view.drawnCurves().size(), 2u);
    const QXYSeries *fit = view.drawnCurves()[0];
    const QXYSeries *pipe = view.drawnCurves()[1];
    EXPECT_EQ(fit->name(), "Herschel-Bulkley fit");
    EXPECT_EQ(fit->points(), pts({{1, 1.2}, {2, 4.1}, {3, 9.3}}));
    EXPECT_EQ(fit->pen().color(), QColor(200, 0, 0));
    EXPECT_EQ(fit->pen().style(), Qt::SolidLine);
    EXPECT_EQ(pipe->pen().style(), Qt::DashLine);
    // Not among the data series; a legend names them even over a single series.
    EXPECT_EQ(view.drawnSeries(1), nullptr);
    EXPECT_TRUE(view.chart()->legend()->isVisible());
    // The axes take in the curves (0.5 and 12 lie outside the readings).
    const auto *x = qobject_cast<QValueAxis *>(view.drawnXAxis());
    const auto *y = qobject_cast<QValueAxis *>(view.drawnYAxis(0));
    ASSERT_TRUE(x && y);
    EXPECT_LE(x->min(), 0.5);
    EXPECT_GE(y->max(), 12);

    model.setCurves({});
    view.refresh();
    EXPECT_TRUE(view.drawnCurves().empty());
    EXPECT_FALSE(view.chart()->legend()->isVisible());
}

TEST_F(ChartViewTest, RenderingIntoAPdfPageDrawsShapesAndText)
{
    TempDir dir;
    model.setTitle("Shear Stress Vs. Shear Rate");
    model.setSize(1, 3);
    model.setSeriesPoints(0, pts({{1, 1}, {2, 4}, {3, 9}}));
    model.setCurves({{"Herschel-Bulkley fit", {200, 0, 0}, false, pts({{1, 1}, {3, 9}})}});
    {
        QPdfWriter pdf(dir.file("chart.pdf"));
        QPainter painter(&pdf);
        view.renderTo(painter, QRectF(100, 100, 4000, 2500));
    }
    QProcess images;
    images.start("pdfimages", {"-list", dir.file("chart.pdf")});
    ASSERT_TRUE(images.waitForFinished(20000));
    // Only pdfimages' two heading lines: not a single picture in the file.
    EXPECT_EQ(QString::fromUtf8(images.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).size(), 2);
    QProcess text;
    text.start("pdftotext", {dir.file("chart.pdf"), "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    EXPECT_TRUE(out.contains("Shear Stress Vs. Shear Rate")) << out.toStdString();
    EXPECT_TRUE(out.contains("Herschel-Bulkley fit"));
}
