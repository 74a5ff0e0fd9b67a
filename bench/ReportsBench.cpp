// The detailed spreadsheet export at lab scale: building the workbook model of a long test and writing it
// as .xlsx, for 10,000 and 100,000 points. Reports the value cells written per second.
#include "BenchRows.h"

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
    const ResultTable rows = makeLongTest(n);
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
    const ResultTable rows = makeLongTest(n);
    const auto derived = DetailReport::DerivedCells::from(DerivedValues::fromResults(rows, 1));
    for (auto _ : state)
        benchmark::DoNotOptimize(DetailReport::build(info(), rows, false, derived));
    state.counters["cells/s"] =
        benchmark::Counter(n * kValueCellsPerRow, benchmark::Counter::kIsIterationInvariantRate);
}

// Only the writing of a finished workbook: libxlsxwriter's XML and its compression.
void BM_DetailWriteOnly(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const ResultTable rows = makeLongTest(n);
    const auto derived = DetailReport::DerivedCells::from(DerivedValues::fromResults(rows, 1));
    const WorkbookModel book = DetailReport::build(info(), rows, false, derived);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("detail.xlsx"));
    for (auto _ : state) {
        QString error;
        if (!XlsxWriter::write(book, path, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.counters["cells/s"] =
        benchmark::Counter(n * kValueCellsPerRow, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BriefAndTextReport(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const ResultTable rows = makeLongTest(n);
    for (auto _ : state) {
        benchmark::DoNotOptimize(BriefReport::build(info(), rows, false));
        benchmark::DoNotOptimize(TextReport::build(info(), rows, false));
    }
}

} // namespace

BENCHMARK(BM_DetailExport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DetailModelOnly)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetailWriteOnly)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BriefAndTextReport)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
