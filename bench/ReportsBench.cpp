// The detailed spreadsheet export at lab scale: building the workbook model of a long test and writing it
// as .xlsx, for 10,000 and 100,000 points. Reports the value cells written per second.
#include "platform/WorkbookModel.h"
#include "platform/XlsxWriter.h"
#include "reports/BriefReport.h"
#include "reports/DetailReport.h"
#include "reports/ReportedTestInfo.h"
#include "reports/TextReport.h"
#include "results/DerivedValues.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

// A long test in the shape of a 98-step sequence: each step runs a speed of the 600-300-200-100-6-3
// ladder (or a rest) and records one reading a second, with drifting temperature and a noisy stress.
ResultTable makeTest(int n)
{
    static const double speeds[] = {600, 300, 200, 100, 6, 3, 0.000001, 3};
    const int perStep = std::max(1, (n + 97) / 98);
    ResultTable rows;
    rows.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int step = i / perStep + 1;
        const double speed = speeds[(step - 1) % 8];
        const double dial = speed < 0.1 ? 0 : 8 + 52 * std::sqrt(speed / 600) + 0.01 * (i % 17);
        ResultRow r;
        r[ResultRow::Step] = step;
        r[ResultRow::Time] = (i % perStep) + 0.5 * (i % 3);
        r[ResultRow::Temperature] = 120 + 0.001 * i;
        r[ResultRow::ShearRate] = speed * 1.7023;
        r[ResultRow::Speed] = speed;
        r[ResultRow::ShearStress] = dial * 5.11 / 4.788;
        r[ResultRow::Viscosity] = dial * 5.11 / ((speed + 0.000001) * 1.7023) * 100;
        r[ResultRow::Gel] = speed == 3 ? (dial + 2) * 5.11 / 4.788 : 0;
        r[ResultRow::RotorBob] = 1;
        r[ResultRow::Fann] = dial;
        rows.push_back(r);
    }
    return rows;
}

ReportedTestInfo info()
{
    ReportedTestInfo r;
    r.testName = QStringLiteral("Bench long test");
    r.mudId = QStringLiteral("OBM 14 ppg");
    r.sampleTime = QStringLiteral("2024-03-14 10:30");
    r.companyName = QStringLiteral("Lab");
    r.desc = QStringLiteral("generated");
    return r;
}

constexpr double kValueCellsPerRow = 12; // columns 1..12 of every data row

void BM_DetailExport(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const ResultTable rows = makeTest(n);
    const auto derived = DetailReport::DerivedCells::from(DerivedValues::fromResults(rows, 1));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("detail.xlsx"));
    for (auto _ : state) {
        const WorkbookModel book = DetailReport::build(info(), rows, false, derived);
        QString error;
        if (!XlsxWriter::write(book, path, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.counters["cells/s"] =
        benchmark::Counter(n * kValueCellsPerRow, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_DetailModelOnly(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const ResultTable rows = makeTest(n);
    const auto derived = DetailReport::DerivedCells::from(DerivedValues::fromResults(rows, 1));
    for (auto _ : state)
        benchmark::DoNotOptimize(DetailReport::build(info(), rows, false, derived));
    state.counters["cells/s"] =
        benchmark::Counter(n * kValueCellsPerRow, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BriefAndTextReport(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const ResultTable rows = makeTest(n);
    for (auto _ : state) {
        benchmark::DoNotOptimize(BriefReport::build(info(), rows, false));
        benchmark::DoNotOptimize(TextReport::build(info(), rows, false));
    }
}

} // namespace

BENCHMARK(BM_DetailExport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DetailModelOnly)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BriefAndTextReport)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
