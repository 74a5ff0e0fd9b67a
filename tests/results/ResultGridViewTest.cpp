// The results grid's view: the named grid, fixed rows, header lines that fit in both unit systems.
#include "results/ResultGridView.h"
#include "common/ProgramState.h"
#include "results/ResultGridModel.h"

#include <QHeaderView>
#include <QTableView>
#include <gtest/gtest.h>

TEST(ResultGridView, ViewIsTheNamedGridWithFixedRows)
{
    ResultGridModel model;
    ResultTable rows(100000);
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t step = 1 + i / 1000; // a thousand rows a step
        rows[i][ResultRow::Step] = static_cast<double>(step);
    }
    model.setResults(std::move(rows), UnitsEI);

    QTableView view;
    ResultGridView::setUp(view, model);
    EXPECT_EQ(view.objectName(), "MSFlexGrid1");
    EXPECT_EQ(view.toolTip(), "This table lists the test results.");
    EXPECT_FALSE(view.accessibleName().isEmpty());
    EXPECT_EQ(view.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(view.model()->rowCount(), 100000);
    EXPECT_EQ(view.model()->data(view.model()->index(99999, 0)).toString(), "100");
}

TEST(ResultGridView, EveryHeaderLineFitsItsColumnInBothUnitSystems)
{
    ResultGridModel model;
    QTableView view;
    ResultGridView::setUp(view, model);
    const QFontMetrics metrics(view.horizontalHeader()->font());
    const int classic = ResultGridModel::ColumnWidthTwips * view.logicalDpiX() / 1440;
    for (int units : {UnitsEI, UnitsSI}) {
        model.SetGridHeader(units); // the units change after set-up
        for (int c = 0; c < model.columnCount(); ++c) {
            const int width = view.horizontalHeader()->sectionSize(c);
            EXPECT_GE(width, classic);
            for (const QString &line : model.headerData(c, Qt::Horizontal).toString().split('\n'))
                EXPECT_GT(width, metrics.horizontalAdvance(line)) << units << ": " << line.toStdString();
        }
    }
}
