// A long test through the real main window with the program's runner of long work: opening, changing the
// chart type, overlaying and exporting run on a worker thread while a progress window is up, and they show
// and write what the same data gives when it is read at once.
#include "app/MainController.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "platform/ThreadedWork.h"
#include "results/ChartPlotPoints.h"
#include "results/MainChartController.h"
#include "results/ResultQuery.h"
#include "store/Database.h"
#include "tests/support/DialogAnswers.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QComboBox>
#include <QFile>
#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class LongTestTest : public ::testing::Test {
protected:
    LongTestTest()
    {
        EXPECT_TRUE(db.open(dir.file(Database::defaultFileName())));
        addTest(1, QStringLiteral("Long A"), 20000, 2);
        addTest(2, QStringLiteral("Long B"), 15000, 1);
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.database = &db;
        ctx.ports = &ports;
        ctx.workDir = dir.path();
        ctx.work = &work;
        work.setShowDelay(0); // every part shows its progress window, however quick the machine
        work.setLingerTime(0);
        QObject::connect(&work, &ThreadedWork::progressShown, [this](const QString &label) { shown << label; });
        window = std::make_unique<frmMain>(ctx);
        controller = new MainController(ctx, *window);
        window->show();
    }

    // A test of `points` readings over the six-speed ladder, temperatures rising and falling in whole
    // degrees, stored with rotor-bob `rbfactor`.
    void addTest(int id, const QString &name, int points, int rbfactor)
    {
        QSqlDatabase c = db.connection();
        c.transaction();
        QSqlQuery q(c);
        q.prepare(QStringLiteral("INSERT INTO RelatedInfo VALUES (?, ?, 'WBM', '2024-03-14', 'Lab', '')"));
        q.addBindValue(id);
        q.addBindValue(name);
        ASSERT_TRUE(q.exec());
        q.prepare(QStringLiteral("INSERT INTO TestResult VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        const double speeds[] = {600, 300, 200, 100, 6, 3};
        for (int i = 0; i < points; ++i) {
            const int step = i / 500 + 1;
            const double speed = speeds[(step - 1) % 6];
            for (const QVariant &v : {QVariant(id), QVariant(step), QVariant(double(i % 500 + 1)),
                                      QVariant(std::round(150 + 60 * std::sin(i / 3000.0))), QVariant(speed),
                                      QVariant(20 + speed / 10 + (i % 13)), QVariant(0.0), QVariant(rbfactor)})
                q.addBindValue(v);
            ASSERT_TRUE(q.exec());
        }
        c.commit();
    }

    TempDir dir;
    Database db;
    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    PortMap ports;
    ThreadedWork work;
    AppContext ctx;
    QStringList shown;
    std::unique_ptr<frmMain> window;
    MainController *controller = nullptr;
};

} // namespace

TEST_F(LongTestTest, OpenChartOverlayAndExportRunAsLongWorkWithTheSameResults)
{
    DialogAnswers::openTest(QStringLiteral("Long A"));
    window->cmdOpen_Click();
    EXPECT_EQ(shown.join('|'), QStringLiteral("Reading test \"Long A\"...|Drawing the chart..."));
    ASSERT_EQ(state.CurrentTestName, QStringLiteral("Long A"));

    // The rows and the rotor-bob state read on the worker are those read here at once.
    ProgramState here = state;
    const ResultTable expected = ResultQuery(db.connection(), here).dosql();
    const ResultTable &rows = controller->grid().results();
    ASSERT_EQ(rows.size(), expected.size());
    ASSERT_EQ(rows.size(), 20000u);
    EXPECT_EQ(rows.back().v, expected.back().v);
    EXPECT_EQ(state.RotorBob, 2);
    EXPECT_FLOAT_EQ(state.RateFactor, 3.185f);
    ChartModel &chart = controller->chart().model();
    EXPECT_EQ(chart.writtenPoints(0), ChartPlotPoints::plotted(0, expected));

    shown.clear();
    window->chartTypeList()->setCurrentIndex(4);
    window->cmbChartType_Click();
    EXPECT_EQ(shown.join('|'), QStringLiteral("Drawing the chart..."));
    EXPECT_EQ(chart.writtenPoints(0), ChartPlotPoints::plotted(4, expected));

    shown.clear();
    DialogAnswers::overlapTest(QStringLiteral("Long B"));
    window->cmdOverlap_Click();
    EXPECT_EQ(shown.join('|'), QStringLiteral("Overlaying test \"Long B\"..."));
    ProgramState other = state;
    other.OverlapTestName = QStringLiteral("Long B");
    const ResultTable overlaid = ResultQuery(db.connection(), other).dosqloverlap();
    EXPECT_EQ(chart.writtenPoints(1), ResultChartBuilder::overlayPoints(4, overlaid, 20000));
    EXPECT_EQ(chart.seriesLabel(1), QStringLiteral("Long B"));

    shown.clear();
    const QString path = dir.file(QStringLiteral("long.xlsx"));
    prompts.fileAnswers = {path};
    window->cmdExport_Click();
    EXPECT_EQ(shown.join('|'), QStringLiteral("Writing the detailed workbook..."));
    QFile book(path);
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_TRUE(book.read(2) == "PK");
    EXPECT_TRUE(prompts.messageTexts().isEmpty()) << prompts.messageTexts().join("|").toStdString();
}
