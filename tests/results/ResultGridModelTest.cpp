#include "results/ResultGridModel.h"
#include "common/ProgramState.h"
#include "results/ResultQuery.h"
#include "tests/results/StoredTestFixture.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(ResultGridModel, HeaderTextsPerUnitSystem)
{
    EXPECT_EQ(ResultGridModel::headerFormat(UnitsEI),
              QString("<Step No|<Elaps Time\r(S)|<Temp\r(F°)|<Shear Rate\r (1/S)|<Speed \r(Rpm)|<Shear Stress\r"
                      "(lb/100ft2)|<Viscosity\r (cP)|<Gel\r(lb/100ft2)|<Rb Factor|<Fann® 35 F1\rReading"));
    EXPECT_EQ(ResultGridModel::headerFormat(UnitsSI),
              QString("<Step No|<Elaps Time\r(S)|<Temp\r(C°)|<Shear rate\r (1/S)|<Speed \r(Rpm)|<Shear Stress\r"
                      "(dyn/cm2)|<Viscosity\r (cP)|<Gel\r(dyn/cm2)|<Rb Factor|<Fann® 35 F1\rReading"));

    ResultGridModel model;
    QSignalSpy changed(&model, &QAbstractItemModel::headerDataChanged);
    model.SetGridHeader(UnitsSI);
    EXPECT_EQ(changed.count(), 1);
    ASSERT_EQ(model.columnCount(), 10);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Temp\n(C°)");
    EXPECT_EQ(model.headerData(5, Qt::Horizontal).toString(), "Shear Stress\n(dyn/cm2)");
    EXPECT_EQ(model.headerData(8, Qt::Horizontal).toString(), "Rb Factor");
    model.SetGridHeader(UnitsEI);
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), "Shear Rate\n (1/S)");
    EXPECT_EQ(model.headerData(7, Qt::Horizontal).toString(), "Gel\n(lb/100ft2)");
}

TEST(ResultGridModel, CellPictures)
{
    struct Case {
        int column;
        double value;
        const char *text;
    };
    const Case cases[] = {
        {0, 3, "3"},
        {1, 10, "10."},
        {1, 59.96, "60."},
        {2, 100.04, "100."},
        {2, 37.77, "37.8"},
        {3, 170.2345, "170.23"},
        {4, 0.000001, "0."},
        {4, 300, "300."},
        {5, 31.3283, "31.328"},
        {6, 1234.5, "1234.50"},
        {6, 0.12345, "0.123"},
        {6, 12.3456, "12.346"},
        {7, 0, "0."},
        {8, 1.5, "1.5"},
        {8, 2, "2."},
        {9, 58.7084, "58.7"},
    };
    for (const Case &c : cases) {
        ResultRow row;
        row[c.column] = c.value;
        EXPECT_EQ(ResultGridModel::cellText(row, c.column), QString(c.text)) << c.column << " " << c.value;
    }
}

TEST(ResultGridModel, LoadShowsTheOpenTestAndItsDerivedValues)
{
    StoredTestFixture fx;
    // 600/300/200/100/6/3 rpm with dial readings 60/40/32/23/8/7 (stress = dial * 5.11 dyn/cm2).
    const double speeds[] = {600, 300, 200, 100, 6, 3};
    const double dials[] = {60, 40, 32, 23, 8, 7};
    std::vector<StoredPoint> points;
    for (int s = 0; s < 6; ++s) {
        points.push_back(point(s + 1, 10, speeds[s], dials[s] * 5.11 * 0.5));
        points.push_back(point(s + 1, 20, speeds[s], dials[s] * 5.11));
    }
    fx.addTest(1, "fann", points);

    ProgramState state;
    state.CurrentTestName = "fann";
    ResultQuery query(fx.db(), state);
    ResultGridModel model;
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    EXPECT_EQ(model.LoadResultGrid(query), 12);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 12);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "20.");
    EXPECT_EQ(model.data(model.index(1, 4)).toString(), "600.");
    EXPECT_EQ(model.data(model.index(1, 9)).toString(), "60.");
    EXPECT_EQ(model.results().size(), 12u);
    const DerivedValues &d = model.derived();
    ASSERT_EQ(d.pairCount, 1);
    EXPECT_NEAR(d.PV[1], 20, 1e-9);
    EXPECT_NEAR(d.YP[1], 20, 1e-9);
    EXPECT_EQ(d.LastRow[d.PairLowStep[1]], 3);

    state.CurrentTestName = "missing";
    EXPECT_EQ(model.LoadResultGrid(query), 0);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.derived().pairCount, 0);
}
