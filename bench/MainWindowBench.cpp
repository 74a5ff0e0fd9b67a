// Long tests through the real main window, offscreen, with the program's threaded runner of long work:
// - the chart build alone (points, sort, chart model, chart view) for 4,000, 100,000 and 1,000,000 points;
// - opening a stored test with the open command until the grid is filled, the chart drawn and painted and
//   the event loop is free again, for the same sizes;
// - changing the 100,000-point test to each sorted chart type, and overlaying a second 100,000-point test;
// - a 1,000,000-point test opened, shown in every chart type, overlaid and exported as the detailed
//   workbook, with the process's peak resident memory (run it on its own: --benchmark_filter=Million).
// Databases are made once under K7100_BENCH_DIR (default /tmp/k7100-bench).
#include "BenchDatabase.h"
#include "BenchRows.h"

#include "app/MainController.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/ChartModel.h"
#include "platform/ChartView.h"
#include "platform/PortMap.h"
#include "platform/Prompts.h"
#include "platform/SteadyClock.h"
#include "platform/ThreadedWork.h"
#include "results/ChartPlotPoints.h"
#include "results/ChartTypes.h"
#include "results/MainChartController.h"
#include "store/Database.h"
#include "tests/support/DialogAnswers.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

QString benchDir()
{
    QString dir = qEnvironmentVariable("K7100_BENCH_DIR", QStringLiteral("/tmp/k7100-bench"));
    QDir().mkpath(dir);
    return dir;
}

QString testName(int points, char which = 'A')
{
    return QStringLiteral("Long run %1 %2").arg(points).arg(QLatin1Char(which));
}

QString databaseFor(int points)
{
    return benchDir() + QStringLiteral("/window-%1.db").arg(points);
}

// Peak resident memory of this process in MiB (VmHWM).
double peakResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    return -1;
}

// Saves every workbook and report under one name in the bench folder; no message is expected.
class BenchPrompts : public Prompts {
public:
    QStringList messages;
    MsgAnswer message(const QString &text, const QString &, MsgButtons, MsgIcon) override
    {
        messages << text;
        return MsgAnswer::Ok;
    }
    void notify(const QString &text, const QString &, MsgIcon) override { messages << text; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override
    {
        return benchDir() + QStringLiteral("/export.xlsx");
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    bool printDialog(QPrinter &, const QString &) override { return false; }
    bool openWithDesktop(const QString &) override { return true; }
};

// The program as main() builds it, on a bench database.
struct Program {
    ProgramState state;
    SteadyClock clock;
    BenchPrompts prompts;
    PortMap ports;
    Database database;
    ThreadedWork work;
    AppContext ctx;
    std::unique_ptr<frmMain> window;
    MainController *controller = nullptr;

    explicit Program(const QString &path)
    {
        QString error;
        if (!database.open(path, &error))
            std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path), qPrintable(error));
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.database = &database;
        ctx.ports = &ports;
        ctx.work = &work;
        ctx.workDir = benchDir();
        window = std::make_unique<frmMain>(ctx);
        controller = new MainController(ctx, *window);
        window->resize(1280, 900);
        window->show();
        settle();
    }

    // Until the chart view has applied the model's changes, the window has painted them and nothing is
    // left for the event loop.
    void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        window->repaint();
        QCoreApplication::processEvents();
    }

    void open(const QString &name)
    {
        DialogAnswers::openTest(name);
        window->cmdOpen_Click();
        settle();
    }
    void chartType(int type)
    {
        window->chartTypeList()->setCurrentIndex(type);
        window->cmbChartType_Click();
        settle();
    }
    void overlay(const QString &name)
    {
        DialogAnswers::overlapTest(name);
        window->cmdOverlap_Click();
        settle();
    }
    int rows() const { return controller->grid().rowCount(); }
    ChartModel &chart() const { return controller->chart().model(); }
};

bool ensureDatabase(int points)
{
    QList<BenchTestSpec> tests = {{0, testName(points, 'A'), points}};
    if (points == 100000 || points == 1000000)
        tests.append({0, testName(points, 'B'), points});
    QString error;
    if (!BenchDatabase::ensure(databaseFor(points), 0, 0, tests, &error)) {
        std::fprintf(stderr, "cannot make %s: %s\n", qPrintable(databaseFor(points)), qPrintable(error));
        return false;
    }
    return true;
}

void BM_ChartBuild(benchmark::State &st)
{
    const int n = int(st.range(0));
    const ResultTable rows = makeLongTest(n);
    ChartModel model;
    ChartView view;
    view.resize(890, 420);
    view.setModel(&model);
    view.show();
    for (auto _ : st) {
        model.setSize(1, n);
        model.setSeriesPoints(0, ChartPlotPoints::plotted(0, rows));
        view.refresh();
        view.repaint();
    }
    st.counters["points"] = n;
}

void BM_OpenThroughMainWindow(benchmark::State &st)
{
    const int n = int(st.range(0));
    Program program(databaseFor(n));
    for (auto _ : st) {
        program.open(testName(n));
        if (program.rows() != n || program.chart().writtenCount(0) != n)
            st.SkipWithError("the test was not shown");
    }
    st.counters["points"] = n;
    st.counters["peak_MiB"] = peakResidentMiB();
}

void BM_ChangeChartType(benchmark::State &st)
{
    const int type = int(st.range(0));
    const int n = 100000;
    Program program(databaseFor(n));
    program.open(testName(n));
    const int other = type == 0 ? 2 : 0;
    for (auto _ : st) {
        st.PauseTiming();
        program.chartType(other);
        st.ResumeTiming();
        program.chartType(type);
        if (program.controller->chart().builder().chartType() != type || program.chart().writtenCount(0) != n)
            st.SkipWithError("the chart type was not drawn");
    }
    st.SetLabel(ChartTypes::info(type).listText);
}

void BM_Overlay(benchmark::State &st)
{
    const int n = 100000;
    Program program(databaseFor(n));
    program.open(testName(n, 'A'));
    for (auto _ : st) {
        st.PauseTiming();
        program.chartType(0); // a fresh chart without overlays
        st.ResumeTiming();
        program.overlay(testName(n, 'B'));
        if (program.chart().writtenCount(1) != n)
            st.SkipWithError("the overlay was not drawn");
    }
}

// The whole life of a million-point test in one run, for the memory it needs.
void BM_MillionPointTest(benchmark::State &st)
{
    const int n = 1000000;
    Program program(databaseFor(n));
    // Each part's time goes into a counter of its own (ms), so one run shows where the time went.
    QElapsedTimer clock;
    auto lap = [&](const char *part) { st.counters[part] = double(clock.restart()); };
    for (auto _ : st) {
        clock.start();
        program.open(testName(n, 'A'));
        lap("open_ms");
        for (int type = 1; type < ChartTypes::Count; ++type) {
            program.chartType(type);
            lap(qPrintable(QStringLiteral("type%1_ms").arg(type)));
        }
        program.overlay(testName(n, 'B'));
        lap("overlay_ms");
        program.window->cmdExport_Click();
        program.settle();
        lap("detail_workbook_ms");
        if (program.rows() != n || !program.prompts.messages.isEmpty())
            st.SkipWithError("the test was not shown or the export failed");
    }
    st.counters["peak_MiB"] = peakResidentMiB();
}

} // namespace

BENCHMARK(BM_ChartBuild)->Arg(4000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenThroughMainWindow)->Arg(4000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChangeChartType)->DenseRange(0, 5)->Arg(9)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Overlay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MillionPointTest)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::fprintf(stderr, "preparing databases in %s (a million points take a while the first time)\n",
                 qPrintable(benchDir()));
    for (const int n : {4000, 100000, 1000000})
        if (!ensureDatabase(n))
            return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
